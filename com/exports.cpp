// The DLL's exported functions: what COM, regsvr32 and the installer call.
#include "com/class_factory.h"
#include "com/registration.h"
#include "com/server_locks.h"

namespace {

// The one piece of process-wide state a COM server has by its nature: DllCanUnloadNow
// must know whether any object or lock is alive, whoever made it.
// Constant-initialised, so no initialisation guard (and no threading runtime) is involved.
constinit qm::com::ServerLocks locks;

qm::com::ServerLocks& serverLocks() noexcept { return locks; }

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) noexcept {
    return qm::com::getClassObject(serverLocks(), clsid, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() noexcept { return serverLocks().canUnload() ? S_OK : S_FALSE; }

// Registration is per user, always: the installer runs without administrator rights.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() noexcept {
    try {
        return qm::com::registerServer(qm::com::thisModulePath());
    } catch (...) {
        return E_OUTOFMEMORY;  // the module's path could not be held
    }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() noexcept { return qm::com::unregisterServer(); }

// regsvr32 /n /i:user calls DllInstall(TRUE, L"user"); /u /n /i:user DllInstall(FALSE, L"user").
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) noexcept {
    return qm::com::install(install != FALSE, commandLine);
}
