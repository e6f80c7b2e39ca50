// Parsing, changing and writing the Linux settings file.
#include "posix/settings_file.h"

#include <cstdint>

#include "core/text/strings.h"

namespace qm::posix {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte of two hex digits at `s[at]`, or nothing.
std::optional<char> hexByte(std::string_view s, size_t at) {
    if (at + 2 > s.size()) return std::nullopt;
    int high = hexDigit(s[at]), low = hexDigit(s[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    return static_cast<char>(high * 16 + low);
}

void appendHex(std::string& out, std::string_view lead, unsigned char byte) {
    out += lead;
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

std::string_view stripLineEnd(std::string_view line) {
    // Files edited on Windows end their lines in CR LF; a CR inside a value is escaped.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

std::string SettingsFile::encodeName(std::string_view name) {
    std::string out;
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%' || c == '\\' || c == '=' || c == '[' || c == ']' || c == ';' ||
            c == '#')
            appendHex(out, "%", byte);
        else
            out += c;
    }
    return out;
}

std::optional<std::string> SettingsFile::decodeName(std::string_view stored) {
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] != '%') {
            out += stored[i];
            continue;
        }
        auto byte = hexByte(stored, i + 1);
        if (!byte) return std::nullopt;
        out += *byte;
        i += 2;
    }
    return out;
}

std::string SettingsFile::encodeValue(std::string_view value) {
    std::string out;
    for (char c : value) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if ((byte < 0x20 && c != '\t') || byte == 0x7F) appendHex(out, "\\x", byte);
        else out += c;
    }
    return out;
}

std::optional<std::string> SettingsFile::decodeValue(std::string_view stored) {
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] != '\\') {
            out += stored[i];
            continue;
        }
        if (++i == stored.size()) return std::nullopt;
        switch (stored[i]) {
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 'x': {
                auto byte = hexByte(stored, i + 1);
                if (!byte) return std::nullopt;
                out += *byte;
                i += 2;
                break;
            }
            default: return std::nullopt;
        }
    }
    return out;
}

SettingsFile SettingsFile::parse(std::string_view text) {
    SettingsFile file;
    int header = -1;  // the section the next entries belong to; -1 before any or after a bad one
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        Line line;
        line.raw = std::string(raw);
        std::string_view content = stripLineEnd(raw);
        if (content.empty() || content.front() == ';' || content.front() == '#') {
            file.lines_.push_back(std::move(line));
            continue;
        }
        if (content.front() == '[') {
            header = -1;
            size_t separator = content.find('\\');
            if (content.back() == ']' && separator != std::string_view::npos &&
                content.find('\\', separator + 1) == std::string_view::npos) {
                auto app = decodeName(content.substr(1, separator - 1));
                auto section = decodeName(content.substr(separator + 1, content.size() - separator - 2));
                if (app && section) {
                    line.kind = Kind::Header;
                    line.app = std::move(*app);
                    line.section = std::move(*section);
                    header = static_cast<int>(file.lines_.size());
                }
            }
            file.lines_.push_back(std::move(line));
            continue;
        }
        size_t equals = content.find('=');
        if (header >= 0 && equals != std::string_view::npos) {
            auto key = decodeName(content.substr(0, equals));
            auto value = decodeValue(content.substr(equals + 1));
            if (key && value) {
                line.kind = Kind::Entry;
                line.key = std::move(*key);
                line.value = std::move(*value);
                line.header = header;
            }
        }
        file.lines_.push_back(std::move(line));
    }
    return file;
}

bool SettingsFile::headerMatches(const Line& line, std::string_view app, std::string_view section) const {
    return line.kind == Kind::Header && text::equalsIgnoreCase(line.app, app) &&
           text::equalsIgnoreCase(line.section, section);
}

std::optional<size_t> SettingsFile::findEntry(std::string_view app, std::string_view section,
                                              std::string_view key) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Entry && text::equalsIgnoreCase(line.key, key) &&
            headerMatches(lines_[static_cast<size_t>(line.header)], app, section))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> SettingsFile::get(std::string_view app, std::string_view section,
                                             std::string_view key) const {
    if (auto at = findEntry(app, section, key)) return lines_[*at].value;
    return std::nullopt;
}

void SettingsFile::set(std::string_view app, std::string_view section, std::string_view key, std::string_view value) {
    Line entry;
    entry.kind = Kind::Entry;
    entry.key = std::string(key);
    entry.value = std::string(value);
    entry.raw = encodeName(key) + "=" + encodeValue(value);

    if (auto at = findEntry(app, section, key)) {
        const Line& old = lines_[*at];
        entry.key = old.key;  // keep the spelling the file has, and its line ending
        entry.raw = encodeName(entry.key) + "=" + encodeValue(value);
        if (!old.raw.empty() && old.raw.back() == '\r') entry.raw += '\r';
        entry.header = lines_[*at].header;
        lines_[*at] = std::move(entry);
        return;
    }
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (!headerMatches(lines_[h], app, section)) continue;
        // After the section's last entry, so blank lines before the next header stay there.
        size_t insertAt = h + 1;
        for (size_t i = h + 1; i < lines_.size() && lines_[i].raw.rfind('[', 0) != 0; ++i)
            if (lines_[i].kind == Kind::Entry) insertAt = i + 1;
        entry.header = static_cast<int>(h);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
        for (size_t i = insertAt + 1; i < lines_.size(); ++i)
            if (lines_[i].header >= static_cast<int>(insertAt)) ++lines_[i].header;
        return;
    }
    if (!lines_.empty() && !stripLineEnd(lines_.back().raw).empty()) lines_.push_back(Line{});
    Line header;
    header.kind = Kind::Header;
    header.app = std::string(app);
    header.section = std::string(section);
    header.raw = "[" + encodeName(app) + "\\" + encodeName(section) + "]";
    lines_.push_back(std::move(header));
    entry.header = static_cast<int>(lines_.size() - 1);
    lines_.push_back(std::move(entry));
}

std::string SettingsFile::text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.raw;
        out += '\n';
    }
    return out;
}

}  // namespace qm::posix
