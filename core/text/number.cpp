// Number <-> text conversions.
#include "core/text/number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "core/host/error.h"
#include "core/text/strings.h"

namespace qm::text {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> digitValue(char c, int radix) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    if (v < 0 || v >= radix) return std::nullopt;
    return v;
}

// "&H..." / "&O..." starting at s[0] == '&'. Up to 16 bits of digits make a 16-bit
// signed value and up to 32 bits a 32-bit one, as the classic literals do. Returns the
// value and the number of characters used, or nothing when no digit follows.
std::optional<std::pair<double, size_t>> radixNumber(std::string_view s) {
    if (s.size() < 3 || s[0] != '&') return std::nullopt;
    const char kind = static_cast<char>(s[1] | 0x20);
    const int radix = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (!radix) return std::nullopt;
    uint64_t value = 0;
    size_t i = 2;
    for (; i < s.size(); ++i) {
        auto d = digitValue(s[i], radix);
        if (!d) break;
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(*d);
        if (value > 0xFFFFFFFFull) host::raise(host::err::kOverflow);
    }
    if (i == 2) return std::nullopt;
    double result;
    if (value <= 0xFFFF) result = static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
    else result = static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
    return std::make_pair(result, i);
}

// The longest prefix of `s` that is a decimal number: sign, digits, ".", digits,
// exponent. Returns the value and its length, or nothing when no digit was read.
std::optional<std::pair<double, size_t>> decimalPrefix(std::string_view s) {
    size_t i = 0;
    std::string text;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) text.push_back(s[i++]);
    bool digits = false;
    while (i < s.size() && isDigit(s[i])) { text.push_back(s[i++]); digits = true; }
    if (i < s.size() && s[i] == '.') {
        text.push_back(s[i++]);
        while (i < s.size() && isDigit(s[i])) { text.push_back(s[i++]); digits = true; }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
        size_t expDigits = 0;
        while (j < s.size() && isDigit(s[j])) { exp.push_back(s[j++]); ++expDigits; }
        if (expDigits) { text += exp; i = j; }
    }
    // strtod on a text we built ourselves: only digits, sign, "." and "e", so the
    // C locale's decimal point is the only one that can matter; from_chars avoids it.
    double value = 0;
    const char* first = text.data();
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) host::raise(host::err::kOverflow);
    (void)ptr;
    return std::make_pair(value, i);
}

size_t skipBlanks(std::string_view s, size_t i = 0) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
    return i;
}

// The whole text as a number (blanks around it allowed), or nothing.
std::optional<double> wholeNumber(std::string_view text) {
    size_t i = skipBlanks(text);
    std::string_view rest = text.substr(i);
    std::optional<std::pair<double, size_t>> n =
        !rest.empty() && rest[0] == '&' ? radixNumber(rest) : decimalPrefix(rest);
    if (!n) return std::nullopt;
    if (skipBlanks(rest, n->second) != rest.size()) return std::nullopt;
    return n->first;
}

}  // namespace

double val(std::string_view text) {
    std::string_view rest = text.substr(skipBlanks(text));
    if (!rest.empty() && rest[0] == '&') {
        auto n = radixNumber(rest);
        return n ? n->first : 0.0;
    }
    auto n = decimalPrefix(rest);
    return n ? n->first : 0.0;
}

std::optional<double> tryVal(std::string_view text) {
    try {
        return val(text);
    } catch (const host::HostError&) {
        return std::nullopt;  // overflow
    }
}

int32_t roundToLong(double value) {
    if (!std::isfinite(value)) host::raise(host::err::kOverflow);
    const double r = std::nearbyint(value);  // default rounding mode: half to even
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<int32_t>::max())) {
        host::raise(host::err::kOverflow);
    }
    return static_cast<int32_t>(r);
}

int32_t toLong(std::string_view text) {
    auto n = wholeNumber(text);
    if (!n) host::raise(host::err::kTypeMismatch);
    return roundToLong(*n);
}

bool toBool(std::string_view text) {
    const std::string t = trim(text);
    if (equalsIgnoreCase(t, "True")) return true;
    if (equalsIgnoreCase(t, "False")) return false;
    auto n = wholeNumber(t);
    if (!n) host::raise(host::err::kTypeMismatch);
    return *n != 0.0;
}

std::string boolText(bool value) { return value ? "True" : "False"; }

std::string shortestText(double value) {
    if (value == 0.0) return "0";
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    return std::string(buf, ptr);
}

std::string fixedText(double value, int decimals) {
    char buf[400];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return shortestText(value);
    std::string out(buf, ptr);
    if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
    return out;
}

std::string zeroPadded(int64_t value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

}  // namespace qm::text
