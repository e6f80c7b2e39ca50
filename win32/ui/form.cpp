// The Win32 window: creation, size, controls, focus, the modal loop and unloading.
#include "win32/ui/form.h"

#include <algorithm>
#include <cmath>

#include "core/host/error.h"
#include "win32/ui/controls.h"
#include "win32/ui/grid.h"
#include "win32/ui/list_view.h"
#include "win32/ui/picture_box.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

constexpr int32_t kObjectAlreadyLoaded = 360;
constexpr int32_t kFormAlreadyDisplayed = 400;

void stylesFor(qm::ui::FormStyle style, DWORD& ws, DWORD& ex) {
    if (style == qm::ui::FormStyle::SizableToolWindow) {
        // A tool window has no minimise or maximise box.
        ws = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
        ex = WS_EX_TOOLWINDOW;
    } else {
        ws = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        ex = WS_EX_DLGMODALFRAME;
    }
}

std::vector<std::wstring> linesOf(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

}  // namespace

Form::Form(Toolkit& toolkit, const qm::ui::FormSpec& layout)
    : toolkit_(toolkit),
      name_(layout.name),
      style_(layout.style),
      fontSpec_(layout.font),
      clientWidth_(std::max(0.0, layout.clientWidth)),
      clientHeight_(std::max(0.0, layout.clientHeight)) {
    DWORD ws = 0, ex = 0;
    stylesFor(style_, ws, ex);
    RECT r{0, 0, toolkit_.pixelsX(clientWidth_), toolkit_.pixelsY(clientHeight_)};
    ::AdjustWindowRectEx(&r, ws, FALSE, ex);
    frameX_ = (r.right - r.left - toolkit_.pixelsX(clientWidth_)) * toolkit_.twipsPerPixelX();
    frameY_ = (r.bottom - r.top - toolkit_.pixelsY(clientHeight_)) * toolkit_.twipsPerPixelY();
    ::CreateWindowExW(ex, toolkit_.formClass(), L"", ws, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                      toolkit_.ownerForNewWindow(), nullptr, toolkit_.instance(), this);
    if (!hwnd_) throw platform::PlatformError("cannot create the window " + name_ + ": " + errorText(::GetLastError()));
    automation::setName(hwnd_, name_);
}

Form::~Form() {
    destroyWindow();
    widgets_.clear();
    toolkit_.forget(*this);
}

void Form::destroyWindow() {
    releaseOwner();
    focus_ = nullptr;
    validationDue_ = nullptr;
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Form::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        auto* self = reinterpret_cast<Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_NCCREATE) {
            self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            ++self->toolkit_.tally().userObjects;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        if (self) return self->message(msg, wParam, lParam);
    } catch (...) {
        if (auto* self = reinterpret_cast<Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            self->eventFailed("a window procedure");
        } else {
            reportSwallowed("a window procedure");
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Form::eventFailed(const char* where) noexcept {
    try {
        if (!onError) {
            reportSwallowed(where);
            return;
        }
        const auto handler = onError;  // the handler may replace itself
        handler(std::current_exception());
    } catch (...) {
        reportSwallowed(where);
    }
}

LRESULT Form::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (msg != 0 && msg == toolkit_.describeMessage()) return automation::answer(automationDescription(), wParam, lParam);
    if (route(msg, wParam, lParam, result)) return result;
    switch (msg) {
        case WM_CLOSE:
            // The close box unloads the window, as its form does; it is not destroyed here.
            if (acceptsInput()) unload();
            return 0;
        case WM_SIZE:
            if (sizingFromCode_) return 0;
            if (wParam == SIZE_MINIMIZED) {
                if (!minimized_) {
                    minimized_ = true;
                    fireEvent(onResize);
                }
                return 0;
            }
            clientResized(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS:
            if (!placingFocus_ && focus_) applyFocus();
            return 0;
        case WM_ACTIVATE: {
            result = ::DefWindowProcW(hwnd_, msg, wParam, lParam);
            if (LOWORD(wParam) != WA_INACTIVE) applyFocus();
            return result;
        }
        case WM_NCDESTROY:
            automation::clearName(hwnd_);
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            --toolkit_.tally().userObjects;
            result = ::DefWindowProcW(hwnd_, msg, wParam, lParam);
            hwnd_ = nullptr;
            return result;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

bool Form::route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND from = nullptr;
    switch (msg) {
        case WM_NOTIFY: from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom; break;
        case WM_DRAWITEM: from = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR:
        case WM_VSCROLL:
        case WM_HSCROLL: from = reinterpret_cast<HWND>(lParam); break;
        default: return false;
    }
    Widget* w = widgetOf(from);
    return w && w->notification(msg, wParam, lParam, result);
}

Widget* Form::widgetOf(HWND hwnd) const {
    if (!hwnd) return nullptr;
    const auto it = byHwnd_.find(hwnd);
    return it == byHwnd_.end() ? nullptr : it->second;
}

std::string Form::automationDescription() const {
    automation::Writer w;
    w.record("form").text(name_);
    w.record("caption").text(caption_);
    w.record("style").text(style_ == qm::ui::FormStyle::Dialog ? "dialog" : "tool");
    w.record("outer").number(width()).number(height());
    w.record("client").number(clientWidth_).number(clientHeight_);
    w.record("loaded").flag(loaded_);
    w.record("shown").flag(shown_);
    w.record("minimized").flag(minimized_);
    w.record("focus").text(focus_ ? focus_->widgetName() : std::string());
    for (const auto& c : widgets_) {
        w.record("control").text(c->widgetName()).text(c->container() ? c->container()->widgetName() : std::string());
    }
    return w.str();
}

// ---------------------------------------------------------------- size and caption

void Form::setCaption(const std::string& text) {
    caption_ = text;
    if (hwnd_) ::SetWindowTextW(hwnd_, toUtf16(text).c_str());
}

double Form::twipsPerPixelX() const { return toolkit_.twipsPerPixelX(); }

void Form::setWidth(double w) {
    const double client = std::max(0.0, w - frameX_);
    if (client == clientWidth_) return;
    clientWidth_ = client;
    resizeWindow();
    fireEvent(onResize);
}

void Form::setHeight(double h) {
    const double client = std::max(0.0, h - frameY_);
    if (client == clientHeight_) return;
    clientHeight_ = client;
    resizeWindow();
    fireEvent(onResize);
}

void Form::resizeWindow() {
    if (!hwnd_ || minimized_) return;
    const int w = toolkit_.pixelsX(clientWidth_ + frameX_);
    const int h = toolkit_.pixelsY(clientHeight_ + frameY_);
    sizingFromCode_ = true;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizingFromCode_ = false;
}

void Form::clientResized(int widthPx, int heightPx) {
    const bool restored = minimized_;
    minimized_ = false;
    bool changed = restored;
    // The user's size, in whole pixels; a size set from code keeps its exact twips.
    if (widthPx != toolkit_.pixelsX(clientWidth_)) {
        clientWidth_ = widthPx * toolkit_.twipsPerPixelX();
        changed = true;
    }
    if (heightPx != toolkit_.pixelsY(clientHeight_)) {
        clientHeight_ = heightPx * toolkit_.twipsPerPixelY();
        changed = true;
    }
    if (changed) fireEvent(onResize);
}

double Form::textWidth(const std::string& text) const {
    HDC dc = ::GetDC(hwnd_);
    int widest = 0;
    {
        Selected font(dc, const_cast<Form*>(this)->font(fontSpec_));
        for (const std::wstring& line : linesOf(toUtf16(text))) {
            SIZE size{0, 0};
            ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    ::ReleaseDC(hwnd_, dc);
    return widest * toolkit_.twipsPerPixelX();
}

// ---------------------------------------------------------------- controls

Widget* Form::containerOf(qm::ui::Container* parent) const {
    if (parent == nullptr || parent == this) return nullptr;
    auto* w = dynamic_cast<Widget*>(parent);
    if (w == nullptr || &w->form() != this) {
        throw qm::host::HostError(qm::host::err::kInvalidCall, "Invalid procedure call or argument (container of another window)");
    }
    return w;
}

template <class T>
T& Form::adopt(std::unique_ptr<T> control) {
    T& ref = *control;
    byName_.emplace(control->name(), control.get());
    widgets_.push_back(std::move(control));
    return ref;
}

namespace {

template <class T>
std::unique_ptr<T> make(const std::map<std::string, Widget*>& byName, Form& form, Widget* container, const std::string& name,
                        const Bounds& b) {
    // A second control of the same name is refused before its window exists.
    if (byName.count(name) != 0) throw qm::host::HostError(kObjectAlreadyLoaded, "Object already loaded (" + name + ")");
    return std::make_unique<T>(form, container, name, b);
}

}  // namespace

qm::ui::Label& Form::addLabel(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<Label>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::Button& Form::addButton(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<Button>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::CheckBox& Form::addCheckBox(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<CheckBox>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::Frame& Form::addFrame(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<Frame>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::TextBox& Form::addTextBox(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<TextBox>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::ScrollBar& Form::addScrollBar(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<ScrollBar>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::ListView& Form::addListView(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<ListView>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::Grid& Form::addGrid(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<Grid>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::PictureBox& Form::addPictureBox(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<PictureBox>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::Image& Form::addImage(const std::string& name, qm::ui::Container* parent, const Bounds& b) {
    return adopt(make<Image>(byName_, *this, containerOf(parent), name, b));
}

qm::ui::Control* Form::find(const std::string& name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &it->second->control();
}

HWND Form::window(const std::string& controlName) const {
    const auto it = byName_.find(controlName);
    return it == byName_.end() ? nullptr : it->second->hwnd();
}

qm::ui::Control* Form::focused() const { return focus_ ? &focus_->control() : nullptr; }

HFONT Form::font(const qm::ui::Font& f) {
    const auto key = std::make_tuple(f.name, f.size, f.bold, f.italic, f.charset);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        const LOGFONTW lf = toolkit_.logFont(f);
        it = fonts_.emplace(key, GdiObject(::CreateFontIndirectW(&lf), toolkit_.tally())).first;
    }
    return it->second.font();
}

bool Form::exactFace(const qm::ui::Font& f) { return toolkit_.resolveFace(f.name, f.charset).exact; }

HBRUSH Form::brush(uint32_t color) {
    if (color & 0x80000000u) return ::GetSysColorBrush(static_cast<int>(color & 0xFFu));
    const COLORREF c = toColorRef(color);
    auto it = brushes_.find(c);
    if (it == brushes_.end()) it = brushes_.emplace(c, GdiObject(::CreateSolidBrush(c), toolkit_.tally())).first;
    return it->second.brush();
}

// ---------------------------------------------------------------- focus

bool Form::acceptsInput() const {
    const std::vector<Form*>& shown = toolkit_.shownForms();
    return loaded_ && (shown.empty() || shown.back() == this);
}

bool Form::userFocus(Widget& w) {
    if (!w.acceptsInput() || !w.focusable()) return false;
    return moveFocus(w);
}

bool Form::moveFocus(Widget& to) {
    if (focus_ == &to) {
        applyFocus();
        return true;
    }
    Widget* owed = validationOwed(validationDue_, focus_, to, to.causesValidationFlag());
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
        if (cancel && loaded_ && box->canTakeFocus()) focus_ = box;
        if (cancel || !loaded_) {
            applyFocus();
            return false;
        }
    }
    // The validation handler may have hidden or disabled the target.
    if (!to.canTakeFocus()) {
        applyFocus();
        return false;
    }
    focus_ = &to;
    applyFocus();
    fireEvent(to.control().onGotFocus);
    return true;
}

void Form::focusArrived(Widget& w) {
    if (placingFocus_ || focus_ == &w) return;
    if (!loaded_ || !w.focusable() || !moveFocus(w)) applyFocus();
}

void Form::applyFocus() {
    // Only a window the user is working in takes the focus: a hidden form would be
    // activated by it. The form's focus is put in place when it is shown or activated.
    if (!hwnd_ || !shown_ || !loaded_ || ::GetActiveWindow() != hwnd_) return;
    HWND target = focus_ && focus_->hwnd() ? focus_->hwnd() : hwnd_;
    if (::GetFocus() == target) return;
    placingFocus_ = true;
    ::SetFocus(target);
    placingFocus_ = false;
}

void Form::dropFocusWithin(Widget& w) {
    if (isWithin<Widget>(focus_, w)) focus_ = nullptr;
    if (isWithin<Widget>(validationDue_, w)) validationDue_ = nullptr;
    // Windows would leave the focus nowhere; the form keeps it, so its keys still work.
    HWND now = ::GetFocus();
    if (w.hwnd() && now && (now == w.hwnd() || ::IsChild(w.hwnd(), now))) {
        placingFocus_ = true;
        ::SetFocus(hwnd_);
        placingFocus_ = false;
    }
}

void Form::focusFirstTabStop() {
    for (const auto& w : widgets_) {
        if (w->canTakeFocus() && w->tabStopFlag()) {
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
        if (w.canTakeFocus() && w.tabStopFlag()) {
            moveFocus(w);
            return;
        }
    }
}

// ---------------------------------------------------------------- modal loop

bool Form::ownsWindow(HWND hwnd) const { return hwnd && (hwnd == hwnd_ || ::IsChild(hwnd_, hwnd)); }

bool Form::dialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !ownsWindow(msg.hwnd) || !acceptsInput()) return false;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    if (onKeyDown && !alt) {
        // The window's own keyboard commands come first; a key they take is not
        // translated, so it types no character in the control either.
        int keyCode = static_cast<int>(msg.wParam);
        const int shift = (::GetKeyState(VK_SHIFT) < 0 ? qm::ui::kShiftMask : 0) | (ctrl ? qm::ui::kCtrlMask : 0);
        fireEvent(onKeyDown, keyCode, shift);
        if (keyCode == 0 || !acceptsInput()) return true;
    }
    if (ctrl || alt) return false;
    switch (msg.wParam) {
        case VK_TAB:
            focusNextTabStop(::GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_ESCAPE:
            if (cancelButton_ && cancelButton_->usable()) {
                cancelButton_->press();
                return true;
            }
            return false;
        case VK_RETURN:
            // A focused button is the default button while it has the focus.
            if (auto* focusedButton = dynamic_cast<Button*>(focus_)) {
                focusedButton->press();
                return true;
            }
            if (defaultButton_ && defaultButton_->usable()) {
                defaultButton_->press();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void Form::pump(bool wait) {
    MSG msg;
    while (loaded_) {
        if (wait) {
            const BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
            if (r == -1) return;
            if (r == 0) {
                // Someone ends the thread's loop: the window closes, and the outer loop
                // gets the request too.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                unload();
                return;
            }
        } else if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            return;
        } else if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        try {
            if (dialogKey(msg)) continue;
        } catch (...) {
            eventFailed("a key of the window");
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Form::doEvents() { pump(false); }

void Form::showModal() {
    if (!loaded_) return;
    if (shown_) throw qm::host::HostError(kFormAlreadyDisplayed, "Form already displayed; can't show modally");
    shown_ = true;
    toolkit_.push(*this);
    struct Done {
        Form& f;
        ~Done() {
            f.releaseOwner();
            f.toolkit_.pop(f);
            f.shown_ = false;
            // Destroyed only now: the loop may have been inside one of its controls.
            if (!f.loaded_) f.destroyWindow();
        }
    } done{*this};

    HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    RECT area{};
    RECT own{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    if (!owner || !::GetWindowRect(owner, &own) || ::IsIconic(owner)) own = area;
    RECT me{};
    ::GetWindowRect(hwnd_, &me);
    const int w = me.right - me.left, h = me.bottom - me.top;
    const int x = std::clamp<int>((own.left + own.right - w) / 2, static_cast<int>(area.left), std::max<int>(area.left, area.right - w));
    const int y = std::clamp<int>((own.top + own.bottom - h) / 2, static_cast<int>(area.top), std::max<int>(area.top, area.bottom - h));
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (focus_ == nullptr) focusFirstTabStop();
    if (!loaded_) return;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        disabledOwner_ = owner;
    }
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    ::SetActiveWindow(hwnd_);
    applyFocus();
    pump(true);
    ::ShowWindow(hwnd_, SW_HIDE);
}

void Form::releaseOwner() {
    // The owner gets its input back before this window disappears, so that Windows gives
    // the activation to it rather than to another program's window.
    if (!disabledOwner_) return;
    ::EnableWindow(disabledOwner_, TRUE);
    if (hwnd_ && ::GetActiveWindow() == hwnd_) ::SetActiveWindow(disabledOwner_);
    disabledOwner_ = nullptr;
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
        if (shown_) {
            releaseOwner();
            if (hwnd_) {
                ::ShowWindow(hwnd_, SW_HIDE);
                ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
            }
        } else {
            destroyWindow();
        }
    };
    try {
        fireEvent(onUnload);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace qm::win32::ui
