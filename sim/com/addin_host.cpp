// Loading the add-in DLL and calling its connection events as Excel does.
#include "sim/com/addin_host.h"

#include <stdexcept>

namespace qm::fake {
namespace {

// The `custom` array of every IDTExtensibility2 event: Excel passes an empty one.
class CustomArray {
public:
    CustomArray() {
        SAFEARRAYBOUND bound{0, 0};
        array_ = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    }
    ~CustomArray() {
        if (array_) ::SafeArrayDestroy(array_);
    }
    CustomArray(const CustomArray&) = delete;
    CustomArray& operator=(const CustomArray&) = delete;
    SAFEARRAY** get() { return &array_; }

private:
    SAFEARRAY* array_ = nullptr;
};

}  // namespace

std::wstring windowsPath(const std::string& path) {
    std::wstring out = win32::toUtf16(path);
    if (!out.empty() && out[0] == L'/') out = L"Z:" + out;
    for (wchar_t& c : out) {
        if (c == L'/') c = L'\\';
    }
    return out;
}

AddinDll::AddinDll(const std::wstring& path) : path_(path), module_(::LoadLibraryW(path.c_str())) {
    if (!module_) {
        throw std::runtime_error("cannot load " + win32::toUtf8(path) + ": " + win32::errorText(::GetLastError()));
    }
}

AddinDll::~AddinDll() { ::FreeLibrary(module_); }

template <class F>
F AddinDll::exported(const char* name) const {
    FARPROC p = ::GetProcAddress(module_, name);
    return reinterpret_cast<F>(reinterpret_cast<uintptr_t>(p));
}

HRESULT AddinDll::getClassObject(const CLSID& clsid, const IID& iid, void** out) const {
    auto f = exported<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    return f ? f(clsid, iid, out) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT AddinDll::canUnloadNow() const {
    auto f = exported<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
    return f ? f() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT AddinDll::registerServer() const {
    auto f = exported<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer");
    return f ? f() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT AddinDll::unregisterServer() const {
    auto f = exported<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer");
    return f ? f() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT AddinDll::install(bool install, const wchar_t* command) const {
    auto f = exported<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall");
    return f ? f(install ? TRUE : FALSE, command) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT AddinDll::createConnect(ComPtr<IDTExtensibility2>& out, const CLSID& clsid) const {
    out.reset();
    ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.put()));
    if (FAILED(hr)) return hr;
    if (!factory) return E_POINTER;
    return factory->CreateInstance(nullptr, __uuidof(IDTExtensibility2), reinterpret_cast<void**>(out.put()));
}

std::string failureText(HRESULT hr) {
    const auto code = static_cast<uint32_t>(hr);
    const int32_t number = (code & 0xFFFF0000u) == 0x800A0000u ? static_cast<int32_t>(code & 0xFFFFu)
                                                                : static_cast<int32_t>(hr);
    std::string description = "Automation error";
    ComPtr<IErrorInfo> info;
    if (::GetErrorInfo(0, info.put()) == S_OK && info) {
        Bstr text;
        if (SUCCEEDED(info->GetDescription(text.put())) && text.get()) description = text.utf8();
    }
    return "(" + std::to_string(number) + ") " + description;
}

AddinHost::AddinHost(const AddinDll& dll, FakeExcel& excel) : dll_(dll), excel_(excel) {}

AddinHost::~AddinHost() {
    if (object_) disconnect(ext_dm_HostShutdown);
}

HRESULT AddinHost::connect(std::shared_ptr<sim::SimAddIn> record, ext_ConnectMode mode) {
    if (object_) return E_UNEXPECTED;
    HRESULT hr = dll_.createConnect(object_);
    if (FAILED(hr)) return hr;
    CustomArray custom;
    {
        ComPtr<IDispatch> application = excel_.application();
        ComPtr<IDispatch> addIn = excel_.addIn(record);
        hr = object_->OnConnection(application.get(), mode, addIn.get(), custom.get());
    }
    if (SUCCEEDED(hr) && record->connected()) {
        object_->OnAddInsUpdate(custom.get());
        if (mode == ext_cm_Startup) object_->OnStartupComplete(custom.get());
    }
    return hr;
}

HRESULT AddinHost::disconnect(ext_DisconnectMode mode) {
    if (!object_) return S_FALSE;
    CustomArray custom;
    if (mode == ext_dm_HostShutdown) object_->OnBeginShutdown(custom.get());
    const HRESULT hr = object_->OnDisconnection(mode, custom.get());
    object_.reset();
    return hr;
}

void AddinHost::drop() { object_.reset(); }

}  // namespace qm::fake
