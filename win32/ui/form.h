// The Win32 window of the add-in: a modal window owned by the host's main window, with a
// fixed dialog frame or a sizable tool-window frame. Owns its controls, their fonts and
// brushes; tracks the focus as the form model does (validation of the text box that loses
// it, before it moves); runs the modal message loop with the keyboard handling of a
// dialog (Tab and Shift+Tab, Enter for the default button, Escape for the cancel button).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "core/ui/ui.h"
#include "win32/ui/handles.h"
#include "win32/ui/widget.h"

namespace qm::win32::ui {

class Toolkit;
class Button;

class Form final : public qm::ui::Form {
public:
    // The toolkit must outlive the form. A form must not be destroyed from its own event
    // handlers.
    Form(Toolkit& toolkit, const qm::ui::FormSpec& layout);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const override { return name_; }
    void setCaption(const std::string& text) override;
    std::string caption() const override { return caption_; }
    double width() const override { return clientWidth_ + frameX_; }
    double height() const override { return clientHeight_ + frameY_; }
    void setWidth(double w) override;
    void setHeight(double h) override;
    double scaleWidth() const override { return clientWidth_; }
    double scaleHeight() const override { return clientHeight_; }
    bool minimized() const override { return minimized_; }
    uint32_t backColor() const override { return qm::ui::kColorButtonFace; }
    double twipsPerPixelX() const override;
    double textWidth(const std::string& text) const override;

    qm::ui::Label& addLabel(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::Button& addButton(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::CheckBox& addCheckBox(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::Frame& addFrame(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::TextBox& addTextBox(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::ScrollBar& addScrollBar(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::ListView& addListView(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::Grid& addGrid(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::PictureBox& addPictureBox(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;
    qm::ui::Image& addImage(const std::string& name, qm::ui::Container* parent, const Bounds& b) override;

    // Shows the window over its owner, disables the owner, and runs the message loop
    // until the window unloads. Showing a shown form is error 400; an unloaded form is
    // not shown. A WM_QUIT ends the loop (and is posted again for the outer loop).
    void showModal() override;
    // Runs onUnload once, then hides the window and gives the owner back its input; the
    // window itself is destroyed when the modal loop ends or the form is destroyed.
    void unload() override;
    bool loaded() const override { return loaded_; }
    void doEvents() override;

    Toolkit& toolkit() const noexcept { return toolkit_; }
    qm::ui::FormStyle style() const noexcept { return style_; }
    HWND hwnd() const noexcept { return hwnd_; }
    bool shown() const noexcept { return shown_; }
    bool acceptsInput() const;
    const qm::ui::Font& fontSpec() const noexcept { return fontSpec_; }

    // Controls by name (nullptr when there is none or it is of another kind), and their
    // windows: how a test finds what to send its messages to.
    qm::ui::Control* find(const std::string& name) const;
    template <class T>
    T* find(const std::string& name) const {
        return dynamic_cast<T*>(find(name));
    }
    HWND window(const std::string& controlName) const;
    qm::ui::Control* focused() const;

    // ---- for the controls
    HFONT font(const qm::ui::Font& f);
    HBRUSH brush(uint32_t color);
    // Whether the face behind a font is the one requested (Marlett may be missing).
    bool exactFace(const qm::ui::Font& f);
    void registerWindow(HWND hwnd, Widget& w) { byHwnd_[hwnd] = &w; }
    void unregisterWindow(HWND hwnd) { byHwnd_.erase(hwnd); }
    Widget* widgetOf(HWND hwnd) const;
    // Routes a notification a control sent to its parent back to the control; false for
    // any other message, or when no control of this form handles it.
    bool route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Focus: a user's click (validation first; false when refused or not possible), a
    // move from code, a WM_SETFOCUS that did not come through either, and putting the
    // Windows focus where the form's focus is.
    bool userFocus(Widget& w);
    bool moveFocus(Widget& to);
    void focusArrived(Widget& w);
    void applyFocus();
    void dropFocusWithin(Widget& w);
    bool placingFocus() const noexcept { return placingFocus_; }
    Widget* focusWidget() const noexcept { return focus_; }
    Button*& cancelButtonSlot() noexcept { return cancelButton_; }
    Button*& defaultButtonSlot() noexcept { return defaultButton_; }
    int nextId() noexcept { return ++lastId_; }

    // What the form answers to automation's describe message (automation.h).
    std::string automationDescription() const;

    // A failure of an event handler that a window message ran, inside its catch: it goes to
    // onError (the window stays), or to the debugger's output; nothing passes into Windows.
    void eventFailed(const char* where) noexcept;

    // The dialog keys of the modal loop: true when the message was consumed.
    bool dialogKey(const MSG& msg);

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

private:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam);
    Widget* containerOf(qm::ui::Container* parent) const;
    template <class T>
    T& adopt(std::unique_ptr<T> control);
    void resizeWindow();
    void clientResized(int widthPx, int heightPx);
    void focusFirstTabStop();
    void focusNextTabStop(bool backward);
    bool ownsWindow(HWND hwnd) const;
    void releaseOwner();
    void destroyWindow();
    void pump(bool wait);

    Toolkit& toolkit_;
    std::string name_;
    qm::ui::FormStyle style_;
    qm::ui::Font fontSpec_;
    std::string caption_;
    double clientWidth_;
    double clientHeight_;
    double frameX_ = 0;  // outer minus client size, in twips
    double frameY_ = 0;
    bool minimized_ = false;
    bool loaded_ = true;
    bool unloading_ = false;
    bool shown_ = false;
    bool validating_ = false;
    bool placingFocus_ = false;
    bool sizingFromCode_ = false;
    int lastId_ = 1000;
    HWND hwnd_ = nullptr;
    HWND disabledOwner_ = nullptr;
    std::vector<std::unique_ptr<Widget>> widgets_;
    std::map<std::string, Widget*> byName_;
    std::unordered_map<HWND, Widget*> byHwnd_;
    Widget* focus_ = nullptr;
    // The control whose validation waits while the focus is on controls that do not cause
    // validation.
    Widget* validationDue_ = nullptr;
    Button* cancelButton_ = nullptr;
    Button* defaultButton_ = nullptr;
    std::map<std::tuple<std::string, double, bool, bool, int>, GdiObject> fonts_;
    std::map<COLORREF, GdiObject> brushes_;
};

}  // namespace qm::win32::ui
