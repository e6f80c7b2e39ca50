// Automation errors in both directions: a failed IDispatch::Invoke becomes the HostError a
// user of the classic form model knows (1004, 438, 91 ...), and a failure inside one of
// the add-in's own COM entry points becomes an HRESULT. No exception ever crosses into
// the host: Excel disables add-ins that fail at start-up and hard-disables ones that
// crash it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "com/owners.h"
#include "core/host/error.h"

namespace qm::com {

// Error numbers the automation layer adds to the host's.
namespace err {
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kWrongArgumentCount = 450;  // wrong number of arguments or invalid property assignment
inline constexpr int32_t kNamedArgumentNotFound = 448;
}  // namespace err

// The error of an Invoke that returned `hr`. With DISP_E_EXCEPTION the number is wCode when
// set, else the low 16 bits of an scode 0x800Axxxx, else the scode as a signed number; the
// description is bstrDescription (a standard one when empty). `info` may be null, and its
// deferred fill-in is run when present. DISP_E_UNKNOWNNAME and DISP_E_MEMBERNOTFOUND are
// 438, DISP_E_TYPEMISMATCH 13, DISP_E_BADPARAMCOUNT and DISP_E_PARAMNOTOPTIONAL 450.
host::HostError errorFromInvoke(HRESULT hr, EXCEPINFO* info);

// The error of any other failing HRESULT (a conversion, QueryInterface, Advise).
host::HostError errorFromHresult(HRESULT hr);

[[noreturn]] void raiseHresult(HRESULT hr);

// The HRESULT for a failure in one of our entry points: a host error n (< 65536) is
// 0x800A0000 + n, the form Invoke reports it in; bad_alloc is E_OUTOFMEMORY; anything
// else is E_FAIL.
HRESULT hresultOf(const std::exception_ptr& failure) noexcept;

// The description of that failure ("" when it has none).
std::string descriptionOf(const std::exception_ptr& failure) noexcept;

// Fills an EXCEPINFO the way Invoke reports an error: scode, wCode 0, source and description.
void fillExcepInfo(EXCEPINFO* info, HRESULT scode, const std::string& source, const std::string& description) noexcept;

// Sets the thread's error object (IErrorInfo) so that a host showing why a call failed
// can tell the user; failures of this are ignored.
void setErrorInfo(const std::string& source, const std::string& description) noexcept;

// The body of every vtable entry point: runs `body` (which returns an HRESULT) and turns
// any exception into a failure HRESULT, with the thread's error object set.
template <class F>
HRESULT guarded(const char* source, F&& body) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        std::exception_ptr failure = std::current_exception();
        setErrorInfo(source, descriptionOf(failure));
        return hresultOf(failure);
    }
}

// The body of an IDispatch::Invoke: an exception becomes DISP_E_EXCEPTION with the
// EXCEPINFO filled in when the caller passed one.
template <class F>
HRESULT guardedInvoke(const char* source, EXCEPINFO* info, F&& body) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        std::exception_ptr failure = std::current_exception();
        if (!info) return hresultOf(failure);
        fillExcepInfo(info, hresultOf(failure), source, descriptionOf(failure));
        return DISP_E_EXCEPTION;
    }
}

}  // namespace qm::com
