// Shell, sound, message boxes, window lookup and the colour dialog on Windows.
#include "win32/shell.h"

#include <commdlg.h>
#include <shellapi.h>

namespace qm::win32 {

namespace mb = platform::mb;

// The add-in's style and result numbers are the system's own.
static_assert(mb::kOkOnly == MB_OK && mb::kOkCancel == MB_OKCANCEL && mb::kYesNoCancel == MB_YESNOCANCEL &&
              mb::kYesNo == MB_YESNO);
static_assert(mb::kCritical == MB_ICONHAND && mb::kQuestion == MB_ICONQUESTION &&
              mb::kExclamation == MB_ICONEXCLAMATION && mb::kInformation == MB_ICONASTERISK);
static_assert(mb::kResultOk == IDOK && mb::kResultCancel == IDCANCEL && mb::kResultAbort == IDABORT &&
              mb::kResultRetry == IDRETRY && mb::kResultIgnore == IDIGNORE && mb::kResultYes == IDYES &&
              mb::kResultNo == IDNO);

namespace {

HWND ownerOf(const OwnerWindow& owner) { return owner ? owner() : nullptr; }

const char* nullIfEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

void Win32Shell::open(const std::string& address) {
    ::ShellExecuteA(nullptr, "open", utf8ToAnsi(address).c_str(), "", "", SW_SHOWNORMAL);
}

void Win32Sound::beep() { ::MessageBeep(MB_OK); }

int Win32MessageBox::show(const std::string& text, int style, const std::string& title) {
    int result = ::MessageBoxW(ownerOf(owner_), toUtf16(text).c_str(), toUtf16(title).c_str(),
                               static_cast<UINT>(style) | MB_SETFOREGROUND);
    // 0 means the box could not be shown; the answer that changes nothing is Cancel.
    return result == 0 ? mb::kResultCancel : result;
}

std::optional<platform::Rect> Win32WindowFinder::findWindowRect(const std::string& className,
                                                                const std::string& title) {
    const std::string ansiClass = utf8ToAnsi(className), ansiTitle = utf8ToAnsi(title);
    HWND window = ::FindWindowA(nullIfEmpty(ansiClass), nullIfEmpty(ansiTitle));
    RECT rect{};
    if (window == nullptr || !::GetWindowRect(window, &rect)) return std::nullopt;
    return platform::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

Win32ColorChooser::Win32ColorChooser(OwnerWindow owner) : owner_(std::move(owner)) {
    for (COLORREF& color : customColors_) color = RGB(255, 255, 255);
}

std::optional<int32_t> Win32ColorChooser::choose(std::optional<int32_t> initial) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ownerOf(owner_);
    dialog.lpCustColors = customColors_;
    if (initial) {
        dialog.rgbResult = static_cast<COLORREF>(*initial) & 0x00FFFFFF;
        dialog.Flags = CC_RGBINIT;
    }
    if (!::ChooseColorW(&dialog)) return std::nullopt;
    return static_cast<int32_t>(dialog.rgbResult);
}

}  // namespace qm::win32
