// Common behaviour of the Win32 controls: window creation, subclassing, focus on clicks,
// visibility and the container chain.
#include "win32/ui/widget.h"

#include <exception>

#include "core/host/error.h"
#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

void reportSwallowed(const char* where) noexcept {
    try {
        std::string text = std::string("Quillmark: failure in ") + where;
        try {
            throw;
        } catch (const qm::host::HostError& e) {
            text += ": (" + std::to_string(e.number()) + ") " + e.description();
        } catch (const std::exception& e) {
            text += ": ";
            text += e.what();
        } catch (...) {
        }
        text += "\n";
        ::OutputDebugStringW(toUtf16(text).c_str());
    } catch (...) {
        ::OutputDebugStringW(L"Quillmark: failure in a window procedure\n");
    }
}

Widget::Widget(Form& form, Widget* container, Kind kind, std::string name, const Bounds& bounds)
    : name_(std::move(name)), bounds_(bounds), fontSpec_(form.fontSpec()), form_(form), container_(container), kind_(kind) {}

Widget::~Widget() {
    // The form destroys its window, and with it every control's, before its controls go;
    // this is for a control whose window outlived that.
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Widget::createWindow(const wchar_t* className, DWORD style, DWORD exStyle, const std::wstring& text) {
    Toolkit& tk = form_.toolkit();
    HWND parent = container_ ? container_->containerWindow() : form_.hwnd();
    const bool own = className == tk.controlClass();
    if (visible_) style |= WS_VISIBLE;
    if (!enabled_) style |= WS_DISABLED;
    HWND hwnd = ::CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS, tk.pixelsX(bounds_.left),
                                  tk.pixelsY(bounds_.top), tk.pixelsX(bounds_.width), tk.pixelsY(bounds_.height), parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(form_.nextId())), tk.instance(),
                                  own ? this : nullptr);
    if (!hwnd) {
        throw platform::PlatformError("cannot create the window of " + name_ + ": " + errorText(::GetLastError()));
    }
    if (!own) {
        hwnd_ = hwnd;
        ++tk.tally().userObjects;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        original_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Widget::subclassProc)));
    }
    form_.registerWindow(hwnd_, *this);
    automation::setName(hwnd_, name_);
    // The form model draws windowless controls (labels, images) under windowed ones, and
    // a later control over an earlier one; a new child window starts at the bottom.
    const bool windowless = kind_ == Kind::Label || kind_ == Kind::Image;
    ::SetWindowPos(hwnd_, windowless ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    applyFont(fontSpec_);
}

LRESULT CALLBACK Widget::classProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        auto* self = reinterpret_cast<Widget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_NCCREATE) {
            self = static_cast<Widget*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            if (self) {
                self->hwnd_ = hwnd;
                ++self->form_.toolkit().tally().userObjects;
                ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            }
        }
        if (self) return self->message(msg, wParam, lParam);
    } catch (...) {
        if (auto* self = reinterpret_cast<Widget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            self->form_.eventFailed("a control's window procedure");
        } else {
            reportSwallowed("a control's window procedure");
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Widget::subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<Widget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    try {
        if (self) return self->message(msg, wParam, lParam);
    } catch (...) {
        self->form_.eventFailed("a control's window procedure");
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT Widget::defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (original_) return ::CallWindowProcW(original_, hwnd_, msg, wParam, lParam);
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Widget::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != 0 && msg == form_.toolkit().describeMessage()) return automation::answer(automationDescription(), wParam, lParam);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (focusable()) {
                // The focus moves first, running the validation of the control losing it;
                // when that keeps it, the click does not happen.
                if (!form_.userFocus(*this)) return 0;
                clicking_ = true;
                const LRESULT r = defaultProc(msg, wParam, lParam);
                clicking_ = false;
                return r;
            }
            break;
        case WM_SETFOCUS:
            if (clicking_ && form_.focusWidget() != this) {
                // The control's own click handling took the focus back after onGotFocus
                // had handed it on: it goes where the form put it.
                const LRESULT r = defaultProc(msg, wParam, lParam);
                form_.applyFocus();
                return r;
            }
            form_.focusArrived(*this);
            break;
        case WM_NCDESTROY: {
            automation::clearName(hwnd_);
            const LRESULT r = defaultProc(msg, wParam, lParam);
            form_.unregisterWindow(hwnd_);
            if (original_) ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            --form_.toolkit().tally().userObjects;
            hwnd_ = nullptr;
            original_ = nullptr;
            return r;
        }
        default:
            break;
    }
    return defaultProc(msg, wParam, lParam);
}

bool Widget::notification(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        result = reinterpret_cast<LRESULT>(backgroundBrush(reinterpret_cast<HDC>(lParam)));
        return true;
    }
    return false;
}

HBRUSH Widget::backgroundBrush(HDC dc) {
    uint32_t back = qm::ui::kColorButtonFace;
    if (container_ && container_->kind() == Kind::PictureBox) {
        back = dynamic_cast<qm::ui::PictureBox&>(container_->control()).backColor();
    }
    ::SetBkColor(dc, toColorRef(back));
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    return form_.brush(back);
}

std::string Widget::automationDescription() const {
    automation::Writer w;
    w.record("control").text(kindName(kind_)).text(name_);
    w.record("container").text(container_ ? container_->name_ : std::string());
    w.record("bounds").number(bounds_.left).number(bounds_.top).number(bounds_.width).number(bounds_.height);
    w.record("tabstop").flag(tabStop_);
    w.record("focusable").flag(focusable());
    describeOwn(w);
    return w.str();
}

bool Widget::usable() const {
    for (const Widget* w = this; w; w = w->container_) {
        if (!w->visible_ || !w->enabled_) return false;
    }
    return true;
}

bool Widget::acceptsInput() const { return usable() && form_.acceptsInput(); }

void Widget::placeWindow() {
    if (!hwnd_) return;
    const Toolkit& tk = form_.toolkit();
    ::SetWindowPos(hwnd_, nullptr, tk.pixelsX(bounds_.left), tk.pixelsY(bounds_.top), std::max(0, tk.pixelsX(bounds_.width)),
                   std::max(0, tk.pixelsY(bounds_.height)), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Widget::applyShown() {
    if (hwnd_) ::ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void Widget::applyEnabled() {
    if (hwnd_) ::EnableWindow(hwnd_, enabled_ ? TRUE : FALSE);
}

void Widget::setShown(bool v) {
    visible_ = v;
    if (!v) form_.dropFocusWithin(*this);
    applyShown();
}

void Widget::setUsableFlag(bool v) {
    enabled_ = v;
    if (!v) form_.dropFocusWithin(*this);
    applyEnabled();
}

void Widget::focusFromCode() {
    if (!form_.loaded()) return;
    // The form model refuses the focus to a hidden or disabled control with error 5.
    if (!canTakeFocus()) {
        throw qm::host::HostError(qm::host::err::kInvalidCall, qm::host::standardDescription(qm::host::err::kInvalidCall) +
                                                                   " (" + name_ + " cannot take the focus)");
    }
    form_.moveFocus(*this);
}

bool Widget::isFocused() const { return form_.focusWidget() == this; }

void Widget::moveToFront() {
    if (hwnd_) ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Widget::applyFont(const qm::ui::Font& f) {
    fontSpec_ = f;
    font_ = form_.font(f);
    if (hwnd_) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

}  // namespace qm::win32::ui
