// What a loaded DLL asks of the system, observed from outside it: its import address table
// entries for beeps, opening web pages, replacing and removing files, the user's locale and
// temporary folder and writing registry values are pointed at recorders, without changing
// a byte of its code. Beeps, file operations, queries and writes still reach the system;
// ShellExecute is recorded and not run.
#pragma once

#include "win32/utf.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qm::fake {

struct SystemCallObservers {
    std::function<void()> beep;
    std::function<void(const std::string& address)> open;
    std::function<void(const std::string& path, uint64_t size)> written;  // a file replaced by a move
    std::function<void(const std::string& path)> removed;
};

// Calls `handler` with `context` in front of the caller's arguments: a WINAPI hook with
// one extra first parameter reaches its owner this way, with no global. x86 (any number
// of arguments) and x64 (up to six integer or pointer arguments).
class ContextThunk {
public:
    ContextThunk(void* context, const void* handler);
    ~ContextThunk();
    ContextThunk(const ContextThunk&) = delete;
    ContextThunk& operator=(const ContextThunk&) = delete;
    void* entry() const { return code_; }

private:
    void* code_ = nullptr;
};

class SystemCallRecorder {
public:
    SystemCallRecorder(HMODULE module, SystemCallObservers observers);
    ~SystemCallRecorder();  // puts the original entries back
    SystemCallRecorder(const SystemCallRecorder&) = delete;
    SystemCallRecorder& operator=(const SystemCallRecorder&) = delete;

    // The user's default locale as the module sees it from now on: `lcid`, or (nothing)
    // a system whose country cannot be asked. Until called, the system's own.
    void setUserLocale(std::optional<LCID> lcid);
    // The user's temporary folder as the module sees it from now on: the folder cannot be
    // found (GetTempPathA fails), or new temporary files cannot be made in it
    // (GetTempFileNameA fails), or it works.
    void setTempFolderFailing(bool folder, bool files);
    // Registry values cannot be written from now on (access denied), or they can again.
    void setRegistryWritesFailing(bool failing) { registryWritesFail_ = failing; }
    // The imported functions patched, by name.
    std::vector<std::string> patched() const;

private:
    struct Patch;
    bool patch(const char* function, const void* handler);
    template <class F>
    F original(const char* function) const;
    // LOCALE_USER_DEFAULT and its equivalents, replaced by the chosen locale.
    LCID userLocale(LCID asked) const;
    bool countryFails(LCID asked, LCTYPE type) const;

    static BOOL WINAPI messageBeep(SystemCallRecorder* self, UINT type);
    static HINSTANCE WINAPI shellExecuteA(SystemCallRecorder* self, HWND owner, LPCSTR verb, LPCSTR file,
                                          LPCSTR parameters, LPCSTR folder, INT show);
    static HINSTANCE WINAPI shellExecuteW(SystemCallRecorder* self, HWND owner, LPCWSTR verb, LPCWSTR file,
                                          LPCWSTR parameters, LPCWSTR folder, INT show);
    static BOOL WINAPI moveFileExW(SystemCallRecorder* self, LPCWSTR from, LPCWSTR to, DWORD flags);
    static BOOL WINAPI deleteFileW(SystemCallRecorder* self, LPCWSTR path);
    static int WINAPI getLocaleInfoA(SystemCallRecorder* self, LCID lcid, LCTYPE type, LPSTR data, int size);
    static int WINAPI getLocaleInfoW(SystemCallRecorder* self, LCID lcid, LCTYPE type, LPWSTR data, int size);
    static DWORD WINAPI getTempPathA(SystemCallRecorder* self, DWORD size, LPSTR buffer);
    static UINT WINAPI getTempFileNameA(SystemCallRecorder* self, LPCSTR folder, LPCSTR prefix, UINT unique,
                                        LPSTR name);
    static LONG WINAPI regSetValueExW(SystemCallRecorder* self, HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                      const BYTE* data, DWORD size);

    HMODULE module_;
    SystemCallObservers observers_;
    std::vector<std::unique_ptr<Patch>> patches_;
    bool localeSet_ = false;
    std::optional<LCID> locale_;
    bool tempFolderFails_ = false;
    bool tempFilesFail_ = false;
    bool registryWritesFail_ = false;
};

}  // namespace qm::fake
