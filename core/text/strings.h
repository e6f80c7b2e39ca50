// Small string helpers with the semantics of the classic runtime's string functions
// (UCase, Replace, Split, Left$ ...), on UTF-8 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm::text {

// Upper-cases ASCII letters only; other bytes (UTF-8 sequences) pass unchanged.
std::string upperAscii(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);
// Every occurrence of `from`, scanning left to right, exact case.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
// Split at every `sep`; an empty input gives one empty item, as the classic Split does
// not, so callers that must skip empty items do so themselves.
std::vector<std::string> split(std::string_view s, char sep);
std::string join(const std::vector<std::string>& items, std::string_view sep);
std::string trim(std::string_view s);
// The lines of a text: CR LF, LF and a lone CR each end one; a text ending with a line
// break has an empty last line, and an empty text is one empty line.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace qm::text
