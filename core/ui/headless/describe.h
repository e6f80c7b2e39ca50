// Formatting shared by the window dump and the SVG writer: numbers, quoted strings and
// colours, written the same way whatever the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::ui::headless {

// A number as an integer when it is one, otherwise with at most two decimals ("12.5").
std::string formatNumber(double v);

// A string in double quotes with \" \\ \r \n \t and \xNN escapes for control characters.
std::string quoted(std::string_view text);

// A colour as written in the dump: "0x00BBGGRR" (system colours keep their high bit).
std::string formatColor(uint32_t color);

// The RGB a colour shows as, "#RRGGBB"; system colours as the classic Windows scheme
// paints them.
std::string cssColor(uint32_t color);

// Bytes in base64, as data: addresses carry them.
std::string base64(const std::vector<uint8_t>& bytes);

// Text for XML character data and attribute values: the five special characters escaped,
// malformed UTF-8 replaced, and control characters XML does not allow left out.
std::string xmlText(std::string_view text);

// An XML attribute with its leading blank: ` name="value"`, a number as formatNumber
// writes it, a text as xmlText escapes it.
std::string attr(const char* name, double v);
std::string attr(const char* name, std::string_view v);

}  // namespace qm::ui::headless
