// The simple Win32 controls: label (static), button (push button; owner-drawn when it has
// a face colour of its own or its arrow font is missing), check box, frame (a group box
// holding controls), text box (edit with the key filter), scroll bar used as a spinner,
// and image (a stretched bitmap that reports mouse moves: the splitter bars). Events are
// raised as the form model raises them; a change made from code raises its event here,
// not through the notification Windows sends for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win32/ui/widget.h"

namespace qm::win32::ui {

class Label final : public ControlBase<qm::ui::Label> {
public:
    Label(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override;
    void setForeColor(uint32_t color) override;
    uint32_t foreColor() const override { return foreColor_; }
    bool focusable() const override { return false; }
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void describeOwn(automation::Writer& w) const override;

private:
    std::string caption_;
    uint32_t foreColor_ = qm::ui::kColorButtonText;
};

class Button final : public ControlBase<qm::ui::Button> {
public:
    Button(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override;
    void setCancel(bool v) override;
    bool cancel() const override;
    void setDefault(bool v) override;
    bool isDefault() const;
    void setFaceColor(uint32_t color) override;
    uint32_t faceColor() const override { return faceColor_; }
    void setFont(const qm::ui::Font& f) override;
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The click as Escape or Enter raise it: no focus change, no validation.
    void press();

protected:
    void describeOwn(automation::Writer& w) const override;

private:
    void updateStyle();
    void drawItem(const DRAWITEMSTRUCT& item);

    std::string caption_;
    uint32_t faceColor_ = qm::ui::kColorButtonFace;
    bool ownFace_ = false;
};

class CheckBox final : public ControlBase<qm::ui::CheckBox> {
public:
    CheckBox(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override;
    int value() const override { return value_; }
    void setValue(int v) override;  // 0, 1 or 2 (grayed); anything else is error 380
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::string caption_;
    int value_ = 0;
};

// Contained controls are placed relative to the frame's outer top-left corner.
class Frame final : public ControlBase<qm::ui::Frame> {
public:
    Frame(Form& form, Widget* container, std::string name, const Bounds& b);
    void setCaption(const std::string& text) override;
    std::string caption() const override { return caption_; }
    bool focusable() const override { return false; }

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::string caption_;
};

// A single-line edit. Positions count characters (code points). Key codes seen by
// onKeyPress: an ASCII character as its code, any other as 0x100 + its code point.
class TextBox final : public ControlBase<qm::ui::TextBox> {
public:
    static constexpr int kNonAsciiBase = 0x100;

    TextBox(Form& form, Widget* container, std::string name, const Bounds& b);
    std::string text() const override;
    void setText(const std::string& t) override;  // caret to the start; onChange when it differs
    int selStart() const override;
    void setSelStart(int v) override;
    int selLength() const override;
    void setSelLength(int v) override;
    void setBackColor(uint32_t color) override;
    uint32_t backColor() const override { return backColor_; }
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void describeOwn(automation::Writer& w) const override;
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring windowText() const;
    void character(char32_t cp, LPARAM lParam);
    void textChanged();

    std::string text_;  // as last seen: a change is raised once, only when the text differs
    bool settingText_ = false;
    wchar_t highSurrogate_ = 0;
    uint32_t backColor_ = qm::ui::kColorWindow;
};

// A vertical scroll bar used as a spinner. Min may be greater than max; the control's
// own range is the normalised one (the lower number at the top), and the upper arrow
// lowers the value by one.
class ScrollBar final : public ControlBase<qm::ui::ScrollBar> {
public:
    ScrollBar(Form& form, Widget* container, std::string name, const Bounds& b);
    int min() const override { return min_; }
    int max() const override { return max_; }
    void setRange(int min, int max) override;
    int value() const override { return value_; }
    void setValue(int v) override;
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void describeOwn(automation::Writer& w) const override;

private:
    int clamp(int v) const;
    void applyRange();

    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    bool arrowClick_ = false;  // inside a mouse click whose focus move is done
};

class Image final : public ControlBase<qm::ui::Image> {
public:
    Image(Form& form, Widget* container, std::string name, const Bounds& b);
    void setPicture(const std::vector<uint8_t>& bmp) override;
    void setMousePointer(qm::ui::MousePointer p) override { pointer_ = p; }
    qm::ui::MousePointer mousePointer() const noexcept { return pointer_; }
    bool focusable() const override { return false; }

protected:
    void describeOwn(automation::Writer& w) const override;
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void mouse(const std::function<void(int, double, double)>& handler, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc);

    std::vector<uint8_t> picture_;
    qm::ui::MousePointer pointer_ = qm::ui::MousePointer::Default;
};

}  // namespace qm::win32::ui
