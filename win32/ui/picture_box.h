// The Win32 picture box: a container for controls, and a drawing surface with its own
// scale (twips, or a user scale over the inner area) drawn with GDI into a back buffer
// that the window shows. What is drawn is also kept as a list (in twips), so that the
// buffer can be drawn again when the box changes size or colour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/ui/draw_scale.h"
#include "win32/ui/widget.h"

namespace qm::win32::ui {

class PictureBox final : public ControlBase<qm::ui::PictureBox> {
public:
    PictureBox(Form& form, Widget* container, std::string name, const Bounds& b);
    ~PictureBox() override;

    void setBorder(bool v) override;
    bool border() const noexcept { return border_; }
    void setBackColor(uint32_t color) override;
    uint32_t backColor() const override { return backColor_; }
    void setScaleTwips() override { scale_.setTwips(); }
    void setUserScale(double left, double top, double width, double height) override {
        scale_.setUser(name_, left, top, width, height);
    }
    double scaleWidth() const override { return scale_.width(innerWidth()); }
    double scaleHeight() const override { return scale_.height(innerHeight()); }
    void clear() override;
    void setDrawFont(const qm::ui::Font& f) override { drawFont_ = f; }
    void setDrawColor(uint32_t color) override { drawColor_ = color; }
    double textWidth(const std::string& text) const override;
    double textHeight(const std::string& text) const override;
    void printText(double x, double y, const std::string& text) override;
    void fillBox(double x1, double y1, double x2, double y2, uint32_t color) override;
    void paintPicture(const platform::Picture& picture, double x, double y, double width, double height) override;

    // The inner area (inside the border), in twips.
    double innerWidth() const;
    double innerHeight() const;
    size_t itemCount() const noexcept { return items_.size(); }
    // The colour of a pixel of the drawing buffer (tests compare what was drawn).
    std::optional<COLORREF> bufferPixel(int x, int y) const;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void describeOwn(automation::Writer& w) const override;
    void moved() override;

private:
    struct Text {
        double x, y;
        std::string text;
        qm::ui::Font font;
        uint32_t color;
    };
    struct Box {
        double left, top, width, height;
        uint32_t color;
    };
    struct Picture {
        platform::Picture picture;
        double left, top, width, height;
    };
    using Item = std::variant<Text, Box, Picture>;

    double inset() const;
    double toTwipsX(double x) const { return scale_.toTwipsX(x, innerWidth()); }
    double toTwipsY(double y) const { return scale_.toTwipsY(y, innerHeight()); }
    double lengthFromTwipsX(double twips) const { return scale_.lengthFromTwipsX(twips, innerWidth()); }
    double lengthFromTwipsY(double twips) const { return scale_.lengthFromTwipsY(twips, innerHeight()); }
    void add(Item item);
    void redrawBuffer();
    void drawItem(const Item& item);
    SIZE measure(const qm::ui::Font& font, const std::string& text, int& lineHeight) const;

    bool border_ = false;
    uint32_t backColor_ = qm::ui::kColorButtonFace;
    qm::ui::DrawScale scale_;
    qm::ui::Font drawFont_;
    uint32_t drawColor_ = qm::ui::kColorButtonText;
    std::vector<Item> items_;
    MemoryDc bufferDc_;
    GdiObject buffer_;
    HGDIOBJ bufferOld_ = nullptr;
    SIZE bufferSize_{0, 0};
};

}  // namespace qm::win32::ui
