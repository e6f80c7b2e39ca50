// Excel's side of a COM add-in: the add-in DLL loaded by path, its Connect object made by
// its class factory, and the five IDTExtensibility2 events called in the order Excel calls
// them (OnConnection, OnAddInsUpdate, OnStartupComplete; OnBeginShutdown, OnDisconnection).
#pragma once

#include <memory>
#include <string>

#include "sim/com/com_util.h"
#include "sim/com/fake_excel.h"

namespace qm::fake {

enum ext_ConnectMode { ext_cm_AfterStartup = 0, ext_cm_Startup = 1, ext_cm_External = 2, ext_cm_CommandLine = 3 };
enum ext_DisconnectMode { ext_dm_HostShutdown = 0, ext_dm_UserClosed = 1 };

// Office's add-in interface, as a host declares it.
MIDL_INTERFACE("B65AD801-ABAF-11D0-BB8B-00A0C90F2744")
IDTExtensibility2 : public IDispatch {
public:
    virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                                                   SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

}  // namespace qm::fake

__CRT_UUID_DECL(qm::fake::IDTExtensibility2, 0xB65AD801, 0xABAF, 0x11D0, 0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27,
                0x44)

namespace qm::fake {

// The add-in's class as Excel knows it from the registry.
inline constexpr CLSID kAddinClsid = {0xC9221B4E, 0x05B8, 0x4B67, {0xB6, 0x1A, 0x75, 0x0F, 0x15, 0x26, 0x75, 0xBC}};
inline constexpr const wchar_t* kAddinProgId = L"QuillmarkInExcel.Connect";

// A Linux path as Wine's Windows programs see it (drive Z:), a Windows path unchanged.
std::wstring windowsPath(const std::string& path);

// The DLL, loaded for the lifetime of this object.
class AddinDll {
public:
    explicit AddinDll(const std::wstring& path);  // throws std::runtime_error
    ~AddinDll();
    AddinDll(const AddinDll&) = delete;
    AddinDll& operator=(const AddinDll&) = delete;

    HMODULE module() const { return module_; }
    const std::wstring& path() const { return path_; }

    HRESULT getClassObject(const CLSID& clsid, const IID& iid, void** out) const;
    HRESULT canUnloadNow() const;
    HRESULT registerServer() const;
    HRESULT unregisterServer() const;
    HRESULT install(bool install, const wchar_t* command) const;

    // A new Connect object through the class factory, as IDTExtensibility2.
    HRESULT createConnect(ComPtr<IDTExtensibility2>& out, const CLSID& clsid = kAddinClsid) const;

private:
    template <class F>
    F exported(const char* name) const;

    std::wstring path_;
    HMODULE module_ = nullptr;
};

// The text of the error an add-in reported with a failure HRESULT: "(number) description",
// the number as the classic runtime shows it (0x800A03EC is 1004), the description from
// the thread's error object when the add-in left one.
std::string failureText(HRESULT hr);

// One add-in loaded into the fake Excel.
class AddinHost {
public:
    AddinHost(const AddinDll& dll, FakeExcel& excel);
    ~AddinHost();  // a connected add-in is disconnected as at Excel's shutdown
    AddinHost(const AddinHost&) = delete;
    AddinHost& operator=(const AddinHost&) = delete;

    // Creates the Connect object and connects it with a new Application object and the
    // record's COMAddIn object; Excel's own references to those go right after the call,
    // as only the add-in's count. When the connection succeeds and the record stays
    // connected, OnAddInsUpdate and OnStartupComplete follow (at start-up). The result is
    // OnConnection's.
    HRESULT connect(std::shared_ptr<sim::SimAddIn> record, ext_ConnectMode mode = ext_cm_Startup);
    // OnBeginShutdown (at a host shutdown), OnDisconnection, then the object is released.
    HRESULT disconnect(ext_DisconnectMode mode = ext_dm_UserClosed);
    // Releases the object without disconnecting: what Excel does after a failed connection.
    void drop();

    bool loaded() const { return static_cast<bool>(object_); }
    IDTExtensibility2* object() const { return object_.get(); }

private:
    const AddinDll& dll_;
    FakeExcel& excel_;
    ComPtr<IDTExtensibility2> object_;
};

}  // namespace qm::fake
