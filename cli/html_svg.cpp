// SVG drawing for the runner's HTML page.
#include "cli/html_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/picture/png.h"
#include "core/text/strings.h"
#include "core/text/utf8.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/metrics.h"

namespace qm::cli::html {
namespace {

using ui::headless::attr;
using ui::headless::xmlText;

std::string textAttributes(double x, double y, const TextStyle& style) {
    std::string a = attr("x", x) + attr("y", y) + attr("font-family", style.family) + attr("font-size", style.size) +
                    attr("fill", style.color);
    if (style.bold) a += " font-weight=\"bold\"";
    if (style.italic) a += " font-style=\"italic\"";
    if (style.anchor == Anchor::Middle) a += " text-anchor=\"middle\"";
    if (style.anchor == Anchor::End) a += " text-anchor=\"end\"";
    return a;
}

std::string squeeze(std::string_view shown, const TextStyle& style, double maxWidth) {
    if (maxWidth <= 0 || textWidth(shown, style.size) <= maxWidth) return {};
    return attr("textLength", std::max(1.0, maxWidth)) + " lengthAdjust=\"spacingAndGlyphs\"";
}

}  // namespace

double textWidth(std::string_view text, double size) {
    // Advance widths of Arial (whose metrics Liberation Sans shares) for printable ASCII,
    // in thousandths of an em.
    static constexpr uint16_t kAscii[95] = {
        278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,   // space to /
        556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,   // 0 to ?
        1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @ to O
        667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,   // P to _
        333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,   // ` to o
        556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};       // p to ~
    double em = 0, widest = 0;
    for (char32_t cp : qm::text::utf8::decode(text)) {
        if (cp == U'\n') {
            widest = std::max(widest, em);
            em = 0;
        } else if (cp >= 0x20 && cp < 0x7F) {
            em += kAscii[cp - 0x20] / 1000.0;
        } else {
            // Kana, kanji and full-width forms take a whole em; other letters about as
            // much as a wide Latin one.
            em += cp >= 0x2E80 ? 1.0 : 0.6;
        }
    }
    return std::max(widest, em) * size;
}

Caption parseCaption(std::string_view caption) {
    Caption c;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            c.text.push_back(caption[i]);
            continue;
        }
        if (i + 1 >= caption.size()) break;
        if (caption[i + 1] == '&') {
            c.text.push_back('&');
            ++i;
            continue;
        }
        if (c.keyStart == std::string::npos) {
            // The whole UTF-8 sequence of the next character.
            size_t length = 1;
            while (i + 1 + length < caption.size() && (static_cast<unsigned char>(caption[i + 1 + length]) & 0xC0) == 0x80) {
                ++length;
            }
            c.keyStart = c.text.size();
            c.keyLength = length;
        }
    }
    return c;
}

std::string num(double v) { return ui::headless::formatNumber(v); }

Svg::Svg(double width, double height) : width_(std::max(1.0, std::ceil(width))), height_(std::max(1.0, std::ceil(height))) {}

void Svg::rect(double x, double y, double w, double h, std::string_view fill) {
    if (w <= 0 || h <= 0) return;
    body_ += "<rect" + attr("x", x) + attr("y", y) + attr("width", w) + attr("height", h) + attr("fill", fill) + "/>";
}

void Svg::frame(double x, double y, double w, double h, std::string_view color) {
    rect(x, y, w, 1, color);
    rect(x, y + h - 1, w, 1, color);
    rect(x, y, 1, h, color);
    rect(x + w - 1, y, 1, h, color);
}

void Svg::line(double x1, double y1, double x2, double y2, std::string_view color, double width) {
    body_ += "<line" + attr("x1", x1) + attr("y1", y1) + attr("x2", x2) + attr("y2", y2) + attr("stroke", color) +
             attr("stroke-width", width) + "/>";
}

void Svg::polygon(const std::vector<std::pair<double, double>>& points, std::string_view fill) {
    std::string list;
    for (const auto& [x, y] : points) list += (list.empty() ? "" : " ") + num(x) + "," + num(y);
    body_ += "<polygon" + attr("points", list) + attr("fill", fill) + "/>";
}

void Svg::ellipse(double cx, double cy, double rx, double ry, std::string_view fill, std::string_view stroke) {
    body_ += "<ellipse" + attr("cx", cx) + attr("cy", cy) + attr("rx", rx) + attr("ry", ry) + attr("fill", fill);
    if (!stroke.empty()) body_ += attr("stroke", stroke);
    body_ += "/>";
}

void Svg::text(double x, double y, std::string_view shown, const TextStyle& style, double maxWidth) {
    if (shown.empty()) return;
    body_ += "<text" + textAttributes(x, y, style) + squeeze(shown, style, maxWidth) + " xml:space=\"preserve\">" +
             xmlText(shown) + "</text>";
}

void Svg::caption(double x, double y, std::string_view captionText, const TextStyle& style, double maxWidth) {
    const Caption c = parseCaption(captionText);
    if (c.keyStart == std::string::npos) return text(x, y, c.text, style, maxWidth);
    const std::string_view shown = c.text;
    body_ += "<text" + textAttributes(x, y, style) + squeeze(shown, style, maxWidth) + " xml:space=\"preserve\">" +
             xmlText(shown.substr(0, c.keyStart)) + "<tspan text-decoration=\"underline\">" +
             xmlText(shown.substr(c.keyStart, c.keyLength)) + "</tspan>" +
             xmlText(shown.substr(c.keyStart + c.keyLength)) + "</text>";
}

void Svg::raised(double x, double y, double w, double h, bool thin) {
    rect(x, y, w, 1, kLight);
    rect(x, y, 1, h, kLight);
    rect(x, y + h - 1, w, 1, thin ? kShadow : kDarkShadow);
    rect(x + w - 1, y, 1, h, thin ? kShadow : kDarkShadow);
    if (thin) return;
    rect(x + 1, y + h - 2, w - 2, 1, kShadow);
    rect(x + w - 2, y + 1, 1, h - 2, kShadow);
}

void Svg::sunken(double x, double y, double w, double h, bool thin) {
    rect(x, y, w, 1, kShadow);
    rect(x, y, 1, h, kShadow);
    rect(x, y + h - 1, w, 1, kLight);
    rect(x + w - 1, y, 1, h, kLight);
    if (thin) return;
    rect(x + 1, y + 1, w - 2, 1, kDarkShadow);
    rect(x + 1, y + 1, 1, h - 2, kDarkShadow);
    rect(x + 1, y + h - 2, w - 2, 1, kFace);
    rect(x + w - 2, y + 1, 1, h - 2, kFace);
}

void Svg::etched(double x, double y, double w, double h) {
    frame(x + 1, y + 1, w - 1, h - 1, kLight);
    frame(x, y, w - 1, h - 1, kShadow);
}

void Svg::image(double x, double y, double w, double h, const std::string& dataUri) {
    body_ += "<image" + attr("x", x) + attr("y", y) + attr("width", w) + attr("height", h) +
             " preserveAspectRatio=\"none\" href=\"" + dataUri + "\"/>";
}

void Svg::begin(double dx, double dy, double w, double h) {
    if (w >= 0 && h >= 0) {
        // A nested viewport clips what is drawn inside it, without an id to refer to.
        body_ += "<svg" + attr("x", dx) + attr("y", dy) + attr("width", w) + attr("height", h) + " overflow=\"hidden\">";
        closers_.push_back("</svg>");
    } else {
        body_ += "<g transform=\"translate(" + num(dx) + " " + num(dy) + ")\">";
        closers_.push_back("</g>");
    }
}

void Svg::end() {
    if (closers_.empty()) return;
    body_ += closers_.back();
    closers_.pop_back();
}

void Svg::group(std::string_view attributes) {
    body_ += "<g";
    body_ += attributes;
    body_ += ">";
    closers_.push_back("</g>");
}

void Svg::beginTitle(std::string_view title) {
    group({});
    body_ += "<title>" + xmlText(title) + "</title>";
}

std::string Svg::str(std::string_view label) const {
    std::string out = "<svg" + attr("width", width_) + attr("height", height_) + " viewBox=\"0 0 " + num(width_) + " " +
                      num(height_) + "\" role=\"img\"" + attr("aria-label", label) + " shape-rendering=\"crispEdges\">";
    out += body_;
    for (auto it = closers_.rbegin(); it != closers_.rend(); ++it) out += *it;
    out += "</svg>";
    return out;
}

Picture Svg::picture(std::string caption) const {
    std::string svg = str(caption);
    return {std::move(svg), width_, height_, std::move(caption)};
}

void captionBar(Svg& svg, double x, double y, double w, double h, std::string_view title, bool allButtons,
                double indent) {
    constexpr int kBands = 32;
    for (int i = 0; i < kBands; ++i) {
        const double t = static_cast<double>(i) / (kBands - 1);
        const auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t); };
        char color[8];
        std::snprintf(color, sizeof color, "#%02X%02X%02X", mix(0x0A, 0xA6), mix(0x24, 0xCA), mix(0x6A, 0xF0));
        svg.rect(x + w * i / kBands, y, w / kBands + 1, h, color);
    }
    const double box = std::min(14.0, h - 4), boxWidth = box + 2;
    TextStyle titleStyle;
    titleStyle.color = "#FFFFFF";
    titleStyle.bold = true;
    titleStyle.size = h >= 20 ? 12 : 11;
    const double buttons = (allButtons ? 3 : 1) * (boxWidth + 2) + 4;
    svg.text(x + indent, y + h / 2 + titleStyle.size * 0.36, title, titleStyle, w - indent - buttons);
    for (int i = allButtons ? 0 : 2; i < 3; ++i) {
        const double bx = x + w - 2 - (3 - i) * (boxWidth + 2) + (i == 2 ? 2 : 0), by = y + (h - box) / 2;
        svg.rect(bx, by, boxWidth, box, kFace);
        svg.raised(bx, by, boxWidth, box, true);
        const double cx = bx + boxWidth / 2, cy = by + box / 2;
        if (i == 0) svg.rect(cx - 4, cy + 2, 7, 2, kText);
        if (i == 1) {
            svg.frame(cx - 4, cy - 4, 9, 8, kText);
            svg.rect(cx - 4, cy - 3, 9, 1, kText);
        }
        if (i == 2) {
            svg.line(cx - 3.5, cy - 3, cx + 3.5, cy + 3, kText, 1.5);
            svg.line(cx + 3.5, cy - 3, cx - 3.5, cy + 3, kText, 1.5);
        }
    }
}

std::vector<std::string> wrapText(std::string_view text, double size, double maxWidth) {
    std::vector<std::string> out;
    for (const std::string& line : qm::text::splitLines(text)) {
        std::string current;
        size_t lastBlank = std::string::npos;  // in current
        size_t i = 0;
        while (i < line.size()) {
            size_t length = 1;
            while (i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80) ++length;
            const std::string character = line.substr(i, length);
            i += length;
            if (!current.empty() && textWidth(current + character, size) > maxWidth && character != " ") {
                if (lastBlank != std::string::npos) {
                    out.push_back(current.substr(0, lastBlank));
                    current = current.substr(lastBlank + 1);
                } else {
                    out.push_back(current);
                    current.clear();
                }
                lastBlank = std::string::npos;
            }
            if (character == " ") lastBlank = current.size();
            current += character;
        }
        out.push_back(current);
    }
    return out;
}

std::string pngDataUri(const picture::Image& image, std::optional<uint32_t> transparent) {
    return "data:image/png;base64," + ui::headless::base64(picture::encodePng(image, transparent));
}

std::string svgDataUri(std::string_view svgDocument) {
    return "data:image/svg+xml;base64," +
           ui::headless::base64(std::vector<uint8_t>(svgDocument.begin(), svgDocument.end()));
}

}  // namespace qm::cli::html
