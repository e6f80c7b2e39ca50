// The read-only automation protocol of the add-in's windows: names as window properties,
// descriptions as escaped tab-separated records.
#include "win32/ui/automation.h"

#include <charconv>
#include <cstring>

namespace qm::win32::ui::automation {

namespace {

void appendEscaped(std::string& out, std::string_view field) {
    for (char c : field) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out.push_back(c);
        }
    }
}

}  // namespace

Writer& Writer::record(std::string_view key) {
    if (!out_.empty()) out_.push_back('\n');
    appendEscaped(out_, key);
    return *this;
}

Writer& Writer::text(std::string_view field) {
    out_.push_back('\t');
    appendEscaped(out_, field);
    return *this;
}

Writer& Writer::number(double v) { return text(formatNumber(v)); }

Writer& Writer::integer(long long v) { return text(std::to_string(v)); }

std::string formatNumber(double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::optional<double> parseNumber(std::string_view field) {
    double v = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), v);
    if (result.ec != std::errc() || result.ptr != field.data() + field.size()) return std::nullopt;
    return v;
}

std::vector<Record> parse(std::string_view description) {
    std::vector<Record> records;
    Record current(1);
    bool escaped = false;
    for (char c : description) {
        if (escaped) {
            escaped = false;
            current.back().push_back(c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c);
        } else if (c == '\\') {
            escaped = true;
        } else if (c == '\t') {
            current.emplace_back();
        } else if (c == '\n') {
            records.push_back(std::move(current));
            current = Record(1);
        } else {
            current.back().push_back(c);
        }
    }
    if (current.size() > 1 || !current.front().empty()) records.push_back(std::move(current));
    return records;
}

void setName(HWND hwnd, const std::string& name) noexcept {
    if (!hwnd || name.empty()) return;
    try {
        clearName(hwnd);
        const ATOM atom = ::GlobalAddAtomW(toUtf16(name).c_str());
        if (atom && !::SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)))) {
            ::GlobalDeleteAtom(atom);
        }
    } catch (...) {
        // A window without a name is still a working window.
    }
}

void clearName(HWND hwnd) noexcept {
    if (!hwnd) return;
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::RemovePropW(hwnd, kNameProperty)));
    if (atom) ::GlobalDeleteAtom(atom);
}

LRESULT answer(const std::string& description, WPARAM capacity, LPARAM buffer) noexcept {
    if (buffer && capacity > 0) {
        const size_t n = std::min(static_cast<size_t>(capacity) - 1, description.size());
        char* out = reinterpret_cast<char*>(buffer);
        std::memcpy(out, description.data(), n);
        out[n] = '\0';
    }
    return static_cast<LRESULT>(description.size());
}

std::string nameOf(HWND hwnd) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(::GetPropW(hwnd, kNameProperty)));
    if (!atom) return {};
    wchar_t name[256] = {};
    const UINT n = ::GlobalGetAtomNameW(atom, name, 256);
    return toUtf8(std::wstring_view(name, n));
}

std::optional<std::vector<Record>> describe(HWND hwnd, UINT message) {
    const auto length = static_cast<size_t>(::SendMessageW(hwnd, message, 0, 0));
    if (length == 0) return std::nullopt;
    std::string text(length + 1, '\0');
    // A description that grew in between is cut to the length first given.
    ::SendMessageW(hwnd, message, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return parse(text);
}

}  // namespace qm::win32::ui::automation
