// GetTickCount64 for the DLL's static threading runtime, which imports it (for timed
// waits the add-in never makes) although Windows XP does not have it. Defining the import
// slot here keeps the DLL loadable on Windows XP; the function is built on the
// performance counter, which XP has and which, like GetTickCount64, never wraps.
#include "win32/utf.h"

namespace {

ULONGLONG WINAPI tickCount64() noexcept {
    LARGE_INTEGER frequency{}, counter{};
    if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 || !::QueryPerformanceCounter(&counter))
        return ::GetTickCount();
    const ULONGLONG f = static_cast<ULONGLONG>(frequency.QuadPart), c = static_cast<ULONGLONG>(counter.QuadPart);
    // Whole seconds and the rest apart, so that the product cannot overflow.
    return (c / f) * 1000 + (c % f) * 1000 / f;
}

}  // namespace

// The slot the runtime calls through, under the name the import library would give it
// (decorated on x86; the 64-bit test build has no decoration).
#if defined(__i386__)
#define QM_TICK_COUNT_64_IMPORT "__imp__GetTickCount64@0"
#else
#define QM_TICK_COUNT_64_IMPORT "__imp_GetTickCount64"
#endif
extern "C" ULONGLONG(WINAPI* const qmGetTickCount64Slot)() __asm__(QM_TICK_COUNT_64_IMPORT);
extern "C" ULONGLONG(WINAPI* const qmGetTickCount64Slot)() = tickCount64;
