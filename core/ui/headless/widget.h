// What every headless control shares: its place on the form, the common properties, and
// the way it hands focus requests and key presses to its form. Each control class derives
// from ControlBase<its interface>, which implements the ui::Control members once.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/ui/ui.h"
#include "core/ui/widget_common.h"

namespace qm::ui::headless {

class Form;

using Kind = ui::ControlKind;

class Widget {
public:
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;
    virtual ~Widget() = default;

    Kind kind() const noexcept { return kind_; }
    Form& form() const noexcept { return form_; }
    // The frame or picture box holding this control; nullptr for the form itself.
    Widget* container() const noexcept { return container_; }

    virtual ui::Control& control() = 0;
    virtual const ui::Control& control() const = 0;

    // Visible, and enabled, along the chain of containers: a control inside a hidden frame
    // is not on screen, one inside a disabled frame cannot be used.
    bool onScreen() const;
    bool usable() const;
    // Whether a user can act on it now: usable, its form loaded and not behind a modal window.
    bool acceptsInput() const;
    // Kinds that can hold the focus at all; labels, frames and images never do.
    virtual bool focusable() const { return true; }
    bool canTakeFocus() const { return focusable() && usable(); }
    // Where the coordinates of contained controls start inside this one (inside a border).
    virtual double clientInset() const { return 0; }
    // A key sent to this control while it has the focus (after the form took Escape/Enter).
    virtual void keyPress(int code);
    // The kind-specific state for the dump: appended to the control's line, and further
    // lines (without indentation) below it.
    virtual void describe(std::string& line, std::vector<std::string>& details) const = 0;
    int zOrder() const noexcept { return zOrder_; }
    const Font& font() const noexcept { return font_; }

protected:
    Widget(Form& form, Widget* container, Kind kind, std::string name, const Bounds& bounds);

    void setShown(bool v);
    void setUsableFlag(bool v);
    void focusFromCode();
    bool isFocused() const;
    void moveToFront();
    // A user's click or key: moves the focus here, validating the control that loses it.
    // False when validation kept the focus where it was, or the control takes no input.
    bool focusByUser();
    // A key as the user presses it with this control focused (Escape, Enter and Tab go to
    // the form's buttons and tab order first).
    bool keyByUser(int code);
    // The key as the keyboard sends it, to whatever has the focus now.
    void sendKey(int code);

    std::string name_;
    Bounds bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = true;
    Font font_;

private:
    friend class Form;

    Form& form_;
    Widget* container_;
    Kind kind_;
    int zOrder_ = 0;
};

// The ui::Control members over a Widget's state.
template <class Interface>
class ControlBase : public Interface, public Widget {
public:
    const std::string& name() const override { return name_; }
    Bounds bounds() const override { return bounds_; }
    void move(const Bounds& b) override { bounds_ = b; }
    bool visible() const override { return visible_; }
    void setVisible(bool v) override { setShown(v); }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool v) override { setUsableFlag(v); }
    void setTabStop(bool v) override { tabStop_ = v; }
    bool tabStop() const override { return tabStop_; }
    void setFocus() override { focusFromCode(); }
    bool hasFocus() const override { return isFocused(); }
    void setFont(const Font& f) override { font_ = f; }
    void bringToFront() override { moveToFront(); }

    ui::Control& control() override { return *this; }
    const ui::Control& control() const override { return *this; }

protected:
    ControlBase(Form& form, Widget* container, Kind kind, std::string name, const Bounds& bounds)
        : Widget(form, container, kind, std::move(name), bounds) {}
};

}  // namespace qm::ui::headless
