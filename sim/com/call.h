// One IDispatch::Invoke as a member of the fake Excel sees it: positional arguments in
// declaration order (omitted ones recognised), coerced with VariantChangeType as Excel
// coerces them, the value of a property put, and the result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/com/com_util.h"

namespace qm::fake {

// A failure that Invoke returns as a plain HRESULT (bad argument count, type mismatch),
// with the index into rgvarg of the argument at fault when there is one.
struct DispFailure {
    HRESULT hr;
    std::optional<UINT> argument = std::nullopt;
};

class Call {
public:
    Call(WORD flags, const DISPPARAMS& params, VARIANT* result);

    bool isPut() const { return put_; }
    // Members that are read-only (or methods) refuse a put.
    void getOnly() const;

    // ------------------------------------------------------------ positional arguments
    size_t count() const { return positional_; }
    // More than `n` positional arguments is DISP_E_BADPARAMCOUNT.
    void atMost(size_t n) const;
    // The argument, or null when it is absent or passed as omitted (VT_ERROR with
    // DISP_E_PARAMNOTFOUND). By-reference variants are followed.
    const VARIANT* arg(size_t i) const;
    bool omitted(size_t i) const { return arg(i) == nullptr; }

    int32_t i4(size_t i) const;
    float r4(size_t i) const;
    double r8(size_t i) const;
    bool boolean(size_t i) const;
    std::string text(size_t i) const;
    std::optional<int32_t> optI4(size_t i) const;
    std::optional<bool> optBoolean(size_t i) const;
    std::optional<std::string> optText(size_t i) const;
    // An object argument (VT_DISPATCH or VT_UNKNOWN); null for Nothing or when omitted.
    ComPtr<IDispatch> object(size_t i) const;

    // ------------------------------------------------------------ the value of a put
    int32_t putI4() const;
    float putR4() const;
    double putR8() const;
    bool putBoolean() const;
    std::string putText() const;

    // ------------------------------------------------------------ the result
    void returnLong(int32_t v);
    void returnSingle(float v);
    void returnDouble(double v);
    void returnBoolean(bool v);
    void returnText(const std::string& v);
    // VT_DISPATCH; a null object is Nothing.
    void returnObject(ComPtr<IDispatch> object);
    // Takes over `v`.
    void returnVariant(VARIANT& v);

private:
    UINT rgIndex(size_t i) const { return static_cast<UINT>(params_.cArgs - 1 - i); }
    const VARIANT& putValue() const;
    // The value converted to `type`; DISP_E_TYPEMISMATCH naming `index` otherwise.
    void coerce(const VARIANT& from, VARTYPE type, UINT index, Variant& to) const;
    void required(size_t i) const;

    const DISPPARAMS& params_;
    VARIANT* result_;
    bool put_;
    size_t positional_;
};

}  // namespace qm::fake
