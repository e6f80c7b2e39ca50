// Common behaviour of the headless controls.
#include "core/ui/headless/widget.h"

#include "core/host/error.h"
#include "core/ui/headless/form.h"

namespace qm::ui::headless {

Widget::Widget(Form& form, Widget* container, Kind kind, std::string name, const Bounds& bounds)
    : name_(std::move(name)), bounds_(bounds), font_(form.font()), form_(form), container_(container), kind_(kind) {}

bool Widget::onScreen() const {
    for (const Widget* w = this; w; w = w->container_) {
        if (!w->visible_) return false;
    }
    return true;
}

bool Widget::usable() const {
    for (const Widget* w = this; w; w = w->container_) {
        if (!w->visible_ || !w->enabled_) return false;
    }
    return true;
}

bool Widget::acceptsInput() const { return usable() && form_.acceptsInput(); }

void Widget::keyPress(int) {}

void Widget::keyDown(int, int) {}

bool Widget::userInput(const std::function<bool()>& input) { return form_.userInput(input); }

void Widget::setShown(bool v) {
    visible_ = v;
    if (!v) form_.dropFocusWithin(*this);
}

void Widget::setUsableFlag(bool v) {
    enabled_ = v;
    if (!v) form_.dropFocusWithin(*this);
}

void Widget::focusFromCode() {
    if (!form_.loaded()) return;
    // The form model refuses the focus to a hidden or disabled control with error 5.
    if (!canTakeFocus()) {
        throw host::HostError(host::err::kInvalidCall,
                              host::standardDescription(host::err::kInvalidCall) + " (" + name_ + " cannot take the focus)");
    }
    form_.moveFocus(*this);
}

bool Widget::isFocused() const { return form_.focus_ == this; }

void Widget::moveToFront() { zOrder_ = form_.nextZOrder(); }

bool Widget::focusByUser() {
    if (!acceptsInput() || !focusable()) return false;
    return form_.moveFocus(*this);
}

bool Widget::keyByUser(int code) {
    if (!focusByUser()) return false;
    sendKey(code);
    return true;
}

void Widget::sendKey(int code) {
    if (form_.acceptsInput()) form_.deliverKey(code);
}

}  // namespace qm::ui::headless
