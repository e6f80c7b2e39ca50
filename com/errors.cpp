// Automation error mapping and the entry-point failure HRESULTs.
#include "com/errors.h"

#include <cstring>
#include <new>

#include "com/variant.h"
#include "core/platform/platform.h"

namespace qm::com {

namespace {

using host::HostError;

// The classic runtime's texts for the numbers this layer adds; the host's own numbers
// keep the host's texts, and full HRESULTs read "Automation error".
std::string describe(int32_t number) {
    switch (number) {
        case err::kSubscriptOutOfRange: return "Subscript out of range";
        case 7: return "Out of memory";
        case 446: return "Object doesn't support named arguments";
        case err::kNamedArgumentNotFound: return "Named argument not found";
        case err::kWrongArgumentCount: return "Wrong number of arguments or invalid property assignment";
        default: break;
    }
    if (number < 0) return "Automation error";
    return host::standardDescription(number);
}

bool isControlError(HRESULT hr) { return (static_cast<uint32_t>(hr) & 0xFFFF0000u) == 0x800A0000u; }

// The number of an HRESULT that is not DISP_E_EXCEPTION.
int32_t numberOf(HRESULT hr) {
    switch (hr) {
        case DISP_E_UNKNOWNNAME:
        case DISP_E_MEMBERNOTFOUND: return host::err::kNotSupported;
        case DISP_E_TYPEMISMATCH: return host::err::kTypeMismatch;
        case DISP_E_BADPARAMCOUNT:
        case DISP_E_PARAMNOTOPTIONAL: return err::kWrongArgumentCount;
        case DISP_E_OVERFLOW: return host::err::kOverflow;
        case DISP_E_BADINDEX: return err::kSubscriptOutOfRange;
        case DISP_E_PARAMNOTFOUND: return err::kNamedArgumentNotFound;
        case DISP_E_NONAMEDARGS: return 446;
        case E_OUTOFMEMORY: return 7;
        default: break;
    }
    if (isControlError(hr)) return static_cast<int32_t>(static_cast<uint32_t>(hr) & 0xFFFFu);
    return static_cast<int32_t>(hr);
}

}  // namespace

HostError errorFromHresult(HRESULT hr) {
    int32_t number = numberOf(hr);
    return HostError(number, describe(number));
}

HostError errorFromInvoke(HRESULT hr, EXCEPINFO* info) {
    if (hr != DISP_E_EXCEPTION || !info) return errorFromHresult(hr);
    if (info->pfnDeferredFillIn) {
        info->pfnDeferredFillIn(info);
        info->pfnDeferredFillIn = nullptr;
    }
    int32_t number = 0;
    if (info->wCode != 0) number = info->wCode;
    else if (info->scode != 0) number = numberOf(info->scode);
    else number = static_cast<int32_t>(DISP_E_EXCEPTION);
    std::string description = bstrToUtf8(info->bstrDescription);
    // The strings are the caller's to free.
    for (BSTR* text : {&info->bstrSource, &info->bstrDescription, &info->bstrHelpFile}) {
        ::SysFreeString(*text);
        *text = nullptr;
    }
    if (description.empty()) description = describe(number);
    return HostError(number, std::move(description));
}

void raiseHresult(HRESULT hr) { throw errorFromHresult(hr); }

HRESULT hresultOf(const std::exception_ptr& failure) noexcept {
    try {
        std::rethrow_exception(failure);
    } catch (const HostError& e) {
        if (e.number() > 0 && e.number() <= 0xFFFF)
            return static_cast<HRESULT>(0x800A0000u | static_cast<uint32_t>(e.number()));
        if (e.number() < 0) return static_cast<HRESULT>(e.number());
        return E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception&) {
        return E_FAIL;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

std::string descriptionOf(const std::exception_ptr& failure) noexcept {
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const HostError& e) {
            return e.description();
        } catch (const std::exception& e) {
            return e.what();
        } catch (...) {
        }
    } catch (...) {
        // Out of memory while copying the text.
    }
    return {};
}

void fillExcepInfo(EXCEPINFO* info, HRESULT scode, const std::string& source,
                   const std::string& description) noexcept {
    if (!info) return;
    std::memset(info, 0, sizeof *info);
    info->scode = scode;
    try {
        info->bstrSource = utf8ToBstr(source).release();
        info->bstrDescription = utf8ToBstr(description).release();
    } catch (...) {
        // The numbers still tell the caller what failed.
    }
}

void setErrorInfo(const std::string& source, const std::string& description) noexcept {
    try {
        ComPtr<ICreateErrorInfo> create;
        if (FAILED(::CreateErrorInfo(create.put()))) return;
        create->SetSource(win32::toUtf16(source).data());
        create->SetDescription(win32::toUtf16(description).data());
        if (ComPtr<IErrorInfo> info = create.query<IErrorInfo>()) ::SetErrorInfo(0, info.get());
    } catch (...) {
    }
}

}  // namespace qm::com
