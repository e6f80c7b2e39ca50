// What every Win32 control of the add-in's windows shares: its window, its place on the
// form in twips, the common properties, and the way its messages reach it. Each control
// class derives from ControlBase<its interface>, which implements the ui::Control members.
//
// The geometry, visibility and enabled state are kept as the presenter set them (in
// twips, exactly), and the window follows: the presenters compute layouts from what they
// read back, so reading must give what was written, not a value rounded to pixels.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "core/ui/ui.h"
#include "core/ui/widget_common.h"
#include "win32/ui/automation.h"
#include "win32/ui/handles.h"

namespace qm::win32::ui {

using qm::ui::Bounds;

class Form;

using Kind = qm::ui::ControlKind;
using qm::ui::fireEvent;
using qm::ui::isWithin;
using qm::ui::validationOwed;
using qm::ui::kindName;

// Writes a failure that must not cross into Windows to the debugger's output.
void reportSwallowed(const char* where) noexcept;

class Widget {
public:
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;
    virtual ~Widget();

    Kind kind() const noexcept { return kind_; }
    Form& form() const noexcept { return form_; }
    Widget* container() const noexcept { return container_; }
    HWND hwnd() const noexcept { return hwnd_; }
    const std::string& widgetName() const noexcept { return name_; }

    virtual qm::ui::Control& control() = 0;

    // Visible and enabled along the chain of containers.
    bool usable() const;
    bool acceptsInput() const;
    virtual bool focusable() const { return true; }
    bool canTakeFocus() const { return focusable() && usable(); }
    bool tabStopFlag() const noexcept { return tabStop_; }
    bool causesValidationFlag() const noexcept { return causesValidation_; }
    // The window that holds contained controls (the widget's own window).
    HWND containerWindow() const noexcept { return hwnd_; }

    // Messages sent by this control to its parent (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
    // WM_DRAWITEM, WM_VSCROLL), routed back here by the form. True when handled.
    virtual bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Window procedures: classProc for the toolkit's own class (the widget arrives in
    // CREATESTRUCT), subclassProc for subclassed system controls.
    static LRESULT CALLBACK classProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    // The window text colour and background for WM_CTLCOLOR*: the container's background.
    HBRUSH backgroundBrush(HDC dc);

    // What the control answers to automation's describe message (automation.h): the
    // records every control has, then its kind's own.
    std::string automationDescription() const;

protected:
    Widget(Form& form, Widget* container, Kind kind, std::string name, const Bounds& bounds);

    // Makes the window: a system class is subclassed, the toolkit's own class is not.
    void createWindow(const wchar_t* className, DWORD style, DWORD exStyle, const std::wstring& text);
    // Every message of the window. The default handles focus on clicks, and destruction.
    virtual LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The kind's own automation records.
    virtual void describeOwn(automation::Writer&) const {}

    void placeWindow();  // moves the window to bounds_
    void applyShown();
    void applyEnabled();
    void setShown(bool v);
    void setUsableFlag(bool v);
    void focusFromCode();
    bool isFocused() const;
    void moveToFront();
    void applyFont(const qm::ui::Font& f);
    HFONT currentFont() const noexcept { return font_; }

    std::string name_;
    Bounds bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = true;
    bool causesValidation_ = true;
    qm::ui::Font fontSpec_;
    HWND hwnd_ = nullptr;
    bool clicking_ = false;  // inside the default handling of a click whose focus move is done

private:
    friend class Form;

    Form& form_;
    Widget* container_;
    Kind kind_;
    WNDPROC original_ = nullptr;
    HFONT font_ = nullptr;  // owned by the form's font cache
};

// The ui::Control members over a Widget's state.
template <class Interface>
class ControlBase : public Interface, public Widget {
public:
    const std::string& name() const override { return name_; }
    Bounds bounds() const override { return bounds_; }
    void move(const Bounds& b) override {
        bounds_ = b;
        placeWindow();
        moved();
    }
    bool visible() const override { return visible_; }
    void setVisible(bool v) override { setShown(v); }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool v) override { setUsableFlag(v); }
    void setTabStop(bool v) override { tabStop_ = v; }
    bool tabStop() const override { return tabStop_; }
    void setCausesValidation(bool v) override { causesValidation_ = v; }
    bool causesValidation() const override { return causesValidation_; }
    void setFocus() override { focusFromCode(); }
    bool hasFocus() const override { return isFocused(); }
    void setFont(const qm::ui::Font& f) override { applyFont(f); }
    void bringToFront() override { moveToFront(); }

    qm::ui::Control& control() override { return *this; }

protected:
    ControlBase(Form& form, Widget* container, Kind kind, std::string name, const Bounds& bounds)
        : Widget(form, container, kind, std::move(name), bounds) {}
    // After the bounds changed (the picture box resizes its drawing buffer).
    virtual void moved() {}
};

}  // namespace qm::win32::ui
