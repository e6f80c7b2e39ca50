// The add-in's ways with host failures: steps written "errors ignored" (one call skipped,
// the rest goes on), failures kept for the error message where a procedure reports, and
// sequences that put the host back.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <type_traits>

#include "core/host/error.h"
#include "core/platform/platform.h"

namespace qm::addin {

// Runs one step with errors ignored: a failure skips exactly this step. Returns whether
// the step completed. Only failures of the host and the platform are ignored; anything
// else (a fault of our own) propagates.
template <class F>
bool ignoreErrors(F&& step) {
    try {
        std::forward<F>(step)();
        return true;
    } catch (const host::HostError&) {
    } catch (const platform::PlatformError&) {
    }
    return false;
}

// Reads a value with errors ignored; nothing when the read failed.
template <class F>
auto tryGet(F&& read) -> std::optional<std::decay_t<decltype(read())>> {
    try {
        return std::forward<F>(read)();
    } catch (const host::HostError&) {
    } catch (const platform::PlatformError&) {
    }
    return std::nullopt;
}

// The same, asking once more when the host refuses the first time: for what a later
// sequence must put back, such as the state of a drawing aid before Draw mode.
template <class F>
auto tryGetTwice(F&& read) -> std::optional<std::decay_t<decltype(read())>> {
    if (auto value = tryGet(read)) return value;
    return tryGet(read);
}

// Runs a step whose failure must not be lost; any failure comes back as a HostError.
// std::bad_alloc and other faults are reported with the generic automation error.
template <class F>
std::optional<host::HostError> captureError(F&& step) {
    try {
        std::forward<F>(step)();
        return std::nullopt;
    } catch (const host::HostError& e) {
        return e;
    } catch (const platform::PlatformError& e) {
        return host::HostError(host::err::kInvalidCall, e.what());
    } catch (const std::exception& e) {
        return host::HostError(host::err::kUnspecified, e.what());
    }
}

// The steps of a sequence that puts the host back (leaving Draw mode, undoing a failed
// entry, disconnecting, taking down a failed connection). Each step runs on its own,
// whatever failed before it, and a step the host refuses is asked once more: a host busy
// with a macro or a dialog may refuse a call once, and leaving Excel without its menus is
// the one thing that must not happen. The first failure that persisted is kept for the
// one message the sequence may show.
class PutBack {
public:
    // A step whose failure is reported.
    template <class F>
    void step(F&& f) {
        if (auto e = twice(f); e && !first_) first_ = std::move(e);
    }
    // A step "with errors ignored": a missing bar or control is simply skipped.
    template <class F>
    void ignoring(F&& f) {
        (void)twice(f);
    }
    const std::optional<host::HostError>& firstFailure() const { return first_; }

private:
    template <class F>
    static std::optional<host::HostError> twice(F& f) {
        if (!captureError(f)) return std::nullopt;
        return captureError(f);
    }
    std::optional<host::HostError> first_;
};

}  // namespace qm::addin
