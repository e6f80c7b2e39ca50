// One connection of the add-in to Excel.
#include "com/connection.h"

#include "win32/ui/form.h"

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

Connection::Connection(ComPtr<IDispatch> application)
    : session_(std::make_shared<Session>()),
      application_(wrap<ComApplication>(std::move(application), session_)),
      // A message box raised inside a modal window belongs to it: owned by the disabled
      // Excel window instead, it would leave the add-in's window clickable underneath.
      services_([this, app = application_.get()] {
          if (HWND modal = toolkit_.activeModalWindow()) return modal;
          return excelMainWindow(*app);
      }),
      toolkit_([app = application_.get()] { return excelMainWindow(*app); }),
      core_(services_.services(), toolkit_) {}

void Connection::connect(IDispatch* addInInst) {
    ComAddIn record(Dispatch(ComPtr<IDispatch>::share(addInInst), session_));
    core_.onConnection(application_, record);
}

void Connection::disconnect() noexcept { core_.onDisconnection(); }

void Connection::closeWindows() noexcept {
    try {
        // A copy: the toolkit forgets each window once its modal loop has ended.
        const std::vector<win32::ui::Form*> shown = toolkit_.shownForms();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
            try {
                (*it)->unload();
            } catch (...) {
                // The window is closed even when its unload handler failed.
            }
        }
    } catch (...) {
        // Out of memory for the copy: the windows stay until the user closes them.
    }
}

}  // namespace qm::com
