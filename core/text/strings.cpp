// String helpers.
#include "core/text/strings.h"

namespace qm::text {

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upperAscii(a) == upperAscii(b);
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        out.append(s.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(s.substr(pos));
    return out;
}

std::vector<std::string> split(std::string_view s, char sep) {
    std::vector<std::string> out;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(sep, pos)) != std::string_view::npos; pos = hit + 1) {
        out.emplace_back(s.substr(pos, hit - pos));
    }
    out.emplace_back(s.substr(pos));
    return out;
}

std::string join(const std::vector<std::string>& items, std::string_view sep) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out.append(sep);
        out.append(items[i]);
    }
    return out;
}

std::string trim(std::string_view s) {
    const char* ws = " \t\r\n";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(ws);
    return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

}  // namespace qm::text
