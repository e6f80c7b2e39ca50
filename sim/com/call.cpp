// Arguments and results of one Invoke on the fake Excel.
#include "sim/com/call.h"

namespace qm::fake {

Call::Call(WORD flags, const DISPPARAMS& params, VARIANT* result)
    : params_(params), result_(result), put_((flags & DISPATCH_PROPERTYPUT) != 0) {
    if (params_.cArgs < params_.cNamedArgs || (params_.cArgs > 0 && !params_.rgvarg)) throw DispFailure{E_INVALIDARG};
    // The only named argument Excel's callers pass is the value of a property put.
    if (put_) {
        if (params_.cNamedArgs != 1 || params_.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
            throw DispFailure{DISP_E_PARAMNOTFOUND};
        }
    } else if (params_.cNamedArgs != 0) {
        throw DispFailure{DISP_E_NONAMEDARGS};
    } else if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
        throw DispFailure{DISP_E_MEMBERNOTFOUND};
    }
    positional_ = params_.cArgs - params_.cNamedArgs;
}

void Call::getOnly() const {
    if (put_) throw DispFailure{DISP_E_MEMBERNOTFOUND};
}

void Call::atMost(size_t n) const {
    if (positional_ > n) throw DispFailure{DISP_E_BADPARAMCOUNT};
}

const VARIANT* Call::arg(size_t i) const {
    if (i >= positional_) return nullptr;
    const VARIANT* v = &params_.rgvarg[rgIndex(i)];
    if (v->vt == (VT_VARIANT | VT_BYREF)) v = v->pvarVal;
    if (!v || (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND)) return nullptr;
    return v;
}

void Call::required(size_t i) const {
    if (!arg(i)) throw DispFailure{DISP_E_PARAMNOTOPTIONAL, i < positional_ ? std::optional(rgIndex(i)) : std::nullopt};
}

void Call::coerce(const VARIANT& from, VARTYPE type, UINT index, Variant& to) const {
    // VariantChangeType follows by-reference values itself; Excel coerces the same way.
    if (FAILED(::VariantChangeType(to.put(), const_cast<VARIANT*>(&from), 0, type))) {
        throw DispFailure{DISP_E_TYPEMISMATCH, index};
    }
}

int32_t Call::i4(size_t i) const {
    required(i);
    Variant v;
    coerce(*arg(i), VT_I4, rgIndex(i), v);
    return v.get()->lVal;
}

float Call::r4(size_t i) const {
    required(i);
    Variant v;
    coerce(*arg(i), VT_R4, rgIndex(i), v);
    return v.get()->fltVal;
}

double Call::r8(size_t i) const {
    required(i);
    Variant v;
    coerce(*arg(i), VT_R8, rgIndex(i), v);
    return v.get()->dblVal;
}

bool Call::boolean(size_t i) const {
    required(i);
    Variant v;
    coerce(*arg(i), VT_BOOL, rgIndex(i), v);
    return v.get()->boolVal != VARIANT_FALSE;
}

std::string Call::text(size_t i) const {
    required(i);
    Variant v;
    coerce(*arg(i), VT_BSTR, rgIndex(i), v);
    return toUtf8(v.get()->bstrVal);
}

std::optional<int32_t> Call::optI4(size_t i) const { return omitted(i) ? std::nullopt : std::optional(i4(i)); }

std::optional<bool> Call::optBoolean(size_t i) const { return omitted(i) ? std::nullopt : std::optional(boolean(i)); }

std::optional<std::string> Call::optText(size_t i) const {
    return omitted(i) ? std::nullopt : std::optional(text(i));
}

ComPtr<IDispatch> Call::object(size_t i) const {
    const VARIANT* v = arg(i);
    if (!v || v->vt == VT_EMPTY) return nullptr;
    if (v->vt == VT_DISPATCH) return ComPtr<IDispatch>(v->pdispVal);
    if (v->vt == (VT_DISPATCH | VT_BYREF)) return ComPtr<IDispatch>(v->ppdispVal ? *v->ppdispVal : nullptr);
    if (v->vt == VT_UNKNOWN || v->vt == (VT_UNKNOWN | VT_BYREF)) {
        IUnknown* unknown = v->vt == VT_UNKNOWN ? v->punkVal : (v->ppunkVal ? *v->ppunkVal : nullptr);
        if (!unknown) return nullptr;
        ComPtr<IDispatch> out;
        if (SUCCEEDED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out.put())))) return out;
    }
    throw DispFailure{DISP_E_TYPEMISMATCH, rgIndex(i)};
}

const VARIANT& Call::putValue() const {
    const VARIANT* v = &params_.rgvarg[0];
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
    return *v;
}

int32_t Call::putI4() const {
    Variant v;
    coerce(putValue(), VT_I4, 0, v);
    return v.get()->lVal;
}

float Call::putR4() const {
    Variant v;
    coerce(putValue(), VT_R4, 0, v);
    return v.get()->fltVal;
}

double Call::putR8() const {
    Variant v;
    coerce(putValue(), VT_R8, 0, v);
    return v.get()->dblVal;
}

bool Call::putBoolean() const {
    Variant v;
    coerce(putValue(), VT_BOOL, 0, v);
    return v.get()->boolVal != VARIANT_FALSE;
}

std::string Call::putText() const {
    Variant v;
    coerce(putValue(), VT_BSTR, 0, v);
    return toUtf8(v.get()->bstrVal);
}

void Call::returnLong(int32_t v) {
    if (!result_) return;
    ::VariantClear(result_);
    result_->vt = VT_I4;
    result_->lVal = v;
}

void Call::returnSingle(float v) {
    if (!result_) return;
    ::VariantClear(result_);
    result_->vt = VT_R4;
    result_->fltVal = v;
}

void Call::returnDouble(double v) {
    if (!result_) return;
    ::VariantClear(result_);
    result_->vt = VT_R8;
    result_->dblVal = v;
}

void Call::returnBoolean(bool v) {
    if (!result_) return;
    ::VariantClear(result_);
    result_->vt = VT_BOOL;
    result_->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
}

void Call::returnText(const std::string& v) {
    if (!result_) return;
    ::VariantClear(result_);
    result_->vt = VT_BSTR;
    result_->bstrVal = Bstr(std::string_view(v)).detach();
}

void Call::returnObject(ComPtr<IDispatch> object) {
    if (!result_) return;
    ::VariantClear(result_);
    result_->vt = VT_DISPATCH;
    result_->pdispVal = object.detach();
}

void Call::returnVariant(VARIANT& v) {
    if (!result_) {
        ::VariantClear(&v);
        return;
    }
    ::VariantClear(result_);
    *result_ = v;
    v.vt = VT_EMPTY;
}

}  // namespace qm::fake
