// The DLL file itself: undecorated exports, imports Windows XP can satisfy, and its
// version resource. The tables are read from the file's own bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/com/dll/addin_dll.h"

namespace qm::com {
namespace {

// The import and export names of a 32-bit PE image.
class PeFile {
public:
    explicit PeFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
        const uint32_t peAt = u32(0x3C);
        if (u32(peAt) != 0x00004550) throw std::runtime_error("not a PE file");
        const uint16_t sections = u16(peAt + 6);
        const uint16_t optionalSize = u16(peAt + 20);
        const uint32_t optionalAt = peAt + 24;
        if (u16(optionalAt) != 0x10B) throw std::runtime_error("not a 32-bit image");
        const uint32_t directories = optionalAt + 96;
        exportRva_ = u32(directories);
        importRva_ = u32(directories + 8);
        for (uint32_t s = 0, at = optionalAt + optionalSize; s < sections; ++s, at += 40)
            sections_.push_back({u32(at + 12), std::max(u32(at + 8), u32(at + 16)), u32(at + 20)});
    }

    std::vector<std::string> exports() const {
        std::vector<std::string> names;
        if (!exportRva_) return names;
        const uint32_t dir = offset(exportRva_);
        const uint32_t count = u32(dir + 24), namesAt = offset(u32(dir + 32));
        for (uint32_t i = 0; i < count; ++i) names.push_back(text(offset(u32(namesAt + 4 * i))));
        return names;
    }

    // DLL name (upper case) to the functions imported from it by name.
    std::map<std::string, std::vector<std::string>> imports() const {
        std::map<std::string, std::vector<std::string>> out;
        for (uint32_t at = offset(importRva_);; at += 20) {
            const uint32_t lookup = u32(at) ? u32(at) : u32(at + 16), nameRva = u32(at + 12);
            if (!nameRva) break;
            std::string dll = text(offset(nameRva));
            std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::toupper(c); });
            auto& functions = out[dll];
            for (uint32_t entry = offset(lookup);; entry += 4) {
                const uint32_t thunk = u32(entry);
                if (!thunk) break;
                if (!(thunk & 0x80000000u)) functions.push_back(text(offset(thunk) + 2));
            }
        }
        return out;
    }

private:
    struct Section {
        uint32_t rva, size, raw;
    };
    uint32_t offset(uint32_t rva) const {
        for (const Section& s : sections_) {
            if (rva >= s.rva && rva < s.rva + s.size) return rva - s.rva + s.raw;
        }
        throw std::runtime_error("address outside every section");
    }
    uint16_t u16(size_t at) const {
        if (at + 2 > bytes_.size()) throw std::runtime_error("truncated");
        return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    uint32_t u32(size_t at) const { return u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16; }
    std::string text(size_t at) const {
        std::string s;
        while (at < bytes_.size() && bytes_[at]) s += static_cast<char>(bytes_[at++]);
        return s;
    }

    std::vector<uint8_t> bytes_;
    uint32_t exportRva_ = 0, importRva_ = 0;
    std::vector<Section> sections_;
};

PeFile addinFile() {
    std::ifstream in(win32::toUtf8(test::addinDllPath()), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the DLL");
    return PeFile(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

TEST(AddinDllFile, ExportsTheFiveEntryPointsUndecorated) {
    std::vector<std::string> names = addinFile().exports();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllInstall",
                                               "DllRegisterServer", "DllUnregisterServer"}));
    test::AddinDll dll;
    EXPECT_NE(dll.function<test::DllCanUnloadNowFn>("DllCanUnloadNow"), nullptr);
    EXPECT_NE(dll.function<test::DllInstallFn>("DllInstall"), nullptr);
}

TEST(AddinDllFile, ImportsOnlySystemDllsOfWindowsXp) {
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL",
                                           "SHELL32.DLL",  "COMDLG32.DLL", "OLE32.DLL", "OLEAUT32.DLL",
                                           "MSVCRT.DLL",   "SHLWAPI.DLL", "COMCTL32.DLL", "VERSION.DLL"};
    // Functions of those DLLs that Windows XP SP3 lacks, as static runtimes and newer
    // headers pull them in.
    const std::set<std::string> afterXp = {
        "GetTickCount64", "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
        "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive",
        "InitializeConditionVariable", "SleepConditionVariableCS", "SleepConditionVariableSRW",
        "WakeConditionVariable", "WakeAllConditionVariable", "InitOnceExecuteOnce", "InitOnceBeginInitialize",
        "InitOnceComplete", "InitializeCriticalSectionEx", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue",
        "GetSystemTimePreciseAsFileTime", "CreateEventExW", "CreateEventExA", "CreateMutexExW",
        "CreateSemaphoreExW", "GetFileInformationByHandleEx", "SetFileInformationByHandle", "CompareStringEx",
        "LCMapStringEx", "GetLocaleInfoEx", "GetUserDefaultLocaleName", "LocaleNameToLCID", "GetCurrentProcessorNumber",
        "RegDeleteTreeW", "RegDeleteTreeA", "RegGetValueW", "RegGetValueA", "RegDeleteKeyExW", "RegDeleteKeyExA",
        "RegSetKeyValueW", "RegLoadMUIStringW", "CancelIoEx", "QueryFullProcessImageNameW", "CreateSymbolicLinkW",
        "GetFinalPathNameByHandleW", "AddDllDirectory", "SetDefaultDllDirectories", "GetErrorMode",
        "WerRegisterRuntimeExceptionModule", "GetThreadId", "GetProcessId", "Wow64GetThreadContext",
        "SetThreadStackGuarantee", "_get_output_format", "_set_abort_behavior"};
    const auto imports = addinFile().imports();
    ASSERT_FALSE(imports.empty());
    for (const auto& [dll, functions] : imports) {
        EXPECT_TRUE(allowed.count(dll)) << "imports " << dll;
        for (const std::string& f : functions) EXPECT_FALSE(afterXp.count(f)) << dll << "!" << f;
    }
    // The threading runtime's timed waits would import this; the DLL supplies it itself.
    ASSERT_TRUE(imports.count("KERNEL32.DLL"));
    const auto& kernel = imports.at("KERNEL32.DLL");
    EXPECT_EQ(std::count(kernel.begin(), kernel.end(), "GetTickCount64"), 0);
}

TEST(AddinDllFile, CarriesVersionOnePointZeroOne) {
    const std::wstring path = test::addinDllPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!::VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars)) return std::wstring();
        return std::wstring(value);
    };
    EXPECT_EQ(text(L"FileVersion"), L"1.01");
    EXPECT_EQ(text(L"ProductVersion"), L"1.01");
    EXPECT_EQ(text(L"ProductName"), L"Quillmark in Excel");
    EXPECT_EQ(text(L"FileDescription"), L"Quillmark in Excel");
    EXPECT_EQ(text(L"OriginalFilename"), L"QuillmarkInExcel.dll");
}

}  // namespace
}  // namespace qm::com
