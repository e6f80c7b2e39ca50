// The simple headless controls: label, button, check box, frame, text box, scroll bar and
// image. Each keeps its state in memory, raises its events as the classic form model does,
// and offers user actions (userClick, userType ...) that act exactly as a person would,
// focus changes and validation included. A user action returns false when it could not
// happen (the control hidden, disabled, behind a modal window, or validation refused the
// focus) and then changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ui/headless/widget.h"

namespace qm::ui::headless {

class Label final : public ControlBase<ui::Label> {
public:
    Label(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    void setForeColor(uint32_t color) override { foreColor_ = color; }
    uint32_t foreColor() const override { return foreColor_; }
    bool focusable() const override { return false; }
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // A click: labels take no focus, so only onClick runs.
    bool userClick();

private:
    std::string caption_;
    uint32_t foreColor_ = kColorButtonText;
};

class Button final : public ControlBase<ui::Button> {
public:
    Button(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    // At most one cancel and one default button per form: setting one clears the other.
    void setCancel(bool v) override;
    bool cancel() const override;
    void setDefault(bool v) override;
    bool isDefault() const;
    void setFaceColor(uint32_t color) override { faceColor_ = color; }
    uint32_t faceColor() const override { return faceColor_; }
    void keyPress(int code) override;  // the space bar clicks a focused button
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // Focus to the button (validating the control that loses it), then onClick.
    bool userClick();
    // The click itself, as Escape or Enter raise it: no focus change, no validation.
    void press();

private:
    std::string caption_;
    uint32_t faceColor_ = kColorButtonFace;
};

class CheckBox final : public ControlBase<ui::CheckBox> {
public:
    CheckBox(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    int value() const override { return value_; }
    // 0 unchecked, 1 checked, 2 grayed; anything else is error 380.
    void setValue(int v) override;
    void keyPress(int code) override;  // the space bar toggles
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // Focus, then the box toggles (grayed turns unchecked) and onClick runs.
    bool userClick();

private:
    std::string caption_;
    int value_ = 0;
};

// A frame's contained controls are placed relative to its outer top-left corner.
class Frame final : public ControlBase<ui::Frame> {
public:
    Frame(Form& form, Widget* container, std::string name, const Bounds& b);
    void setCaption(const std::string& text) override { caption_ = text; }
    std::string caption() const override { return caption_; }
    bool focusable() const override { return false; }
    void describe(std::string& line, std::vector<std::string>& details) const override;

private:
    std::string caption_;
};

// A single-line text box. Positions (selStart, selLength) count characters: each UTF-8
// code point once. Text set from code is kept as UTF-8; malformed bytes become U+FFFD.
//
// Key codes seen by onKeyPress: an ASCII character arrives as its code; any other
// character as 0x100 + its code point (so "é" is 0x1E9), which no ASCII or control code
// can be mistaken for. A handler may change the code to another character in either form
// (0x80-0xFF are taken as Latin-1) or set 0 to swallow the key.
class TextBox final : public ControlBase<ui::TextBox> {
public:
    static constexpr int kNonAsciiBase = 0x100;
    static int keyCodeOf(char32_t cp) { return cp < 0x80 ? static_cast<int>(cp) : kNonAsciiBase + static_cast<int>(cp); }

    TextBox(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string text() const override;
    // Replaces the text and puts the caret at the start, as the edit control does; raises
    // onChange when the text differs.
    void setText(const std::string& t) override;
    int selStart() const override { return selStart_; }
    void setSelStart(int v) override;    // clamped to the text; the selection collapses
    int selLength() const override { return selLength_; }
    void setSelLength(int v) override;   // clamped to the text after selStart
    void setBackColor(uint32_t color) override { backColor_ = color; }
    uint32_t backColor() const override { return backColor_; }
    std::string selectedText() const;
    void keyPress(int code) override;
    void keyDown(int keyCode, int shift) override;
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // Focus, then each character as a key press (Enter and Escape reach the form's default
    // and cancel buttons as a keyboard would). Stops when the form unloads.
    bool userType(const std::string& utf8);
    // Focus, then one key (Backspace, Enter, Escape, a character code).
    bool userKey(int code);
    bool userSelectAll();
    bool userSetCaret(int position);

private:
    void replaceSelection(std::u32string_view with);

    std::u32string text_;
    int selStart_ = 0;
    int selLength_ = 0;
    uint32_t backColor_ = kColorWindow;
};

// A vertical scroll bar. Min may be greater than max (the spinners run from 0 down to
// -5000); the value is always kept between the two.
class ScrollBar final : public ControlBase<ui::ScrollBar> {
public:
    ScrollBar(Form& form, Widget* container, std::string name, const Bounds& b);
    int min() const override { return min_; }
    int max() const override { return max_; }
    // A value outside the new range moves to its nearest end and raises onChange.
    void setRange(int min, int max) override;
    int value() const override { return value_; }
    void setValue(int v) override;  // clamped; onChange when the value changes
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // An arrow click: focus to the bar (validation first, then its onGotFocus, which may
    // hand the focus on), then the value moves by one (the upper arrow lowers it).
    bool userClickArrow(bool up);

private:
    int clamp(int v) const;

    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
};

class Image final : public ControlBase<ui::Image> {
public:
    Image(Form& form, Widget* container, std::string name, const Bounds& b);
    void setPicture(const std::vector<uint8_t>& bmp) override { picture_ = bmp; }
    const std::vector<uint8_t>& picture() const noexcept { return picture_; }
    void setMousePointer(MousePointer p) override { pointer_ = p; }
    MousePointer mousePointer() const noexcept { return pointer_; }
    bool focusable() const override { return false; }
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // A drag with the left button from (x0, y0) to (x1, y1) in the form's client
    // coordinates: onMouseDown at the start, onMouseMove at each of `steps` evenly spaced
    // points up to and including the end, onMouseUp at the end. Each event sees the point
    // relative to the image's position at that moment, since the handlers may move the
    // image (a splitter bar follows the mouse). The image keeps the mouse throughout.
    bool userDrag(double x0, double y0, double x1, double y1, int steps);

private:
    std::vector<uint8_t> picture_;
    MousePointer pointer_ = MousePointer::Default;
};

}  // namespace qm::ui::headless
