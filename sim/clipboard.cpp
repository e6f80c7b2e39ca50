// The simulated clipboard.
#include "sim/clipboard.h"

namespace qm::sim {

void SimClipboard::clear() { data_.clear(); }

bool SimClipboard::hasFormat(int32_t format) { return data_.count(format) != 0; }

std::optional<platform::Picture> SimClipboard::getPicture(int32_t format) {
    const auto it = data_.find(format);
    if (it == data_.end()) return std::nullopt;
    if (const auto* p = std::get_if<platform::Picture>(&it->second)) return *p;
    return std::nullopt;
}

std::optional<std::string> SimClipboard::getText(int32_t format) {
    const auto it = data_.find(format);
    if (it == data_.end()) return std::nullopt;
    if (const auto* t = std::get_if<std::string>(&it->second)) return *t;
    return std::nullopt;
}

void SimClipboard::setPicture(const platform::Picture& picture, int32_t format) {
    platform::Picture stored = picture;
    stored.format = format;
    data_[format] = std::move(stored);
}

void SimClipboard::setText(const std::string& text, int32_t format) { data_[format] = text; }

std::vector<int32_t> SimClipboard::formats() const {
    std::vector<int32_t> out;
    for (const auto& [format, value] : data_) out.push_back(format);
    return out;
}

}  // namespace qm::sim
