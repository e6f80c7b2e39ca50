// The simulated clipboard.
#include "sim/clipboard.h"

#include <algorithm>

#include "core/text/strings.h"
#include "core/text/utf8.h"

namespace qm::sim {
namespace {

namespace cf = platform::cf;
using Kind = platform::ClipboardEntry::Kind;

constexpr uint32_t kFirstRegistered = 0xC000;

Kind pictureKind(int32_t format) {
    switch (format) {
        case cf::kBitmap: return Kind::Bitmap;
        case cf::kMetafilePict: return Kind::MetafilePicture;
        case cf::kPalette: return Kind::Palette;
        case cf::kEnhMetafile: return Kind::EnhMetafile;
        default: return Kind::Memory;
    }
}

std::string upToNul(const std::vector<uint8_t>& bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return std::string(bytes.begin(), end);
}

}  // namespace

std::vector<uint8_t> unicodeTextBytes(const std::string& utf8) {
    std::vector<uint8_t> out;
    for (char16_t u : text::utf8::toUtf16(utf8)) {
        out.push_back(static_cast<uint8_t>(u));
        out.push_back(static_cast<uint8_t>(u >> 8));
    }
    out.insert(out.end(), 2, 0);
    return out;
}

std::string textFromUnicodeBytes(const std::vector<uint8_t>& bytes) {
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto u = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (u == 0) break;
        units.push_back(u);
    }
    return text::utf8::fromUtf16(units);
}

uint32_t SimClipboard::registered(const std::string& name) {
    const auto [it, added] = registered_.try_emplace(
        text::upperAscii(name), Registered{kFirstRegistered + static_cast<uint32_t>(registered_.size()), name});
    return it->second.number;
}

const platform::ClipboardEntry* SimClipboard::find(uint32_t number) const {
    for (const auto& e : entries_) {
        if (e.format == number) return &e;
    }
    return nullptr;
}

void SimClipboard::clear() { entries_.clear(); }

bool SimClipboard::hasFormat(int32_t format) {
    if (format == cf::kText) return find(cf::kText) || find(cf::kUnicodeText);
    if (format == cf::kLink) return find(registered("Link"));
    return find(static_cast<uint32_t>(format));
}

std::optional<platform::Picture> SimClipboard::getPicture(int32_t format) {
    if (format == cf::kLink || format == cf::kText) return std::nullopt;
    const auto* e = find(static_cast<uint32_t>(format));
    if (!e) return std::nullopt;
    return platform::Picture{format, e->bytes};
}

std::optional<std::string> SimClipboard::getText(int32_t format) {
    if (format == cf::kText) {
        if (const auto* unicode = find(cf::kUnicodeText)) return textFromUnicodeBytes(unicode->bytes);
        if (const auto* narrow = find(cf::kText)) return upToNul(narrow->bytes);
        return std::nullopt;
    }
    const auto* e = find(format == cf::kLink ? registered("Link") : static_cast<uint32_t>(format));
    if (!e || e->kind != Kind::Memory) return std::nullopt;
    // Every part up to the final NULs (the link format's parts end in NUL each).
    std::string text(e->bytes.begin(), e->bytes.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

void SimClipboard::setPicture(const platform::Picture& picture, int32_t format) {
    add({static_cast<uint32_t>(format), "", pictureKind(format), picture.bytes});
}

void SimClipboard::setText(const std::string& text, int32_t format) {
    if (format == cf::kText) {
        add({cf::kUnicodeText, "", Kind::Memory, unicodeTextBytes(text)});
        std::vector<uint8_t> narrow(text.begin(), text.end());
        narrow.push_back(0);
        add({cf::kText, "", Kind::Memory, std::move(narrow)});
        return;
    }
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), 2, 0);
    if (format == cf::kLink) add({0, "Link", Kind::Memory, std::move(bytes)});
    else add({static_cast<uint32_t>(format), "", Kind::Memory, std::move(bytes)});
}

std::vector<platform::ClipboardEntry> SimClipboard::copyAll(size_t maxBytes) {
    std::vector<platform::ClipboardEntry> out;
    size_t used = 0;
    for (const auto& e : entries_) {
        if (e.bytes.size() > maxBytes - used) continue;
        used += e.bytes.size();
        out.push_back(e);
    }
    return out;
}

void SimClipboard::replaceAll(const std::vector<platform::ClipboardEntry>& entries) {
    clear();
    for (const auto& e : entries) add(e);
}

void SimClipboard::add(const platform::ClipboardEntry& entry) {
    platform::ClipboardEntry stored = entry;
    if (!stored.name.empty()) stored.format = registered(stored.name);
    if (stored.format >= kFirstRegistered) {
        // A registered number stands for its name (as first registered); one the clipboard
        // never gave out is refused.
        const auto it = std::find_if(registered_.begin(), registered_.end(),
                                     [&](const auto& r) { return r.second.number == stored.format; });
        if (it == registered_.end()) throw platform::PlatformError("no clipboard format " + std::to_string(stored.format));
        stored.name = it->second.name;
    }
    for (auto& e : entries_) {
        if (e.format == stored.format) {
            e = std::move(stored);
            return;
        }
    }
    entries_.push_back(std::move(stored));
}

}  // namespace qm::sim
