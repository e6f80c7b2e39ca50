// Locale-independent formatting for dumps and SVG.
#include "core/ui/headless/describe.h"

#include <charconv>
#include <cmath>

#include "core/text/utf8.h"
#include "core/ui/ui.h"

namespace qm::ui::headless {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::string hex(uint32_t v, int digits) {
    std::string out(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, v >>= 4) out[static_cast<size_t>(i)] = kHex[v & 0xF];
    return out;
}

}  // namespace

std::string formatNumber(double v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "nan" : (v > 0 ? "inf" : "-inf");
    double rounded = std::round(v * 100) / 100;
    if (rounded == 0) rounded = 0;  // no "-0"
    char buffer[64];
    const bool whole = rounded == std::trunc(rounded);
    const auto result = whole ? std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 0)
                              : std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
    std::string out(buffer, result.ptr);
    if (!whole) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    return out;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    out += "\\x" + hex(static_cast<unsigned char>(c), 2);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
    return out;
}

std::string formatColor(uint32_t color) { return "0x" + hex(color, 8); }

std::string cssColor(uint32_t color) {
    if (color & 0x80000000u) {
        switch (color) {
            case kColorWindow: return "#FFFFFF";
            case kColorButtonFace: return "#D4D0C8";
            case kColorButtonShadow: return "#808080";
            case kColorButtonText: return "#000000";
            default: return "#C0C0C0";
        }
    }
    const uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return "#" + hex(r, 2) + hex(g, 2) + hex(b, 2);
}

std::string base64(const std::vector<uint8_t>& bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) out.push_back(kAlphabet[(v >> shift) & 0x3F]);
    }
    if (const size_t rest = bytes.size() - i; rest > 0) {
        const uint32_t v = (uint32_t{bytes[i]} << 16) | (rest == 2 ? uint32_t{bytes[i + 1]} << 8 : 0);
        out.push_back(kAlphabet[(v >> 18) & 0x3F]);
        out.push_back(kAlphabet[(v >> 12) & 0x3F]);
        out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 0x3F] : '=');
        out.push_back('=');
    }
    return out;
}

std::string xmlText(std::string_view text) {
    std::string out;
    for (char32_t cp : qm::text::utf8::decode(text)) {
        switch (cp) {
            case U'&': out += "&amp;"; break;
            case U'<': out += "&lt;"; break;
            case U'>': out += "&gt;"; break;
            case U'"': out += "&quot;"; break;
            case U'\'': out += "&apos;"; break;
            default:
                if (cp < 0x20 && cp != U'\t') break;
                if (cp == 0xFFFE || cp == 0xFFFF) break;
                qm::text::utf8::append(out, cp);
        }
    }
    return out;
}

std::string attr(const char* name, double v) { return std::string(" ") + name + "=\"" + formatNumber(v) + "\""; }

std::string attr(const char* name, std::string_view v) { return std::string(" ") + name + "=\"" + xmlText(v) + "\""; }

}  // namespace qm::ui::headless
