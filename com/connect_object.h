// The add-in's COM object, QuillmarkInExcel.Connect: IDTExtensibility2 through its vtable
// and through IDispatch, handing each connection event to the add-in core.
#pragma once

#include <atomic>
#include <memory>

#include "com/connection.h"
#include "com/extensibility.h"
#include "com/server_locks.h"

namespace qm::com {

class ConnectObject final : public IDTExtensibility2 {
public:
    explicit ConnectObject(ServerLocks& locks) noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override;
    // The five member names, DISPIDs 1 to 5 in vtable order.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* badArgument) noexcept override;

    // A failure of the core's connection (a host error, anything else) comes back as a
    // failure HRESULT: 0x800Axxxx for host error xxxx, E_OUTOFMEMORY, E_FAIL.
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                                           SAFEARRAY** custom) noexcept override;
    // Takes the connection down; when Excel asks from inside one of the add-in's own
    // calls (AddIn.Connect = False during OnConnection, a click handler), as soon as
    // that call returns.
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) noexcept override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) noexcept override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) noexcept override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) noexcept override;

    bool connected() const noexcept { return static_cast<bool>(connection_); }

private:
    ~ConnectObject();
    HRESULT connect(IDispatch* application, IDispatch* addInInst);
    HRESULT disconnect();
    void tearDown() noexcept;
    HRESULT invokeMember(DISPID member, DISPPARAMS& params);

    std::atomic<ULONG> references_{1};
    ServerLocks& locks_;
    std::unique_ptr<Connection> connection_;
};

}  // namespace qm::com
