// Deterministic text metrics of the headless toolkit, so that layouts computed from text
// sizes come out the same on every machine: an ASCII character is 0.55 em wide, any other
// character 1 em, and a line is 1.2 em high (1 em = the font size in points x 20 twips).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ui/ui.h"

namespace qm::ui::headless {

inline constexpr double kTwipsPerPoint = 20;
inline constexpr double kAsciiWidthEm = 0.55;
inline constexpr double kOtherWidthEm = 1.0;
inline constexpr double kLineHeightEm = 1.2;

// Width of the widest line, in twips.
double textWidthTwips(const Font& font, std::string_view text);
// Height of all the lines (one at least), in twips.
double textHeightTwips(const Font& font, std::string_view text);

}  // namespace qm::ui::headless
