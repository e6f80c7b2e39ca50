// Finding, reading and answering the dialog boxes of this process.
#include "sim/com/desktop.h"

#include <algorithm>

#include "win32/ui/automation.h"

namespace qm::fake {
namespace {

// The static control that holds a message box's text, on Windows and under Wine.
constexpr int kMessageTextId = 0xFFFF;
// The red, green and blue boxes of the common colour dialog.
constexpr int kColorBoxIds[3] = {706, 707, 708};
constexpr UINT kReplyTimeoutMs = 2000;

std::string windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return win32::toUtf8(text);
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct IconSearch {
    HWND found = nullptr;
};

BOOL CALLBACK findIconControl(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<IconSearch*>(param);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (::lstrcmpiW(className(child).c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The icon a message box shows, told by the system icon it holds.
int iconCodeOf(HWND dialog) {
    IconSearch search;
    ::EnumChildWindows(dialog, findIconControl, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 0;
    DWORD_PTR icon = 0;
    if (!::SendMessageTimeoutW(search.found, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &icon) || !icon) {
        return 0;
    }
    const struct {
        const wchar_t* id;
        int code;
    } kIcons[] = {{IDI_HAND, MB_ICONHAND},
                  {IDI_QUESTION, MB_ICONQUESTION},
                  {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                  {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& k : kIcons) {
        if (reinterpret_cast<HICON>(icon) == ::LoadIconW(nullptr, k.id)) return k.code;
    }
    return 0;
}

struct DialogSearch {
    DWORD process = 0;
    std::vector<HWND> found;
};

BOOL CALLBACK findDialogs(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process || !::IsWindowVisible(window)) return TRUE;
    const bool captioned = (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    if (className(window) == L"#32770" || captioned) search->found.push_back(window);
    return TRUE;
}

struct NamedSearch {
    std::string name;
    HWND found = nullptr;
};

BOOL CALLBACK findNamed(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<NamedSearch*>(param);
    if (win32::ui::automation::nameOf(child) != search->name) return TRUE;
    search->found = child;
    return FALSE;
}

}  // namespace

HWND findNamedChild(HWND parent, const std::string& name) {
    NamedSearch search{name, nullptr};
    ::EnumChildWindows(parent, findNamed, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool SeenDialog::hasButton(int id) const { return std::find(buttons.begin(), buttons.end(), id) != buttons.end(); }

int buttonsCodeOf(const std::vector<int>& b) {
    using V = std::vector<int>;
    if (b == V{IDOK}) return MB_OK;
    if (b == V{IDOK, IDCANCEL}) return MB_OKCANCEL;
    if (b == V{IDABORT, IDRETRY, IDIGNORE}) return MB_ABORTRETRYIGNORE;
    if (b == V{IDCANCEL, IDYES, IDNO}) return MB_YESNOCANCEL;
    if (b == V{IDYES, IDNO}) return MB_YESNO;
    if (b == V{IDCANCEL, IDRETRY}) return MB_RETRYCANCEL;
    if (b == V{IDCANCEL, IDTRYAGAIN, IDCONTINUE}) return MB_CANCELTRYCONTINUE;
    return -1;
}

DialogWatcher::DialogWatcher(Answer answer) : answer_(std::move(answer)), thread_([this] { run(); }) {}

DialogWatcher::~DialogWatcher() {
    stop_ = true;
    thread_.join();
}

void DialogWatcher::settle() { std::lock_guard<std::mutex> lock(busy_); }

void DialogWatcher::run() {
    while (!stop_) {
        scan();
        ::Sleep(2);
    }
}

void DialogWatcher::scan() {
    DialogSearch search;
    search.process = ::GetCurrentProcessId();
    ::EnumWindows(findDialogs, reinterpret_cast<LPARAM>(&search));
    // Forget dialogs that have closed, so that a new one is never mistaken for one answered.
    std::erase_if(handled_, [&](HWND h) { return std::find(search.found.begin(), search.found.end(), h) == search.found.end(); });
    for (HWND dialog : search.found) {
        // A form under a modal window of its own is the user's to use again once that closes.
        if (!::IsWindowEnabled(dialog) && className(dialog) != L"#32770") {
            handled_.erase(dialog);
            continue;
        }
        if (handled_.count(dialog)) continue;
        std::lock_guard<std::mutex> lock(busy_);
        answerDialog(dialog);
        handled_.insert(dialog);
    }
}

void DialogWatcher::answerDialog(HWND dialog) {
    SeenDialog seen;
    if (HWND owner = ::GetWindow(dialog, GW_OWNER)) seen.ownerName = win32::ui::automation::nameOf(owner);
    if (className(dialog) != L"#32770") {
        answerForm(dialog, seen);
        ++answered_;
        return;
    }
    // A dialog box's thread is inside the box's own loop: it answers WM_GETTEXT.
    seen.title = windowText(dialog);
    HWND text = ::GetDlgItem(dialog, kMessageTextId);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
        HWND button = ::GetDlgItem(dialog, id);
        if (button && ::IsWindowVisible(button)) seen.buttons.push_back(id);
    }
    // Labels of other dialogs may carry the message text's number too (IDC_STATIC); the
    // colour dialog is told by its colour boxes.
    seen.colorChooser = ::GetDlgItem(dialog, kColorBoxIds[0]) != nullptr;
    seen.messageBox = !seen.colorChooser && text != nullptr && !seen.buttons.empty();
    if (seen.messageBox) {
        seen.text = windowText(text);
        seen.buttonsCode = buttonsCodeOf(seen.buttons);
        seen.iconCode = iconCodeOf(dialog);
    }
    if (seen.colorChooser) {
        int rgb[3] = {};
        bool all = true;
        for (int i = 0; i < 3; ++i) {
            BOOL ok = FALSE;
            rgb[i] = static_cast<int>(::GetDlgItemInt(dialog, kColorBoxIds[i], &ok, FALSE));
            all = all && ok;
        }
        if (all) seen.color = RGB(rgb[0], rgb[1], rgb[2]);
    }
    Reply reply(IDCANCEL);
    try {
        if (answer_) reply = answer_(seen);
    } catch (...) {
        reply = Reply(IDCANCEL);
    }
    if (seen.colorChooser && reply.color) {
        // Typed into the boxes, as a user would: the dialog takes the colour from them.
        const int rgb[3] = {GetRValue(*reply.color), GetGValue(*reply.color), GetBValue(*reply.color)};
        for (int i = 0; i < 3; ++i) {
            const std::wstring digits = std::to_wstring(rgb[i]);
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(::GetDlgItem(dialog, kColorBoxIds[i]), WM_SETTEXT, 0,
                                  reinterpret_cast<LPARAM>(digits.c_str()), SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
        }
    }
    int press = reply.button;
    // A button the box lacks cannot be pressed; a user would press what is there.
    if (!seen.buttons.empty() && !seen.hasButton(press)) press = seen.hasButton(IDCANCEL) ? IDCANCEL : seen.buttons.front();
    HWND button = ::GetDlgItem(dialog, press);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ++answered_;
}

void DialogWatcher::answerForm(HWND form, SeenDialog& seen) {
    seen.form = true;
    seen.name = win32::ui::automation::nameOf(form);
    // Read without a message to the form's thread, which may be busy elsewhere while this
    // one holds the lock that thread may wait for.
    wchar_t title[256] = {};
    seen.title = win32::toUtf8(std::wstring_view(title, static_cast<size_t>(std::max(0, ::InternalGetWindowText(form, title, 256)))));
    Reply reply(IDCANCEL);
    try {
        if (answer_) reply = answer_(seen);
    } catch (...) {
        reply = Reply(IDCANCEL);
    }
    if (reply.leaveAlone) return;
    if (reply.controls.empty()) {
        // The close box.
        ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    for (const std::string& name : reply.controls) {
        HWND control = findNamedChild(form, name);
        if (!control) continue;
        // A click in the middle of the control, as the mouse makes it.
        RECT rc{};
        ::GetClientRect(control, &rc);
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(control, WM_LBUTTONUP, 0, at);
    }
}

}  // namespace qm::fake
