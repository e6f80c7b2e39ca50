// The class factory of QuillmarkInExcel.Connect, handed out by DllGetClassObject.
#pragma once

#include <atomic>

#include "com/server_locks.h"
#include "win32/utf.h"

#include <unknwn.h>

namespace qm::com {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(ServerLocks& locks) noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    // A new add-in object; aggregation is not supported.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

private:
    ~ClassFactory();

    std::atomic<ULONG> references_{1};
    ServerLocks& locks_;
};

// DllGetClassObject for the add-in's class: its factory, asked for by `iid`.
HRESULT getClassObject(ServerLocks& locks, REFCLSID clsid, REFIID iid, void** out) noexcept;

}  // namespace qm::com
