// The add-in's COM object.
#include "com/connect_object.h"

#include <cwchar>

#include "com/errors.h"
#include "com/identity.h"

namespace qm::com {

namespace {

struct MemberName {
    const wchar_t* name;
    DISPID id;
};
constexpr MemberName kMembers[] = {
    {L"OnConnection", ext_dispid::kOnConnection},         {L"OnDisconnection", ext_dispid::kOnDisconnection},
    {L"OnAddInsUpdate", ext_dispid::kOnAddInsUpdate},     {L"OnStartupComplete", ext_dispid::kOnStartupComplete},
    {L"OnBeginShutdown", ext_dispid::kOnBeginShutdown},
};

// The object argument at `position` of an Invoke: VT_DISPATCH, or VT_UNKNOWN answering
// IDispatch, directly or by reference.
ComPtr<IDispatch> objectArgument(DISPPARAMS& params, UINT position) {
    VARIANT& value = params.rgvarg[params.cArgs - 1 - position];
    return toObject(value);
}

}  // namespace

ConnectObject::ConnectObject(ServerLocks& locks) noexcept : locks_(locks) { locks_.objectCreated(); }

ConnectObject::~ConnectObject() {
    tearDown();
    locks_.objectDestroyed();
}

HRESULT ConnectObject::QueryInterface(REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IDTExtensibility2)) {
        *out = static_cast<IDTExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG ConnectObject::AddRef() noexcept { return ++references_; }

ULONG ConnectObject::Release() noexcept {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT ConnectObject::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT ConnectObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT ConnectObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (!names || !ids || count == 0) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    // Only the member name can be known; named parameters are not supported.
    for (const MemberName& m : kMembers) {
        if (names[0] && ::_wcsicmp(names[0], m.name) == 0) ids[0] = m.id;
    }
    for (UINT i = 0; i < count; ++i) {
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT ConnectObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* info, UINT* badArgument) noexcept {
    if (result) ::VariantInit(result);
    if (!params) return E_POINTER;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (badArgument) *badArgument = 0;
    return guardedInvoke(kErrorSource, info, [&] { return invokeMember(member, *params); });
}

HRESULT ConnectObject::invokeMember(DISPID member, DISPPARAMS& params) {
    // Each member's last argument is the custom array, which the add-in does not use.
    switch (member) {
        case ext_dispid::kOnConnection: {
            if (params.cArgs != 4) return DISP_E_BADPARAMCOUNT;
            ComPtr<IDispatch> application = objectArgument(params, 0);
            ComPtr<IDispatch> addInInst = objectArgument(params, 2);
            HRESULT hr = connect(application.get(), addInInst.get());
            // The failure of a connection, told the way Invoke tells failures.
            if (FAILED(hr)) throw errorFromHresult(hr);
            return hr;
        }
        case ext_dispid::kOnDisconnection:
            if (params.cArgs != 2) return DISP_E_BADPARAMCOUNT;
            return disconnect();
        case ext_dispid::kOnAddInsUpdate:
        case ext_dispid::kOnStartupComplete:
        case ext_dispid::kOnBeginShutdown:
            if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT ConnectObject::OnConnection(IDispatch* application, ext_ConnectMode, IDispatch* addInInst,
                                    SAFEARRAY**) noexcept {
    return guarded(kErrorSource, [&] { return connect(application, addInInst); });
}

HRESULT ConnectObject::OnDisconnection(ext_DisconnectMode, SAFEARRAY**) noexcept {
    return guarded(kErrorSource, [&] { return disconnect(); });
}

HRESULT ConnectObject::OnAddInsUpdate(SAFEARRAY**) noexcept { return S_OK; }
HRESULT ConnectObject::OnStartupComplete(SAFEARRAY**) noexcept { return S_OK; }
HRESULT ConnectObject::OnBeginShutdown(SAFEARRAY**) noexcept { return S_OK; }

HRESULT ConnectObject::connect(IDispatch* application, IDispatch* addInInst) {
    if (!application || !addInInst) return E_INVALIDARG;
    if (connection_) return E_UNEXPECTED;  // Excel connects an add-in once
    connection_ = std::make_unique<Connection>(ComPtr<IDispatch>::share(application));
    // The session outlives a disconnection that Excel asks for while the core connects
    // (the core sets AddIn.Connect = False when it refuses the host).
    std::shared_ptr<Session> session = connection_->session();
    try {
        auto scope = session->enter();
        connection_->connect(addInInst);
    } catch (...) {
        // The core has taken down what it built; the references go with the connection.
        connection_.reset();
        throw;
    }
    return S_OK;
}

HRESULT ConnectObject::disconnect() {
    if (!connection_) return S_OK;
    const std::shared_ptr<Session>& session = connection_->session();
    if (session->busy()) {
        // Inside one of the add-in's own calls: the core's state is in use. Its windows
        // close now; the object stays alive until the deferred work has run.
        connection_->closeWindows();
        session->whenIdle([self = ComPtr<ConnectObject>::share(this)] { self->tearDown(); });
        return S_OK;
    }
    tearDown();
    return S_OK;
}

void ConnectObject::tearDown() noexcept {
    if (!connection_) return;
    connection_->disconnect();
    connection_.reset();
}

}  // namespace qm::com
