// The built add-in DLL, loaded by path for tests of its exports, its registration and its
// COM object.
#pragma once

#include <stdexcept>
#include <string>

#include "win32/utf.h"

namespace qm::com::test {

// The DLL's path in Windows form. The build passes a Linux path when cross-compiling;
// Wine sees the Linux root as drive Z:.
inline std::wstring addinDllPath() {
    std::wstring path = win32::toUtf16(QM_ADDIN_DLL);
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

// The DLL loaded for the lifetime of this object.
class AddinDll {
public:
    AddinDll() : module_(::LoadLibraryW(addinDllPath().c_str())) {
        if (!module_) throw std::runtime_error("cannot load " + win32::toUtf8(addinDllPath()));
    }
    AddinDll(const AddinDll&) = delete;
    AddinDll& operator=(const AddinDll&) = delete;
    ~AddinDll() { ::FreeLibrary(module_); }

    template <class F>
    F function(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    }
    HMODULE module() const { return module_; }

private:
    HMODULE module_;
};

using DllGetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();
using DllRegisterServerFn = HRESULT(STDAPICALLTYPE*)();
using DllInstallFn = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

}  // namespace qm::com::test
