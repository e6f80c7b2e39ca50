// Number <-> text conversions with the classic runtime's rules: the lenient Val, the
// strict CLng and CBool of a text, and the Format patterns the windows use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm::text {

// Lenient number: skips leading blanks, reads an optional sign and a number with a
// period as decimal separator (and an optional exponent) up to the first character that
// does not fit, or "&H" hexadecimal / "&O" octal; a text with no readable number is 0.
double val(std::string_view text);
// The same, or nothing when the number does not fit in a double (400 digits, "1e999")
// or in the 32 bits of a "&H" / "&O" text: such a text is as illegal as any other.
std::optional<double> tryVal(std::string_view text);

// Strict 32-bit integer: the whole text (blanks around it allowed) must be a decimal
// number, rounded half to even, or "&H" / "&O" text. Host error 13 when it is not a
// number, 6 when it does not fit.
int32_t toLong(std::string_view text);

// Strict Boolean: "True" / "False" in any case, or a number (0 is False). Host error 13
// otherwise.
bool toBool(std::string_view text);

// "True" or "False".
std::string boolText(bool value);

// Shortest decimal text that reads back as the same double, with "." as the separator
// whatever the locale, and no trailing ".0" (1.0 -> "1", 2.5 -> "2.5").
std::string shortestText(double value);

// Fixed decimals ("0.00" is decimals = 2, "0" is 0); never "-0".
std::string fixedText(double value, int decimals);

// Zero-filled integer of at least `width` digits ("00000", "000").
std::string zeroPadded(int64_t value, int width);

// Rounds half to even to a 32-bit integer, as CLng does; host error 6 on overflow.
int32_t roundToLong(double value);

}  // namespace qm::text
