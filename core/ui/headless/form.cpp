// The headless window: controls, focus, keys, modal showing and the text dump.
#include "core/ui/headless/form.h"

#include <algorithm>

#include "core/host/error.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/metrics.h"
#include "core/ui/headless/toolkit.h"

namespace qm::ui::headless {

namespace {

constexpr int kTab = 9;
constexpr int32_t kObjectAlreadyLoaded = 360;
constexpr int32_t kFormAlreadyDisplayed = 400;

}  // namespace

Form::Form(Toolkit& toolkit, const FormSpec& layout)
    : toolkit_(toolkit),
      name_(layout.name),
      style_(layout.style),
      font_(layout.font),
      clientWidth_(std::max(0.0, layout.clientWidth)),
      clientHeight_(std::max(0.0, layout.clientHeight)) {
    toolkit_.forms_.push_back(this);
}

Form::~Form() { toolkit_.forget(*this); }

void Form::setWidth(double w) {
    const double client = std::max(0.0, w - frameX());
    if (client == clientWidth_) return;
    clientWidth_ = client;
    fireEvent(onResize);
}

void Form::setHeight(double h) {
    const double client = std::max(0.0, h - frameY());
    if (client == clientHeight_) return;
    clientHeight_ = client;
    fireEvent(onResize);
}

double Form::textWidth(const std::string& text) const { return textWidthTwips(font_, text); }

Widget* Form::containerOf(Container* parent) const {
    if (parent == nullptr || parent == this) return nullptr;
    auto* w = dynamic_cast<Widget*>(parent);
    if (w == nullptr || &w->form() != this) {
        throw host::HostError(host::err::kInvalidCall, "Invalid procedure call or argument (container of another window)");
    }
    return w;
}

template <class T>
T& Form::adopt(std::unique_ptr<T> control) {
    const std::string& name = control->name();
    if (byName_.count(name) != 0) throw host::HostError(kObjectAlreadyLoaded, "Object already loaded (" + name + ")");
    T& ref = *control;
    byName_.emplace(name, control.get());
    widgets_.push_back(std::move(control));
    return ref;
}

ui::Label& Form::addLabel(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<Label>(*this, containerOf(parent), name, b));
}

ui::Button& Form::addButton(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<Button>(*this, containerOf(parent), name, b));
}

ui::CheckBox& Form::addCheckBox(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<CheckBox>(*this, containerOf(parent), name, b));
}

ui::Frame& Form::addFrame(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<Frame>(*this, containerOf(parent), name, b));
}

ui::TextBox& Form::addTextBox(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<TextBox>(*this, containerOf(parent), name, b));
}

ui::ScrollBar& Form::addScrollBar(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<ScrollBar>(*this, containerOf(parent), name, b));
}

ui::ListView& Form::addListView(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<ListView>(*this, containerOf(parent), name, b));
}

ui::Grid& Form::addGrid(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<Grid>(*this, containerOf(parent), name, b));
}

ui::PictureBox& Form::addPictureBox(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<PictureBox>(*this, containerOf(parent), name, b));
}

ui::Image& Form::addImage(const std::string& name, Container* parent, const Bounds& b) {
    return adopt(std::make_unique<Image>(*this, containerOf(parent), name, b));
}

void Form::showModal() {
    if (!loaded_) return;
    if (shown_) throw host::HostError(kFormAlreadyDisplayed, "Form already displayed; can't show modally");
    shown_ = true;
    toolkit_.push(*this);
    try {
        if (focus_ == nullptr) focusFirstTabStop();
        if (loaded_) toolkit_.runModal(*this);
        // The driver is done with the window: it closes as by its close box.
        unload();
    } catch (...) {
        toolkit_.pop(*this);
        shown_ = false;
        throw;
    }
    toolkit_.pop(*this);
    shown_ = false;
}

void Form::unload() {
    if (!loaded_ || unloading_) return;
    unloading_ = true;
    // The window is still there while onUnload runs; it is gone afterwards even when the
    // handler fails.
    const auto finish = [this] {
        loaded_ = false;
        unloading_ = false;
        focus_ = nullptr;
        validationDue_ = nullptr;
    };
    try {
        fireEvent(onUnload);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool Form::acceptsInput() const {
    const std::vector<Form*>& shown = toolkit_.shownForms();
    return loaded_ && (shown.empty() || shown.back() == this);
}

ui::Control* Form::find(const std::string& name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &it->second->control();
}

std::vector<Widget*> Form::controls() const {
    std::vector<Widget*> out;
    out.reserve(widgets_.size());
    for (const auto& w : widgets_) out.push_back(w.get());
    return out;
}

ui::Control* Form::focused() const { return focus_ ? &focus_->control() : nullptr; }

Widget* Form::widgetOf(const ui::Control& control) const {
    for (const auto& w : widgets_) {
        if (&w->control() == &control) return w.get();
    }
    return nullptr;
}

Bounds Form::absoluteBounds(const ui::Control& control) const {
    const Widget* w = widgetOf(control);
    if (w == nullptr) throw std::invalid_argument("control " + control.name() + " is not on form " + name_);
    Bounds b = control.bounds();
    for (const Widget* c = w->container(); c; c = c->container()) {
        b.left += c->bounds_.left + c->clientInset();
        b.top += c->bounds_.top + c->clientInset();
    }
    return b;
}

bool Form::moveFocus(Widget& to) {
    if (focus_ == &to) return true;
    Widget* owed = validationOwed(validationDue_, focus_, to, to.causesValidation_);
    if (auto* box = dynamic_cast<TextBox*>(owed); box && box->onValidate && !validating_) {
        // A validation handler that moves the focus itself must not validate again.
        bool cancel = false;
        validating_ = true;
        try {
            fireEvent(box->onValidate, cancel);
        } catch (...) {
            validating_ = false;
            throw;
        }
        validating_ = false;
        if (!loaded_) return false;
        if (cancel) {
            if (box->canTakeFocus()) focus_ = box;
            return false;
        }
    }
    // The validation handler may have hidden or disabled the target.
    if (!to.canTakeFocus()) return false;
    focus_ = &to;
    fireEvent(to.control().onGotFocus);
    return true;
}

void Form::focusFirstTabStop() {
    for (const auto& w : widgets_) {
        if (w->canTakeFocus() && w->tabStop_) {
            moveFocus(*w);
            return;
        }
    }
}

void Form::focusNextTabStop(bool backward) {
    if (widgets_.empty()) return;
    const size_t n = widgets_.size();
    const auto current = std::find_if(widgets_.begin(), widgets_.end(), [this](const auto& w) { return w.get() == focus_; });
    const size_t start = current == widgets_.end() ? (backward ? 0 : n - 1) : static_cast<size_t>(current - widgets_.begin());
    for (size_t step = 1; step <= n; ++step) {
        Widget& w = *widgets_[backward ? (start + n - step) % n : (start + step) % n];
        if (w.canTakeFocus() && w.tabStop_) {
            moveFocus(w);
            return;
        }
    }
}

void Form::dropFocusWithin(Widget& w) {
    if (isWithin<Widget>(focus_, w)) focus_ = nullptr;
    if (isWithin<Widget>(validationDue_, w)) validationDue_ = nullptr;
}

void Form::deliverKey(int code) {
    if (code == key::kEscape && cancelButton_ && cancelButton_->usable()) {
        cancelButton_->press();
        return;
    }
    if (code == key::kEnter) {
        // A focused button is the default button while it has the focus.
        if (auto* focusedButton = dynamic_cast<Button*>(focus_)) {
            focusedButton->press();
            return;
        }
        if (defaultButton_ && defaultButton_->usable()) {
            defaultButton_->press();
            return;
        }
    }
    if (code == kTab) {
        focusNextTabStop();
        return;
    }
    if (focus_) focus_->keyPress(code);
}

bool Form::userInput(const std::function<bool()>& input) {
    try {
        return input();
    } catch (...) {
        if (!onError) throw;
        const auto handler = onError;  // the handler may replace itself
        handler(std::current_exception());
        return true;
    }
}

bool Form::userKey(int code) {
    return userInput([&] {
        if (!acceptsInput()) return false;
        deliverKey(code);
        return true;
    });
}

bool Form::userKeyDown(int keyCode, int shift) {
    return userInput([&] {
        if (!acceptsInput()) return false;
        if (onKeyDown) {
            fireEvent(onKeyDown, keyCode, shift);
            if (keyCode == 0 || !acceptsInput()) return true;
        }
        if (keyCode == vk::kTab && (shift & kCtrlMask) == 0) {
            focusNextTabStop((shift & kShiftMask) != 0);
        } else if (focus_) {
            focus_->keyDown(keyCode, shift);
            // Ctrl with a letter types its control character (Ctrl+Z is 26).
            if ((shift & kCtrlMask) != 0 && keyCode >= 'A' && keyCode <= 'Z' && focus_) focus_->keyPress(keyCode - 'A' + 1);
        }
        return true;
    });
}

bool Form::userResize(double width, double height) {
    return userInput([&] {
        if (!acceptsInput() || minimized_ || style_ != FormStyle::SizableToolWindow) return false;
        const double w = std::max(0.0, width - frameX()), h = std::max(0.0, height - frameY());
        if (w == clientWidth_ && h == clientHeight_) return true;
        clientWidth_ = w;
        clientHeight_ = h;
        fireEvent(onResize);
        return true;
    });
}

bool Form::userMinimize() {
    return userInput([&] {
        if (!acceptsInput() || minimized_ || style_ != FormStyle::SizableToolWindow) return false;
        minimized_ = true;
        fireEvent(onResize);
        return true;
    });
}

bool Form::userRestore() {
    return userInput([&] {
        if (!acceptsInput() || !minimized_) return false;
        minimized_ = false;
        fireEvent(onResize);
        return true;
    });
}

bool Form::userClose() {
    return userInput([&] {
        if (!acceptsInput()) return false;
        unload();
        return true;
    });
}

void Form::describeChildren(const Widget* container, int depth, std::string& out) const {
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    for (const auto& w : widgets_) {
        if (w->container() != container) continue;
        const Bounds& b = w->bounds_;
        std::string line = indent + kindName(w->kind()) + " " + w->name_ + " " + formatNumber(b.left) + "," +
                           formatNumber(b.top) + " " + formatNumber(b.width) + "x" + formatNumber(b.height);
        if (!w->visible_) line += " hidden";
        if (!w->enabled_) line += " disabled";
        if (w->focusable() && !w->tabStop_) line += " notab";
        if (w.get() == focus_) line += " focus";
        std::vector<std::string> details;
        w->describe(line, details);
        out += line + "\n";
        for (const std::string& d : details) out += indent + "    " + d + "\n";
        describeChildren(w.get(), depth + 1, out);
    }
}

std::string Form::dump() const {
    std::string out = "form " + name_ + " " + quoted(caption_) +
                      (style_ == FormStyle::Dialog ? " dialog" : " tool") + " outer " + formatNumber(width()) + "x" +
                      formatNumber(height()) + " client " + formatNumber(clientWidth_) + "x" + formatNumber(clientHeight_);
    out += loaded_ ? " loaded" : " unloaded";
    if (shown_) out += " shown";
    if (minimized_) out += " minimized";
    out += "\n";
    describeChildren(nullptr, 1, out);
    return out;
}

}  // namespace qm::ui::headless
