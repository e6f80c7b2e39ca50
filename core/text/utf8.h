// UTF-8 and UTF-16 conversions that never fail: malformed input becomes U+FFFD, so text
// boxes can count characters and pictures and SVG files get only well-formed text.
#pragma once

#include <string>
#include <string_view>

namespace qm::text::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// The code points of `text`; each byte that starts no well-formed sequence (overlong forms,
// surrogates and values past U+10FFFF included) becomes U+FFFD.
std::u32string decode(std::string_view text);

void append(std::string& out, char32_t cp);
std::string encode(std::u32string_view cps);

// UTF-16 code units (surrogate pairs above U+FFFF), for Windows text in files.
std::u16string toUtf16(std::string_view text);
// And back; a lone surrogate becomes U+FFFD.
std::string fromUtf16(std::u16string_view units);

}  // namespace qm::text::utf8
