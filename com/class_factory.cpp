// The class factory.
#include "com/class_factory.h"

#include <new>

#include "com/connect_object.h"
#include "com/errors.h"
#include "com/identity.h"

namespace qm::com {

ClassFactory::ClassFactory(ServerLocks& locks) noexcept : locks_(locks) { locks_.objectCreated(); }

ClassFactory::~ClassFactory() { locks_.objectDestroyed(); }

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() noexcept { return ++references_; }

ULONG ClassFactory::Release() noexcept {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return guarded(kErrorSource, [&] {
        auto object = ComPtr<ConnectObject>::adopt(new ConnectObject(locks_));
        return object->QueryInterface(iid, out);
    });
}

HRESULT ClassFactory::LockServer(BOOL lock) noexcept {
    if (lock) locks_.lock();
    else locks_.unlock();
    return S_OK;
}

HRESULT getClassObject(ServerLocks& locks, REFCLSID clsid, REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != kConnectClsid) return CLASS_E_CLASSNOTAVAILABLE;
    return guarded(kErrorSource, [&] {
        auto factory = ComPtr<ClassFactory>::adopt(new ClassFactory(locks));
        return factory->QueryInterface(iid, out);
    });
}

}  // namespace qm::com
