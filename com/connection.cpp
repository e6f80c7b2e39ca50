// One connection of the add-in to Excel.
#include "com/connection.h"

namespace qm::com {

DllServices::DllServices(win32::OwnerWindow owner)
    : messageBox_(owner),
      colors_(owner),
      services_{settings_, locale_, temp_, files_, shell_, sound_, messageBox_, colors_, clipboard_, windows_} {}

HWND excelMainWindow(host::Application& app) noexcept {
    try {
        return ::FindWindowA("XLMAIN", win32::utf8ToAnsi(app.caption()).c_str());
    } catch (...) {
        return nullptr;  // an unowned message box is better than none
    }
}

namespace {

// Modal windows of the headless toolkit are closed as soon as they open. The add-in's
// windows get their Win32 toolkit here; until then a window that would wait for a user
// who cannot see it must not hang Excel.
void closeAtOnce(ui::headless::Form& form) { form.unload(); }

}  // namespace

Connection::Connection(ComPtr<IDispatch> application)
    : session_(std::make_shared<Session>()),
      application_(wrap<ComApplication>(std::move(application), session_)),
      services_([app = application_.get()] { return excelMainWindow(*app); }),
      toolkit_(closeAtOnce),
      core_(services_.services(), toolkit_) {}

void Connection::connect(IDispatch* addInInst) {
    ComAddIn record(Dispatch(ComPtr<IDispatch>::share(addInInst), session_));
    core_.onConnection(application_, record);
}

void Connection::disconnect() noexcept { core_.onDisconnection(); }

}  // namespace qm::com
