// The headless picture box: a container, and a drawing surface that records what is drawn
// as a display list (coordinates in twips inside the box's client area, whatever scale the
// drawing used) and writes it as an SVG document a browser shows as the preview.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/ui/draw_scale.h"
#include "core/ui/headless/widget.h"

namespace qm::ui::headless {

struct DrawnText {
    double x = 0;  // top-left of the first line
    double y = 0;
    std::string text;
    Font font;
    uint32_t color = 0;
};

struct DrawnBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    uint32_t color = 0;
};

struct DrawnPicture {
    int32_t format = 0;  // platform::cf::kEnhMetafile, kBitmap, kDib ...
    size_t byteSize = 0;
    std::vector<uint8_t> bmp;  // kept for bitmaps only, to embed them in the SVG
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

using DrawnItem = std::variant<DrawnText, DrawnBox, DrawnPicture>;

class PictureBox final : public ControlBase<ui::PictureBox> {
public:
    // A border takes two pixels on each side, as the 3-D fixed single border does.
    static constexpr double kBorderTwips = 30;

    PictureBox(Form& form, Widget* container, std::string name, const Bounds& b);

    void setBorder(bool v) override { border_ = v; }
    bool border() const noexcept { return border_; }
    void setBackColor(uint32_t color) override { backColor_ = color; }
    uint32_t backColor() const override { return backColor_; }
    void setScaleTwips() override { scale_.setTwips(); }
    // Width or height 0 is error 380; negative ones flip the axis. The scale keeps its
    // units when the box is resized.
    void setUserScale(double left, double top, double width, double height) override {
        scale_.setUser(name_, left, top, width, height);
    }
    double scaleWidth() const override { return scale_.width(innerWidth()); }
    double scaleHeight() const override { return scale_.height(innerHeight()); }
    // The client area inside the border, in twips.
    double innerWidth() const;
    double innerHeight() const;
    void clear() override { items_.clear(); }
    void setDrawFont(const Font& f) override { drawFont_ = f; }
    void setDrawColor(uint32_t color) override { drawColor_ = color; }
    double textWidth(const std::string& text) const override;
    double textHeight(const std::string& text) const override;
    void printText(double x, double y, const std::string& text) override;
    // Either corner first.
    void fillBox(double x1, double y1, double x2, double y2, uint32_t color) override;
    void paintPicture(const platform::Picture& picture, double x, double y, double width, double height) override;
    double clientInset() const override { return border_ ? kBorderTwips : 0; }
    void describe(std::string& line, std::vector<std::string>& details) const override;

    const std::vector<DrawnItem>& displayList() const noexcept { return items_; }
    // The display list as a standalone SVG document, one pixel per 15 twips.
    std::string toSvg() const;

    // Scale conversions: a point in the current scale to twips inside the client area, and
    // a length in twips to the current scale (a size, so never negative).
    double toTwipsX(double x) const { return scale_.toTwipsX(x, innerWidth()); }
    double toTwipsY(double y) const { return scale_.toTwipsY(y, innerHeight()); }
    double lengthFromTwipsX(double twips) const { return scale_.lengthFromTwipsX(twips, innerWidth()); }
    double lengthFromTwipsY(double twips) const { return scale_.lengthFromTwipsY(twips, innerHeight()); }

private:
    void appendSvgItems(std::string& svg) const;

    bool border_ = false;
    uint32_t backColor_ = kColorButtonFace;
    DrawScale scale_;
    Font drawFont_;
    uint32_t drawColor_ = kColorButtonText;
    std::vector<DrawnItem> items_;
};

}  // namespace qm::ui::headless
