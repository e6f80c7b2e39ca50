// The headless picture box: scale conversions, the display list, and its SVG form.
#include "core/ui/headless/picture_box.h"

#include <algorithm>
#include <cmath>

#include "core/picture/bmp.h"
#include "core/picture/emf.h"
#include "core/text/strings.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/form.h"
#include "core/ui/headless/metrics.h"

namespace qm::ui::headless {

namespace {

bool isBmp(int32_t format) { return format == platform::cf::kBitmap || format == platform::cf::kDib; }

const char* formatName(int32_t format) {
    switch (format) {
        case platform::cf::kBitmap: return "bitmap";
        case platform::cf::kDib: return "dib";
        case platform::cf::kEnhMetafile: return "emf";
        case platform::cf::kMetafilePict: return "wmf";
        default: return "format";
    }
}

}  // namespace

PictureBox::PictureBox(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::PictureBox, std::move(name), b), drawFont_(font_) {}

double PictureBox::innerWidth() const { return std::max(0.0, bounds_.width - 2 * clientInset()); }

double PictureBox::innerHeight() const { return std::max(0.0, bounds_.height - 2 * clientInset()); }

double PictureBox::textWidth(const std::string& text) const { return lengthFromTwipsX(textWidthTwips(drawFont_, text)); }

double PictureBox::textHeight(const std::string& text) const {
    return lengthFromTwipsY(textHeightTwips(drawFont_, text));
}

void PictureBox::printText(double x, double y, const std::string& text) {
    items_.push_back(DrawnText{toTwipsX(x), toTwipsY(y), text, drawFont_, drawColor_});
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, uint32_t color) {
    const double a = toTwipsX(x1), b = toTwipsX(x2), c = toTwipsY(y1), d = toTwipsY(y2);
    items_.push_back(DrawnBox{std::min(a, b), std::min(c, d), std::fabs(b - a), std::fabs(d - c), color});
}

void PictureBox::paintPicture(const platform::Picture& picture, double x, double y, double width, double height) {
    const double a = toTwipsX(x), b = toTwipsX(x + width), c = toTwipsY(y), d = toTwipsY(y + height);
    DrawnPicture drawn;
    drawn.format = picture.format;
    drawn.byteSize = picture.bytes.size();
    if (isBmp(picture.format)) {
        drawn.bmp = picture.bytes;
    } else if (picture.format == platform::cf::kEnhMetafile) {
        // Played into a bitmap, so the SVG shows the picture rather than a placeholder.
        if (auto image = picture::emf::play(picture.bytes)) drawn.bmp = picture::encodeBmp(*image);
    }
    drawn.left = std::min(a, b);
    drawn.top = std::min(c, d);
    drawn.width = std::fabs(b - a);
    drawn.height = std::fabs(d - c);
    items_.push_back(std::move(drawn));
}

void PictureBox::describe(std::string& line, std::vector<std::string>& details) const {
    if (border_) line += " border";
    if (const auto& user = scale_.user()) {
        line += " scale user " + formatNumber(user->left) + "," + formatNumber(user->top) + " " +
                formatNumber(user->width) + "x" + formatNumber(user->height);
    } else {
        line += " scale twips";
    }
    if (backColor_ != kColorButtonFace) line += " back " + formatColor(backColor_);
    line += " items " + std::to_string(items_.size());
    for (const DrawnItem& item : items_) {
        if (const auto* t = std::get_if<DrawnText>(&item)) {
            std::string font = quoted(t->font.name) + " " + formatNumber(t->font.size);
            if (t->font.bold) font += " bold";
            if (t->font.italic) font += " italic";
            details.push_back("text " + formatNumber(t->x) + "," + formatNumber(t->y) + " " + quoted(t->text) + " font " +
                              font + " color " + formatColor(t->color));
        } else if (const auto* b = std::get_if<DrawnBox>(&item)) {
            details.push_back("box " + formatNumber(b->left) + "," + formatNumber(b->top) + " " + formatNumber(b->width) +
                              "x" + formatNumber(b->height) + " color " + formatColor(b->color));
        } else if (const auto* p = std::get_if<DrawnPicture>(&item)) {
            std::string kind = formatName(p->format);
            if (kind == "format") kind += " " + std::to_string(p->format);
            details.push_back("picture " + kind + " " + std::to_string(p->byteSize) + " bytes " + formatNumber(p->left) +
                              "," + formatNumber(p->top) + " " + formatNumber(p->width) + "x" +
                              formatNumber(p->height));
        }
    }
}

void PictureBox::appendSvgItems(std::string& svg) const {
    for (const DrawnItem& item : items_) {
        if (const auto* t = std::get_if<DrawnText>(&item)) {
            const double em = t->font.size * kTwipsPerPoint;
            const std::vector<std::string> lines = text::splitLines(t->text);
            for (size_t i = 0; i < lines.size(); ++i) {
                // y is the top of the line; the baseline sits one em below it.
                svg += "<text" + attr("x", t->x) + attr("y", t->y + static_cast<double>(i) * kLineHeightEm * em + em) +
                       attr("font-family", "'" + t->font.name + "', sans-serif") + attr("font-size", em) +
                       attr("fill", cssColor(t->color));
                if (t->font.bold) svg += " font-weight=\"bold\"";
                if (t->font.italic) svg += " font-style=\"italic\"";
                svg += " xml:space=\"preserve\">" + xmlText(lines[i]) + "</text>\n";
            }
        } else if (const auto* b = std::get_if<DrawnBox>(&item)) {
            svg += "<rect" + attr("x", b->left) + attr("y", b->top) + attr("width", b->width) + attr("height", b->height) +
                   attr("fill", cssColor(b->color)) + "/>\n";
        } else if (const auto* p = std::get_if<DrawnPicture>(&item)) {
            const std::string box = attr("x", p->left) + attr("y", p->top) + attr("width", p->width) + attr("height", p->height);
            if (!p->bmp.empty()) {
                svg += "<image" + box + " preserveAspectRatio=\"none\" xlink:href=\"data:image/bmp;base64," + base64(p->bmp) +
                       "\"/>\n";
            } else {
                svg += "<rect" + box + " fill=\"url(#hatch)\" stroke=\"#808080\" stroke-width=\"15\"/>\n";
            }
        }
    }
    // Picture boxes inside this one (the preview's canvas inside its frame), at their place.
    for (Widget* w : form().controls()) {
        if (w->container() != this || w->kind() != Kind::PictureBox || !w->control().visible()) continue;
        const auto& child = static_cast<const PictureBox&>(w->control());
        const Bounds cb = child.bounds();
        svg += "<g transform=\"translate(" + formatNumber(cb.left + child.clientInset()) + " " +
               formatNumber(cb.top + child.clientInset()) + ")\">\n";
        svg += "<rect x=\"0\" y=\"0\"" + attr("width", child.innerWidth()) + attr("height", child.innerHeight()) +
               attr("fill", cssColor(child.backColor())) + "/>\n";
        child.appendSvgItems(svg);
        svg += "</g>\n";
    }
}

std::string PictureBox::toSvg() const {
    const double w = std::max(0.0, bounds_.width), h = std::max(0.0, bounds_.height);
    const double inset = clientInset();
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"" +
           attr("width", w / Form::kTwipsPerPixel) + attr("height", h / Form::kTwipsPerPixel) + " viewBox=\"0 0 " +
           formatNumber(w) + " " + formatNumber(h) + "\">\n";
    svg += "<title>" + xmlText(name_) + "</title>\n";
    // A picture that cannot be shown here (a metafile) appears as a hatched rectangle.
    svg += "<defs>\n"
           "<pattern id=\"hatch\" patternUnits=\"userSpaceOnUse\" width=\"120\" height=\"120\" "
           "patternTransform=\"rotate(45)\">"
           "<rect width=\"120\" height=\"120\" fill=\"#FFFFFF\"/>"
           "<rect width=\"40\" height=\"120\" fill=\"#A0A0A0\"/></pattern>\n";
    svg += "<clipPath id=\"client\"><rect x=\"0\" y=\"0\"" + attr("width", innerWidth()) +
           attr("height", innerHeight()) + "/></clipPath>\n</defs>\n";
    svg += "<rect x=\"0\" y=\"0\"" + attr("width", w) + attr("height", h) + attr("fill", cssColor(backColor_)) + "/>\n";
    svg += "<g transform=\"translate(" + formatNumber(inset) + " " + formatNumber(inset) + ")\" clip-path=\"url(#client)\">\n";
    appendSvgItems(svg);
    svg += "</g>\n";
    if (border_) {
        svg += "<rect" + attr("x", inset / 2) + attr("y", inset / 2) + attr("width", std::max(0.0, w - inset)) +
               attr("height", std::max(0.0, h - inset)) + " fill=\"none\" stroke=\"#808080\"" + attr("stroke-width", inset) +
               "/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace qm::ui::headless
