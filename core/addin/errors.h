// The add-in's two ways with host failures: steps written "errors ignored" (one call
// skipped, the rest goes on) and the error message box shown where a procedure reports.
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

}  // namespace qm::addin
