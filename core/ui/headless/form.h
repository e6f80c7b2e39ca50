// The headless window: owns its controls, tracks the focus, routes keys to the cancel and
// default buttons and the focused control, runs modally through the toolkit's driver, and
// describes itself as text for the scenario runner and golden tests.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ui/headless/controls.h"
#include "core/ui/headless/grid.h"
#include "core/ui/headless/list_view.h"
#include "core/ui/headless/picture_box.h"
#include "core/ui/headless/widget.h"
#include "core/ui/ui.h"

namespace qm::ui::headless {

class Toolkit;

// Geometry: the outer size is the client size plus the frame, which is 120 twips across
// and 405 down (borders and a small caption) for a sizable tool window, 90 and 480 for a
// dialog, at 15 twips per pixel. A form must not be destroyed from its own event handlers.
class Form final : public ui::Form {
public:
    static constexpr double kToolFrameX = 120;
    static constexpr double kToolFrameY = 405;
    static constexpr double kDialogFrameX = 90;
    static constexpr double kDialogFrameY = 480;
    static constexpr double kTwipsPerPixel = 15;

    // The toolkit must outlive the form.
    Form(Toolkit& toolkit, const FormSpec& layout);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const override { return name_; }
    void setCaption(const std::string& text) override { caption_ = text; }
    std::string caption() const override { return caption_; }
    double width() const override { return clientWidth_ + frameX(); }
    double height() const override { return clientHeight_ + frameY(); }
    void setWidth(double w) override;
    void setHeight(double h) override;
    double scaleWidth() const override { return clientWidth_; }
    double scaleHeight() const override { return clientHeight_; }
    bool minimized() const override { return minimized_; }
    uint32_t backColor() const override { return kColorButtonFace; }
    double twipsPerPixelX() const override { return kTwipsPerPixel; }
    double textWidth(const std::string& text) const override;
    FormStyle style() const noexcept { return style_; }
    Toolkit& toolkit() const noexcept { return toolkit_; }
    const Font& font() const noexcept { return font_; }

    ui::Label& addLabel(const std::string& name, Container* parent, const Bounds& b) override;
    ui::Button& addButton(const std::string& name, Container* parent, const Bounds& b) override;
    ui::CheckBox& addCheckBox(const std::string& name, Container* parent, const Bounds& b) override;
    ui::Frame& addFrame(const std::string& name, Container* parent, const Bounds& b) override;
    ui::TextBox& addTextBox(const std::string& name, Container* parent, const Bounds& b) override;
    ui::ScrollBar& addScrollBar(const std::string& name, Container* parent, const Bounds& b) override;
    ui::ListView& addListView(const std::string& name, Container* parent, const Bounds& b) override;
    ui::Grid& addGrid(const std::string& name, Container* parent, const Bounds& b) override;
    ui::PictureBox& addPictureBox(const std::string& name, Container* parent, const Bounds& b) override;
    ui::Image& addImage(const std::string& name, Container* parent, const Bounds& b) override;

    // Marks the form shown and on top of the toolkit's stack, gives the focus to the first
    // tab stop when nothing has it yet, and hands the form to the toolkit's driver. When
    // the driver returns with the form still loaded, the form is closed as by its close
    // box. Showing a form that is already shown is error 400; an unloaded form is not shown.
    // An exception from the driver passes through (the form then stays loaded).
    void showModal() override;
    void unload() override;
    bool loaded() const override { return loaded_; }
    void doEvents() override {}
    bool shown() const noexcept { return shown_; }
    // Loaded and not behind another window shown modally.
    bool acceptsInput() const;

    // Controls by name: nullptr when there is none (or, typed, when it is of another kind).
    ui::Control* find(const std::string& name) const;
    template <class T>
    T* find(const std::string& name) const {
        return dynamic_cast<T*>(find(name));
    }
    // As find, but a missing control throws std::out_of_range naming it.
    template <class T>
    T& get(const std::string& name) const {
        if (T* c = find<T>(name)) return *c;
        throw std::out_of_range("form " + name_ + " has no such control: " + name);
    }
    std::vector<Widget*> controls() const;  // in creation order
    ui::Control* focused() const;
    // A control's bounds in the form's client coordinates.
    Bounds absoluteBounds(const ui::Control& control) const;
    // A readable, deterministic description of the window and every control: a line for the
    // window, then one per control in creation order, indented under its frame or picture
    // box: kind, name, left,top widthxheight, the flags hidden / disabled / notab / focus,
    // then its own state (caption, text and selection, value and range, default, cancel).
    // List rows, grid cells and drawn items follow on deeper-indented lines; "> " marks the
    // selected list row and [x] a checked one. Numbers have at most two decimals.
    std::string dump() const;

    // Runs what one user input (a click, a key, a mouse move) set off, and returns what
    // `input` returned. A failure its event handlers did not deal with goes to onError,
    // when the form has one, and the input counts as taken (true); without one it passes on.
    bool userInput(const std::function<bool()>& input);

    // User actions; false when the form takes no input (unloaded, behind a modal window).
    // A key goes where the keyboard sends it: Escape clicks a visible, enabled cancel
    // button, else reaches the focused control; Enter clicks a focused button, else the
    // default button, else reaches the focused control; Tab moves the focus to the next tab
    // stop; other keys reach the focused control.
    bool userKey(int code);
    // A key going down (vk codes): the form's onKeyDown sees it first; Tab moves the focus
    // to the next tab stop, or with Shift to the one before; other keys go down in the
    // focused control, and with Ctrl a letter then types its control character there.
    bool userKeyDown(int keyCode, int shift);
    // Outer size; sizable tool windows only. Raises onResize once.
    bool userResize(double width, double height);
    bool userMinimize();
    bool userRestore();
    // The close box: unloads.
    bool userClose();

private:
    friend class Widget;
    friend class Button;

    double frameX() const { return style_ == FormStyle::Dialog ? kDialogFrameX : kToolFrameX; }
    double frameY() const { return style_ == FormStyle::Dialog ? kDialogFrameY : kToolFrameY; }
    Widget* containerOf(Container* parent) const;
    template <class T>
    T& adopt(std::unique_ptr<T> control);
    Widget* widgetOf(const ui::Control& control) const;

    // Focus moves: validation of the text box the user left (its onValidate, which can
    // keep the focus there) unless the new control does not cause validation, then the new
    // control's onGotFocus. True when the move was not refused, even when onGotFocus moved
    // the focus on.
    bool moveFocus(Widget& to);
    void focusFirstTabStop();
    void focusNextTabStop(bool backward = false);
    void dropFocusWithin(Widget& w);  // a control hidden or disabled loses the focus
    void deliverKey(int code);
    int nextZOrder() { return ++zCounter_; }
    void describeChildren(const Widget* container, int depth, std::string& out) const;

    Toolkit& toolkit_;
    std::string name_;
    FormStyle style_;
    Font font_;
    std::string caption_;
    double clientWidth_;
    double clientHeight_;
    bool minimized_ = false;
    bool loaded_ = true;
    bool unloading_ = false;
    bool shown_ = false;
    bool validating_ = false;
    int zCounter_ = 0;
    std::vector<std::unique_ptr<Widget>> widgets_;
    std::map<std::string, Widget*> byName_;
    Widget* focus_ = nullptr;
    // The control whose validation waits while the focus is on controls that do not cause
    // validation.
    Widget* validationDue_ = nullptr;
    Button* cancelButton_ = nullptr;
    Button* defaultButton_ = nullptr;
};

}  // namespace qm::ui::headless
