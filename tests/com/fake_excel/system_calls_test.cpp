// The thunk through which the fake Excel's system call recorders receive their owner: the
// owner arrives first, then every argument of the caller's in its place, and the result
// goes back, on x86 (stdcall) and x64 alike.
#include <gtest/gtest.h>

#include <cstdint>

#include "sim/com/system_calls.h"

namespace qm::fake {
namespace {

struct Seen {
    void* self = nullptr;
    uintptr_t args[6] = {};
    int calls = 0;
};

// Pointer-sized values that use every byte, so that a truncated or shifted argument shows.
uintptr_t value(int n) {
    return static_cast<uintptr_t>(sizeof(void*) == 8 ? 0x1122334455667700ull : 0x11223300u) + static_cast<uintptr_t>(n);
}

uintptr_t WINAPI sixArguments(Seen* self, uintptr_t a, uintptr_t b, uintptr_t c, uintptr_t d, uintptr_t e,
                              INT f) {
    self->self = self;
    const uintptr_t got[6] = {a, b, c, d, e, static_cast<uintptr_t>(f)};
    for (int i = 0; i < 6; ++i) self->args[i] = got[i];
    ++self->calls;
    return a ^ e;
}

BOOL WINAPI oneArgument(Seen* self, UINT type) {
    self->self = self;
    self->args[0] = type;
    ++self->calls;
    return type == MB_ICONHAND;
}

template <class F>
F entryOf(const ContextThunk& thunk) {
    return reinterpret_cast<F>(reinterpret_cast<uintptr_t>(thunk.entry()));
}

TEST(ContextThunk, HandsTheOwnerFirstAndEveryArgumentInItsPlace) {
    Seen seen;
    ContextThunk thunk(&seen, reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(&sixArguments)));
    using Call = uintptr_t(WINAPI*)(uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, INT);
    const Call call = entryOf<Call>(thunk);
    // Twice: a thunk that left the stack unbalanced would not survive the second call.
    for (int round = 1; round <= 2; ++round) {
        EXPECT_EQ(call(value(1), value(2), value(3), value(4), value(5), -6), value(1) ^ value(5));
        EXPECT_EQ(seen.self, &seen);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(seen.args[i], value(i + 1)) << "argument " << i + 1;
        EXPECT_EQ(static_cast<INT>(seen.args[5]), -6);
        EXPECT_EQ(seen.calls, round);
    }
}

TEST(ContextThunk, ServesShortCallsAndSeveralOwners) {
    Seen first, second;
    ContextThunk a(&first, reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(&oneArgument)));
    ContextThunk b(&second, reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(&oneArgument)));
    using Beep = BOOL(WINAPI*)(UINT);
    EXPECT_TRUE(entryOf<Beep>(a)(MB_ICONHAND));
    EXPECT_FALSE(entryOf<Beep>(b)(MB_OK));
    EXPECT_EQ(first.self, &first);
    EXPECT_EQ(first.args[0], static_cast<uintptr_t>(MB_ICONHAND));
    EXPECT_EQ(second.self, &second);
    EXPECT_EQ(second.args[0], static_cast<uintptr_t>(MB_OK));
    EXPECT_EQ(first.calls + second.calls, 2);
}

}  // namespace
}  // namespace qm::fake
