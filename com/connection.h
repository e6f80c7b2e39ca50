// Everything one connection of the add-in to Excel is made of: the adapter over Excel's
// Application, the Windows platform services, the windows toolkit and the add-in core.
// Made by OnConnection, taken down by OnDisconnection.
#pragma once

#include <memory>

#include "com/adapters.h"
#include "core/addin/connect.h"
#include "win32/clipboard.h"
#include "win32/files.h"
#include "win32/locale.h"
#include "win32/settings_registry.h"
#include "win32/shell.h"
#include "win32/ui/toolkit.h"

namespace qm::com {

// The platform services of the DLL. Message boxes and the colour dialog belong to the
// window the owner function finds at each use: the add-in's innermost modal window, else
// Excel's main window (its caption changes with the workbook).
class DllServices {
public:
    explicit DllServices(win32::OwnerWindow owner);
    platform::Services& services() noexcept { return services_; }

private:
    win32::RegistrySettingsStore settings_;
    win32::Win32Locale locale_;
    win32::Win32TempFiles temp_;
    win32::Win32FileSystem files_;
    win32::Win32Shell shell_;
    win32::Win32Sound sound_;
    win32::Win32MessageBox messageBox_;
    win32::Win32ColorChooser colors_;
    win32::Win32Clipboard clipboard_;
    win32::Win32WindowFinder windows_;
    platform::Services services_;
};

// The main window of the Excel whose Application is `app`: class XLMAIN with the
// application's caption. Null when it cannot be found.
HWND excelMainWindow(host::Application& app) noexcept;

class Connection {
public:
    explicit Connection(ComPtr<IDispatch> application);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The core's OnConnection; throws what it throws (the connection then failed and the
    // core has already taken down what it built).
    void connect(IDispatch* addInInst);
    // The core's OnDisconnection: takes down the add-in's bars and lets go of every
    // reference into Excel. Never throws.
    void disconnect() noexcept;
    // Unloads the windows shown modally, innermost first: a disconnection that must wait
    // for the click that showed them to return must not wait for the user too.
    void closeWindows() noexcept;

    const std::shared_ptr<Session>& session() const noexcept { return session_; }

private:
    std::shared_ptr<Session> session_;
    std::shared_ptr<ComApplication> application_;
    DllServices services_;
    win32::ui::Toolkit toolkit_;
    addin::Connect core_;
};

}  // namespace qm::com
