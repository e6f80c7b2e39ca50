// The text form of the Linux settings file: "[<app>\<section>]" headers and "key=value"
// lines. Names are stored with %HH for the characters that would break the layout (so
// the one bare backslash in a header separates app from section); values use backslash
// escapes (\\, \n, \r, \xHH), so any text round-trips. Names compare without regard to
// ASCII case, as registry names do.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::posix {

class SettingsFile {
public:
    // Lines that cannot be understood are kept as they are and otherwise ignored, and so
    // are entries under a header that cannot be understood.
    static SettingsFile parse(std::string_view text);

    // The first entry of that name in a section of that name.
    std::optional<std::string> get(std::string_view app, std::string_view section, std::string_view key) const;
    // Replaces the value that get() finds; otherwise adds the entry at the end of the
    // first section of that name, or a new section at the end of the file.
    void set(std::string_view app, std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

    static std::string encodeName(std::string_view name);
    static std::optional<std::string> decodeName(std::string_view stored);
    static std::string encodeValue(std::string_view value);
    static std::optional<std::string> decodeValue(std::string_view stored);

private:
    enum class Kind { Other, Header, Entry };
    struct Line {
        std::string raw;
        Kind kind = Kind::Other;
        std::string app;      // of headers
        std::string section;  // of headers
        std::string key;      // of entries
        std::string value;    // of entries
        int header = -1;      // of entries: the line index of their header
    };

    bool headerMatches(const Line& line, std::string_view app, std::string_view section) const;
    std::optional<size_t> findEntry(std::string_view app, std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
};

}  // namespace qm::posix
