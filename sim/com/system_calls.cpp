// Import address table patches with recorders that forward to the system.
#include "sim/com/system_calls.h"

#include <cstring>
#include <stdexcept>

namespace qm::fake {

struct SystemCallRecorder::Patch {
    std::string function;
    void** slot = nullptr;
    void* original = nullptr;
    std::unique_ptr<ContextThunk> thunk;
};

namespace {

// Every import address table slot of `module` that holds `function` (imported by name
// from any DLL).
std::vector<void**> importSlots(HMODULE module, const char* function) {
    std::vector<void**> slots;
    auto* base = reinterpret_cast<uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return slots;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return slots;
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return slots;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        // The name table; without one the names are gone once the loader bound the imports.
        if (d->OriginalFirstThunk == 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                slots.push_back(reinterpret_cast<void**>(&addresses->u1.Function));
            }
        }
    }
    return slots;
}

void writeSlot(void** slot, void* value) {
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) {
        throw std::runtime_error("cannot write an import table entry: " + win32::errorText(::GetLastError()));
    }
    *slot = value;
    ::VirtualProtect(slot, sizeof(void*), old, &old);
}

template <class F>
const void* address(F function) {
    return reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(function));
}

// Observers run inside the DLL's call: nothing may unwind through its frames.
template <class F>
void notify(F&& body) noexcept {
    const DWORD error = ::GetLastError();
    try {
        body();
    } catch (...) {
    }
    ::SetLastError(error);
}

bool isUserDefault(LCID lcid) { return lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_NEUTRAL; }

}  // namespace

// ---------------------------------------------------------------- ContextThunk

#if defined(__i386__) || defined(_M_IX86)

ContextThunk::ContextThunk(void* context, const void* handler) {
    auto* code = static_cast<uint8_t*>(::VirtualAlloc(nullptr, 16, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!code) throw std::runtime_error("cannot allocate a thunk: " + win32::errorText(::GetLastError()));
    // The caller's return address comes off the stack, the context goes on, the return
    // address back on top, and the handler runs with the context as its first argument.
    // Being __stdcall it pops the context with the caller's arguments.
    code[0] = 0x58;  // pop eax
    code[1] = 0x68;  // push imm32
    std::memcpy(code + 2, &context, 4);
    code[6] = 0x50;  // push eax
    code[7] = 0xE9;  // jmp rel32
    const auto rel = static_cast<int32_t>(reinterpret_cast<uintptr_t>(handler) - reinterpret_cast<uintptr_t>(code + 12));
    std::memcpy(code + 8, &rel, 4);
    ::FlushInstructionCache(::GetCurrentProcess(), code, 12);
    code_ = code;
}

ContextThunk::~ContextThunk() { ::VirtualFree(code_, 0, MEM_RELEASE); }

#elif defined(__x86_64__) || defined(_M_X64)

namespace {

// The x64 thunk: a frame of its own in which every argument moves one place along (the
// fourth register argument to the stack, the caller's stack arguments one slot up), the
// context in the first register, then a call. Up to six arguments of the caller's, none
// of them floating point, as the recorded functions take.
constexpr uint8_t kThunkCode[] = {
    0x48, 0x83, 0xEC, 0x48,        // sub rsp, 0x48: 0x20 home space, three arguments, alignment
    0x4C, 0x89, 0x4C, 0x24, 0x20,  // mov [rsp+0x20], r9: fourth argument becomes the fifth
    0x48, 0x8B, 0x44, 0x24, 0x70,  // mov rax, [rsp+0x70]: the caller's fifth
    0x48, 0x89, 0x44, 0x24, 0x28,  // mov [rsp+0x28], rax
    0x48, 0x8B, 0x44, 0x24, 0x78,  // mov rax, [rsp+0x78]: the caller's sixth
    0x48, 0x89, 0x44, 0x24, 0x30,  // mov [rsp+0x30], rax
    0x4D, 0x89, 0xC1,              // mov r9, r8
    0x49, 0x89, 0xD0,              // mov r8, rdx
    0x48, 0x89, 0xCA,              // mov rdx, rcx
    0x48, 0xB9, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rcx, context
    0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rax, handler
    0xFF, 0xD0,                    // call rax
    0x48, 0x83, 0xC4, 0x48,        // add rsp, 0x48
    0xC3,                          // ret
};
constexpr size_t kContextAt = 40, kHandlerAt = 50, kPrologSize = 4;

// How the system unwinds through the thunk (exceptions, stack traces): a prolog of one
// small stack allocation, 0x48 bytes.
struct ThunkUnwindInfo {
    uint8_t versionAndFlags = 1;
    uint8_t prologSize = kPrologSize;
    uint8_t codeCount = 1;
    uint8_t frameRegister = 0;
    uint8_t codeOffset = kPrologSize;
    uint8_t operation = 2 | ((0x48 - 8) / 8) << 4;  // UWOP_ALLOC_SMALL
    uint16_t padding = 0;  // the codes come in pairs
};

struct ThunkMemory {
    uint8_t code[sizeof(kThunkCode)];
    alignas(4) ThunkUnwindInfo unwind;
    RUNTIME_FUNCTION function;
};

}  // namespace

ContextThunk::ContextThunk(void* context, const void* handler) {
    auto* memory = static_cast<ThunkMemory*>(
        ::VirtualAlloc(nullptr, sizeof(ThunkMemory), MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!memory) throw std::runtime_error("cannot allocate a thunk: " + win32::errorText(::GetLastError()));
    std::memcpy(memory->code, kThunkCode, sizeof(kThunkCode));
    std::memcpy(memory->code + kContextAt, &context, sizeof(void*));
    std::memcpy(memory->code + kHandlerAt, &handler, sizeof(void*));
    memory->unwind = ThunkUnwindInfo{};
    const auto base = reinterpret_cast<DWORD64>(memory);
    memory->function.BeginAddress = 0;
    memory->function.EndAddress = sizeof(kThunkCode);
    memory->function.UnwindData = static_cast<DWORD>(reinterpret_cast<DWORD64>(&memory->unwind) - base);
    ::RtlAddFunctionTable(&memory->function, 1, base);
    ::FlushInstructionCache(::GetCurrentProcess(), memory, sizeof(ThunkMemory));
    code_ = memory;
}

ContextThunk::~ContextThunk() {
    ::RtlDeleteFunctionTable(&static_cast<ThunkMemory*>(code_)->function);
    ::VirtualFree(code_, 0, MEM_RELEASE);
}

#else
#error "ContextThunk generates x86 or x64 code only"
#endif

// ---------------------------------------------------------------- SystemCallRecorder

SystemCallRecorder::SystemCallRecorder(HMODULE module, SystemCallObservers observers)
    : module_(module), observers_(std::move(observers)) {
    patch("MessageBeep", address(&SystemCallRecorder::messageBeep));
    patch("ShellExecuteA", address(&SystemCallRecorder::shellExecuteA));
    patch("ShellExecuteW", address(&SystemCallRecorder::shellExecuteW));
    patch("MoveFileExW", address(&SystemCallRecorder::moveFileExW));
    patch("DeleteFileW", address(&SystemCallRecorder::deleteFileW));
    patch("GetLocaleInfoA", address(&SystemCallRecorder::getLocaleInfoA));
    patch("GetLocaleInfoW", address(&SystemCallRecorder::getLocaleInfoW));
    patch("GetTempPathA", address(&SystemCallRecorder::getTempPathA));
    patch("GetTempFileNameA", address(&SystemCallRecorder::getTempFileNameA));
    patch("RegSetValueExW", address(&SystemCallRecorder::regSetValueExW));
}

SystemCallRecorder::~SystemCallRecorder() {
    for (auto& p : patches_) {
        try {
            writeSlot(p->slot, p->original);
        } catch (...) {
            // The module's table could not be written back; it is being unloaded anyway.
        }
    }
}

bool SystemCallRecorder::patch(const char* function, const void* handler) {
    const auto slots = importSlots(module_, function);
    for (void** slot : slots) {
        auto p = std::make_unique<Patch>();
        p->function = function;
        p->slot = slot;
        p->original = *slot;
        p->thunk = std::make_unique<ContextThunk>(this, handler);
        writeSlot(slot, p->thunk->entry());
        patches_.push_back(std::move(p));
    }
    return !slots.empty();
}

template <class F>
F SystemCallRecorder::original(const char* function) const {
    for (const auto& p : patches_) {
        if (p->function == function) return reinterpret_cast<F>(reinterpret_cast<uintptr_t>(p->original));
    }
    return nullptr;
}

std::vector<std::string> SystemCallRecorder::patched() const {
    std::vector<std::string> names;
    for (const auto& p : patches_) names.push_back(p->function);
    return names;
}

void SystemCallRecorder::setUserLocale(std::optional<LCID> lcid) {
    localeSet_ = true;
    locale_ = lcid;
}

void SystemCallRecorder::setTempFolderFailing(bool folder, bool files) {
    tempFolderFails_ = folder;
    tempFilesFail_ = files;
}

LCID SystemCallRecorder::userLocale(LCID asked) const {
    return localeSet_ && locale_ && isUserDefault(asked) ? *locale_ : asked;
}

bool SystemCallRecorder::countryFails(LCID asked, LCTYPE type) const {
    const LCTYPE what = type & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER);
    return localeSet_ && !locale_ && isUserDefault(asked) && what == LOCALE_SENGCOUNTRY;
}

BOOL WINAPI SystemCallRecorder::messageBeep(SystemCallRecorder* self, UINT type) {
    const BOOL done = self->original<BOOL(WINAPI*)(UINT)>("MessageBeep")(type);
    notify([&] {
        if (self->observers_.beep) self->observers_.beep();
    });
    return done;
}

HINSTANCE WINAPI SystemCallRecorder::shellExecuteA(SystemCallRecorder* self, HWND, LPCSTR, LPCSTR file, LPCSTR,
                                                   LPCSTR, INT) {
    notify([&] {
        if (self->observers_.open) self->observers_.open(win32::ansiToUtf8(file ? file : ""));
    });
    // Above 32: success, as the shell reports it.
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(42));
}

HINSTANCE WINAPI SystemCallRecorder::shellExecuteW(SystemCallRecorder* self, HWND, LPCWSTR, LPCWSTR file, LPCWSTR,
                                                   LPCWSTR, INT) {
    notify([&] {
        if (self->observers_.open) self->observers_.open(win32::toUtf8(file ? file : L""));
    });
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(42));
}

BOOL WINAPI SystemCallRecorder::moveFileExW(SystemCallRecorder* self, LPCWSTR from, LPCWSTR to, DWORD flags) {
    const BOOL moved = self->original<BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD)>("MoveFileExW")(from, to, flags);
    if (moved && to) {
        notify([&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            uint64_t size = 0;
            if (::GetFileAttributesExW(to, GetFileExInfoStandard, &data)) {
                size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
            }
            if (self->observers_.written) self->observers_.written(win32::toUtf8(to), size);
        });
    }
    return moved;
}

BOOL WINAPI SystemCallRecorder::deleteFileW(SystemCallRecorder* self, LPCWSTR path) {
    const BOOL removed = self->original<BOOL(WINAPI*)(LPCWSTR)>("DeleteFileW")(path);
    if (removed && path) {
        notify([&] {
            if (self->observers_.removed) self->observers_.removed(win32::toUtf8(path));
        });
    }
    return removed;
}

int WINAPI SystemCallRecorder::getLocaleInfoA(SystemCallRecorder* self, LCID lcid, LCTYPE type, LPSTR data, int size) {
    if (self->countryFails(lcid, type)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return self->original<int(WINAPI*)(LCID, LCTYPE, LPSTR, int)>("GetLocaleInfoA")(self->userLocale(lcid), type,
                                                                                     data, size);
}

int WINAPI SystemCallRecorder::getLocaleInfoW(SystemCallRecorder* self, LCID lcid, LCTYPE type, LPWSTR data,
                                              int size) {
    if (self->countryFails(lcid, type)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return self->original<int(WINAPI*)(LCID, LCTYPE, LPWSTR, int)>("GetLocaleInfoW")(self->userLocale(lcid), type,
                                                                                      data, size);
}

DWORD WINAPI SystemCallRecorder::getTempPathA(SystemCallRecorder* self, DWORD size, LPSTR buffer) {
    if (self->tempFolderFails_) {
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return self->original<DWORD(WINAPI*)(DWORD, LPSTR)>("GetTempPathA")(size, buffer);
}

UINT WINAPI SystemCallRecorder::getTempFileNameA(SystemCallRecorder* self, LPCSTR folder, LPCSTR prefix, UINT unique,
                                                 LPSTR name) {
    if (self->tempFilesFail_) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return self->original<UINT(WINAPI*)(LPCSTR, LPCSTR, UINT, LPSTR)>("GetTempFileNameA")(folder, prefix, unique, name);
}

LONG WINAPI SystemCallRecorder::regSetValueExW(SystemCallRecorder* self, HKEY key, LPCWSTR name, DWORD reserved,
                                               DWORD type, const BYTE* data, DWORD size) {
    if (self->registryWritesFail_) return ERROR_ACCESS_DENIED;
    return self->original<LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)>("RegSetValueExW")(
        key, name, reserved, type, data, size);
}

}  // namespace qm::fake
