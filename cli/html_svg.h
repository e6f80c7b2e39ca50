// Drawing for the runner's HTML page: an SVG picture built from the few things the classic
// Windows look is made of (flat rectangles, 3-D edges, text with an underlined access key,
// embedded images), in pixels. Pictures use no ids and load nothing: each can be inlined in
// the page as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/picture/bmp.h"

namespace qm::cli::html {

// The classic Windows scheme (Windows 2000, and XP with the classic look).
inline constexpr const char* kFace = "#D4D0C8";
inline constexpr const char* kLight = "#FFFFFF";
inline constexpr const char* kShadow = "#808080";
inline constexpr const char* kDarkShadow = "#404040";
inline constexpr const char* kText = "#000000";
inline constexpr const char* kGrayText = "#808080";
inline constexpr const char* kHighlight = "#0A246A";
inline constexpr const char* kWindow = "#FFFFFF";
// The fonts of menus and toolbars (Tahoma, MS UI Gothic on a Japanese system) and, where
// they are missing, fonts of the same size that a Linux browser has.
inline constexpr const char* kUiFont = "Tahoma, 'MS UI Gothic', 'Liberation Sans', Arial, 'IPAPGothic', sans-serif";

// Pictures are at most as wide as the page's column of text, in pixels.
inline constexpr double kPageContentWidth = 1036;

struct Size {
    double width = 0;
    double height = 0;
};

// One picture of the page: an <svg> element, its size in pixels and a line to go under it.
struct Picture {
    std::string svg;
    double width = 0;
    double height = 0;
    std::string caption;
};

enum class Anchor { Start, Middle, End };

struct TextStyle {
    double size = 11;  // pixels
    std::string color = kText;
    bool bold = false;
    bool italic = false;
    Anchor anchor = Anchor::Start;
    std::string family = kUiFont;
};

// About how wide a text is drawn, in pixels at `size`: Arial's widths for ASCII, an em for
// kana, kanji and full-width forms. Layouts here are computed from it, and a text that
// would not fit its room is squeezed into it.
double textWidth(std::string_view text, double size);

// A caption as shown: "&&" is one ampersand, a single "&" marks the next character as the
// access key (underlined) and is not shown.
struct Caption {
    std::string text;
    size_t keyStart = std::string::npos;  // bytes of the access key within text
    size_t keyLength = 0;
};
Caption parseCaption(std::string_view caption);

// A number for SVG and CSS ("12.5").
std::string num(double v);

class Svg {
public:
    Svg(double width, double height);
    double width() const { return width_; }
    double height() const { return height_; }

    void rect(double x, double y, double w, double h, std::string_view fill);
    void frame(double x, double y, double w, double h, std::string_view color);  // a 1-pixel outline inside the box
    void line(double x1, double y1, double x2, double y2, std::string_view color, double width = 1);
    void polygon(const std::vector<std::pair<double, double>>& points, std::string_view fill);
    void ellipse(double cx, double cy, double rx, double ry, std::string_view fill, std::string_view stroke = {});
    // Text whose baseline starts at (x, y). When it would be wider than maxWidth (0: no
    // limit), it is squeezed to fit.
    void text(double x, double y, std::string_view text, const TextStyle& style, double maxWidth = 0);
    // A caption with its access key underlined.
    void caption(double x, double y, std::string_view caption, const TextStyle& style, double maxWidth = 0);
    // The 3-D edges of a button (raised), a text box (sunken) and a frame (etched), two
    // pixels inside the box (one for etched and thin ones).
    void raised(double x, double y, double w, double h, bool thin = false);
    void sunken(double x, double y, double w, double h, bool thin = false);
    void etched(double x, double y, double w, double h);
    void image(double x, double y, double w, double h, const std::string& dataUri);
    // Drawing from here on is moved by (dx, dy) and, when w and h are given, clipped to
    // that box, until end().
    void begin(double dx, double dy, double w = -1, double h = -1);
    void end();
    // A group with these attributes (` opacity="0.4"`, a transform ...) around what is drawn
    // until end().
    void group(std::string_view attributes);
    // A tooltip for what is drawn until end(): hovering shows it.
    void beginTitle(std::string_view title);
    void raw(std::string_view markup) { body_ += markup; }

    // The picture as an <svg> element; `label` is what screen readers say.
    std::string str(std::string_view label) const;
    // The picture for the page, with the caption as its label.
    Picture picture(std::string caption) const;

private:
    double width_;
    double height_;
    std::string body_;
    std::vector<std::string> closers_;
};

// An active window's caption bar at (x, y): a gradient from dark to light blue, the title
// in bold white from `indent`, the close box and, with `allButtons`, minimise and maximise.
void captionBar(Svg& svg, double x, double y, double w, double h, std::string_view title, bool allButtons,
                double indent = 4);

// The lines of a text (CR LF, LF or CR end one) broken further where they would be wider
// than maxWidth: at a blank, or between two characters of a word without blanks.
std::vector<std::string> wrapText(std::string_view text, double size, double maxWidth);

// data: addresses of a PNG of the image and of a standalone SVG document.
std::string pngDataUri(const picture::Image& image, std::optional<uint32_t> transparent = std::nullopt);
std::string svgDataUri(std::string_view svgDocument);

}  // namespace qm::cli::html
