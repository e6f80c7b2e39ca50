// IDTExtensibility2, the interface through which Office hosts load COM add-ins. The
// MinGW-w64 headers do not declare it; this is the published declaration.
#pragma once

#include "win32/utf.h"

#include <oaidl.h>

namespace qm::com {

enum ext_ConnectMode {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
};

enum ext_DisconnectMode {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

// The DISPIDs of its members, in the order of the vtable.
namespace ext_dispid {
inline constexpr DISPID kOnConnection = 1;
inline constexpr DISPID kOnDisconnection = 2;
inline constexpr DISPID kOnAddInsUpdate = 3;
inline constexpr DISPID kOnStartupComplete = 4;
inline constexpr DISPID kOnBeginShutdown = 5;
}  // namespace ext_dispid

}  // namespace qm::com

MIDL_INTERFACE("B65AD801-ABAF-11D0-BB8B-00A0C90F2744")
IDTExtensibility2 : public IDispatch {
public:
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, qm::com::ext_ConnectMode ConnectMode,
                                                   IDispatch* AddInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(qm::com::ext_DisconnectMode RemoveMode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};
__CRT_UUID_DECL(IDTExtensibility2, 0xB65AD801, 0xABAF, 0x11D0, 0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44)
