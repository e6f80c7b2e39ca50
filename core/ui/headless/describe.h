// Formatting shared by the window dump and the SVG writer: numbers, quoted strings and
// colours, written the same way whatever the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

}  // namespace qm::ui::headless
