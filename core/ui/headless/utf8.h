// UTF-8 helpers of the headless toolkit: text boxes count characters rather than bytes, as
// the real edit control does, and the SVG writer must only ever write well-formed text.
#pragma once

#include <string>
#include <string_view>

namespace qm::ui::headless::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// The code points of `text`; each byte that starts no well-formed sequence (overlong forms,
// surrogates and values past U+10FFFF included) becomes U+FFFD.
std::u32string decode(std::string_view text);

void append(std::string& out, char32_t cp);
std::string encode(std::u32string_view cps);

}  // namespace qm::ui::headless::utf8
