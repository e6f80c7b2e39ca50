// Timer-driven steps inside modal loops, and user actions as window messages.
#include "tests/win32ui/driver.h"

#include <commctrl.h>

namespace qm::win32::ui::testing {

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr int kIdleTicksBeforeClosing = 300;

}  // namespace

ModalScript::ModalScript(Toolkit& toolkit, std::vector<Step> steps) : toolkit_(toolkit), steps_(std::move(steps)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuillmarkTestScript";
    ::RegisterClassW(&wc);  // a second registration fails harmlessly
    hwnd_ = ::CreateWindowExW(0, L"QuillmarkTestScript", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetTimer(hwnd_, kTimer, 1, nullptr);
}

ModalScript::~ModalScript() {
    ::KillTimer(hwnd_, kTimer);
    ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK ModalScript::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        if (auto* self = reinterpret_cast<ModalScript*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) self->tick();
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void ModalScript::tick() {
    // Steps act on a window shown modally: not on one still loading (its DoEvents lets
    // this timer run too).
    if (!toolkit_.activeModalWindow()) return;
    if (next_ < steps_.size()) {
        // The step may run a nested loop (a window it opens): it must not run again there.
        const Step step = steps_[next_++];
        again_ = false;
        step();
        if (again_) --next_;
        return;
    }
    if (toolkit_.activeModalWindow() && ++idleTicks_ > kIdleTicksBeforeClosing) {
        timedOut_ = true;
        ::PostMessageW(toolkit_.activeModalWindow(), WM_CLOSE, 0, 0);
    }
}

void postClick(HWND hwnd, int x, int y) {
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void postDoubleClick(HWND hwnd, int x, int y) {
    postClick(hwnd, x, y);
    ::PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void postChars(HWND hwnd, const std::wstring& text) {
    for (wchar_t c : text) ::PostMessageW(hwnd, WM_CHAR, c, 1);
}

void postKey(HWND hwnd, UINT vk) {
    const UINT scan = ::MapVirtualKeyW(vk, 0);
    ::PostMessageW(hwnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    ::PostMessageW(hwnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void postButton(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void sendDrag(HWND hwnd, POINT from, POINT to, int steps) {
    // Screen points, converted to the window's client area at each message, as the
    // system converts the mouse's position.
    ::ClientToScreen(hwnd, &from);
    ::ClientToScreen(hwnd, &to);
    auto client = [hwnd](POINT p) {
        ::ScreenToClient(hwnd, &p);
        return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y));
    };
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, client(from));
    for (int i = 1; i <= steps; ++i) {
        const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, client(p));
    }
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, client(to));
}

RECT listRow(HWND list, int index) {
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
    return rc;
}

POINT listCheckBox(HWND list, int index) {
    const RECT rc = listRow(list, index);
    // The state image is the first 16 pixels of the row; ask the list view to be sure.
    for (int x = rc.left; x < rc.left + 24; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = {x, (rc.top + rc.bottom) / 2};
        ::SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem == index && (hit.flags & LVHT_ONITEMSTATEICON)) return hit.pt;
    }
    return POINT{rc.left + 8, (rc.top + rc.bottom) / 2};
}

POINT centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

namespace {

BOOL CALLBACK countChild(HWND, LPARAM param) {
    ++*reinterpret_cast<int*>(param);
    return TRUE;
}

BOOL CALLBACK countTop(HWND hwnd, LPARAM param) {
    ++*reinterpret_cast<int*>(param);
    ::EnumChildWindows(hwnd, countChild, param);
    return TRUE;
}

}  // namespace

int threadWindowCount() {
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), countTop, reinterpret_cast<LPARAM>(&n));
    return n;
}

}  // namespace qm::win32::ui::testing
