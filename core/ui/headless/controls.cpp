// The simple headless controls and their user actions.
#include "core/ui/headless/controls.h"

#include <algorithm>

#include "core/host/error.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/form.h"
#include "core/text/utf8.h"

namespace qm::ui::headless {

namespace {

constexpr int32_t kInvalidPropertyValue = 380;
constexpr int kSpace = 32;
constexpr int kDelete = 127;

[[noreturn]] void invalidValue(const std::string& what) {
    throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + what + ")");
}

}  // namespace

// ---- Label

Label::Label(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Label, std::move(name), b) {}

bool Label::userClick() {
    return userInput([&] {
        if (!acceptsInput()) return false;
        fireEvent(onClick);
        return true;
    });
}

void Label::describe(std::string& line, std::vector<std::string>&) const {
    line += " caption " + quoted(caption_);
    if (foreColor_ != kColorButtonText) line += " color " + formatColor(foreColor_);
}

// ---- Button

Button::Button(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Button, std::move(name), b) {}

void Button::setCancel(bool v) {
    Button*& cancelButton = form().cancelButton_;
    if (v) {
        cancelButton = this;
    } else if (cancelButton == this) {
        cancelButton = nullptr;
    }
}

bool Button::cancel() const { return form().cancelButton_ == this; }

void Button::setDefault(bool v) {
    Button*& defaultButton = form().defaultButton_;
    if (v) {
        defaultButton = this;
    } else if (defaultButton == this) {
        defaultButton = nullptr;
    }
}

bool Button::isDefault() const { return form().defaultButton_ == this; }

void Button::keyPress(int code) {
    if (code == kSpace) press();
}

bool Button::userClick() {
    return userInput([&] {
        if (!focusByUser()) return false;
        // onGotFocus may have disabled the button or closed the window: then no click.
        if (!acceptsInput()) return false;
        fireEvent(onClick);
        return true;
    });
}

void Button::press() {
    if (acceptsInput()) fireEvent(onClick);
}

void Button::describe(std::string& line, std::vector<std::string>&) const {
    line += " caption " + quoted(caption_);
    if (isDefault()) line += " default";
    if (cancel()) line += " cancel";
    if (faceColor_ != kColorButtonFace) line += " face " + formatColor(faceColor_);
}

// ---- CheckBox

CheckBox::CheckBox(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::CheckBox, std::move(name), b) {}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) invalidValue(name_ + ".Value = " + std::to_string(v));
    if (v == value_) return;
    value_ = v;
    fireEvent(onClick);
}

void CheckBox::keyPress(int code) {
    if (code == kSpace) setValue(value_ == 0 ? 1 : 0);
}

bool CheckBox::userClick() {
    return userInput([&] {
        if (!focusByUser() || !acceptsInput()) return false;
        setValue(value_ == 0 ? 1 : 0);
        return true;
    });
}

void CheckBox::describe(std::string& line, std::vector<std::string>&) const {
    line += " value " + std::to_string(value_) + " caption " + quoted(caption_);
}

// ---- Frame

Frame::Frame(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Frame, std::move(name), b) {}

void Frame::describe(std::string& line, std::vector<std::string>&) const { line += " caption " + quoted(caption_); }

// ---- TextBox

TextBox::TextBox(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::TextBox, std::move(name), b) {}

std::string TextBox::text() const { return qm::text::utf8::encode(text_); }

void TextBox::setText(const std::string& t) {
    std::u32string decoded = qm::text::utf8::decode(t);
    if (decoded == text_) return;
    text_ = std::move(decoded);
    selStart_ = 0;
    selLength_ = 0;
    fireEvent(onChange);
}

void TextBox::setSelStart(int v) {
    if (v < 0) invalidValue(name_ + ".SelStart = " + std::to_string(v));
    selStart_ = std::min(v, static_cast<int>(text_.size()));
    selLength_ = 0;
}

void TextBox::setSelLength(int v) {
    if (v < 0) invalidValue(name_ + ".SelLength = " + std::to_string(v));
    selLength_ = std::min(v, static_cast<int>(text_.size()) - selStart_);
}

std::string TextBox::selectedText() const {
    return qm::text::utf8::encode(std::u32string_view(text_).substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_)));
}

void TextBox::replaceSelection(std::u32string_view with) {
    const auto start = static_cast<size_t>(selStart_);
    std::u32string next = text_.substr(0, start);
    next += with;
    next += text_.substr(start + static_cast<size_t>(selLength_));
    selStart_ += static_cast<int>(with.size());
    selLength_ = 0;
    if (next == text_) return;
    text_ = std::move(next);
    fireEvent(onChange);
}

void TextBox::keyPress(int code) {
    int keyAscii = code;
    fireEvent(onKeyPress, keyAscii);
    if (keyAscii == key::kBackspace) {
        if (selLength_ == 0) {
            if (selStart_ == 0) return;
            --selStart_;
            selLength_ = 1;
        }
        replaceSelection({});
        return;
    }
    // Swallowed keys, and control keys a single-line box does not insert.
    if (keyAscii < kSpace || keyAscii == kDelete) return;
    const char32_t cp = keyAscii >= kNonAsciiBase ? static_cast<char32_t>(keyAscii - kNonAsciiBase)
                                                  : static_cast<char32_t>(keyAscii);
    const char32_t typed[] = {cp};
    replaceSelection(std::u32string_view(typed, 1));
}

void TextBox::keyDown(int keyCode, int shift) {
    // A single-line box does nothing of its own with the keys that type no character.
    fireEvent(onKeyDown, keyCode, shift);
}

bool TextBox::userType(const std::string& text) {
    if (!userInput([&] { return focusByUser(); })) return false;
    // Each key is an input of its own, as the keyboard sends them.
    for (char32_t cp : qm::text::utf8::decode(text)) {
        if (!form().acceptsInput()) break;
        // Nobody types a line feed: a new line in a script is the Enter key.
        userInput([&] {
            sendKey(cp == U'\n' ? key::kEnter : keyCodeOf(cp));
            return true;
        });
    }
    return true;
}

bool TextBox::userKey(int code) {
    return userInput([&] { return keyByUser(code); });
}

bool TextBox::userSelectAll() {
    return userInput([&] {
        if (!focusByUser()) return false;
        selStart_ = 0;
        selLength_ = static_cast<int>(text_.size());
        return true;
    });
}

bool TextBox::userSetCaret(int position) {
    return userInput([&] {
        if (!focusByUser()) return false;
        setSelStart(std::max(position, 0));
        return true;
    });
}

void TextBox::describe(std::string& line, std::vector<std::string>&) const {
    line += " text " + quoted(text()) + " sel " + std::to_string(selStart_) + "+" + std::to_string(selLength_);
    if (backColor_ != kColorWindow) line += " back " + formatColor(backColor_);
}

// ---- ScrollBar

ScrollBar::ScrollBar(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::ScrollBar, std::move(name), b) {}

int ScrollBar::clamp(int v) const { return std::clamp(v, std::min(min_, max_), std::max(min_, max_)); }

void ScrollBar::setRange(int min, int max) {
    min_ = min;
    max_ = max;
    setValue(value_);
}

void ScrollBar::setValue(int v) {
    v = clamp(v);
    if (v == value_) return;
    value_ = v;
    fireEvent(onChange);
}

bool ScrollBar::userClickArrow(bool up) {
    return userInput([&] {
        if (!focusByUser() || !acceptsInput()) return false;
        // Computed after onGotFocus, which may have changed the value.
        setValue(up ? value_ - 1 : value_ + 1);
        return true;
    });
}

void ScrollBar::describe(std::string& line, std::vector<std::string>&) const {
    line += " value " + std::to_string(value_) + " range " + std::to_string(min_) + ".." + std::to_string(max_);
}

// ---- Image

Image::Image(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Image, std::move(name), b) {}

bool Image::userDrag(double x0, double y0, double x1, double y1, int steps) {
    if (!acceptsInput()) return false;
    steps = std::max(steps, 1);
    // Each event is an input of its own and converts from form coordinates with the image's
    // position at that moment.
    const auto send = [this](const std::function<void(int, double, double)>& handler, double x, double y) {
        userInput([&] {
            const Bounds at = form().absoluteBounds(*this);
            fireEvent(handler, kLeftButton, x - at.left, y - at.top);
            return true;
        });
    };
    send(onMouseDown, x0, y0);
    for (int i = 1; i <= steps && form().loaded(); ++i) {
        const double t = static_cast<double>(i) / steps;
        send(onMouseMove, x0 + (x1 - x0) * t, y0 + (y1 - y0) * t);
    }
    if (form().loaded()) send(onMouseUp, x1, y1);
    return true;
}

void Image::describe(std::string& line, std::vector<std::string>&) const {
    line += " picture " + std::to_string(picture_.size()) + " bytes";
    if (pointer_ == MousePointer::SizeWE) line += " pointer size-we";
    if (pointer_ == MousePointer::SizeNS) line += " pointer size-ns";
}

}  // namespace qm::ui::headless
