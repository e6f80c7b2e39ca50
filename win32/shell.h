// The Windows shell and user-interface services: opening web addresses, the system beep,
// message boxes, finding another program's window, and the colour dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/platform/platform.h"
#include "win32/utf.h"

namespace qm::win32 {

// The window that owns the add-in's message boxes and dialogs (the host's main window),
// asked for each time one opens; null makes them unowned.
using OwnerWindow = std::function<HWND()>;

class Win32Shell : public platform::Shell {
public:
    // ShellExecute "open"; the result is ignored.
    void open(const std::string& address) override;
};

class Win32Sound : public platform::Sound {
public:
    void beep() override;  // MessageBeep(MB_OK)
};

class Win32MessageBox : public platform::MessageBox {
public:
    explicit Win32MessageBox(OwnerWindow owner = {}) : owner_(std::move(owner)) {}
    // MessageBoxW, brought to the foreground; returns the button's IDOK..IDNO number.
    int show(const std::string& text, int style, const std::string& title) override;

private:
    OwnerWindow owner_;
};

class Win32WindowFinder : public platform::WindowFinder {
public:
    // FindWindow then GetWindowRect. An empty class name or title matches any.
    std::optional<platform::Rect> findWindowRect(const std::string& className, const std::string& title) override;
};

class Win32ColorChooser : public platform::ColorChooser {
public:
    explicit Win32ColorChooser(OwnerWindow owner = {});
    // ChooseColor, starting at `initial` when given; nothing when the user cancels.
    std::optional<int32_t> choose(std::optional<int32_t> initial) override;

private:
    OwnerWindow owner_;
    COLORREF customColors_[16];  // the dialog's custom colours, kept from one use to the next
};

}  // namespace qm::win32
