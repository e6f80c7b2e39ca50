// VARIANT arguments and results.
#include "com/variant.h"

#include <new>
#include <vector>

#include "com/errors.h"

namespace qm::com {

namespace {

// VariantChangeType into `type`; a failure is the error late binding reports for it.
Variant coerced(const VARIANT& value, VARTYPE type) {
    Variant out;
    HRESULT hr = ::VariantChangeType(out.get(), const_cast<VARIANT*>(&value), 0, type);
    if (FAILED(hr)) raiseHresult(hr);
    return out;
}

// The VARIANT a VT_BYREF|VT_VARIANT points to, or the value itself.
const VARIANT& dereferenced(const VARIANT& value) {
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal) return *value.pvarVal;
    return value;
}

}  // namespace

std::string bstrToUtf8(BSTR text) {
    if (!text) return {};
    return win32::toUtf8(std::wstring_view(text, ::SysStringLen(text)));
}

UniqueBstr utf8ToBstr(const std::string& utf8) {
    std::wstring wide = win32::toUtf16(utf8);
    UniqueBstr out(::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (!out) throw std::bad_alloc();
    return out;
}

Variant fromInt(int32_t value) {
    Variant v;
    v.get()->vt = VT_I4;
    v.get()->lVal = value;
    return v;
}

Variant fromBool(bool value) {
    Variant v;
    v.get()->vt = VT_BOOL;
    v.get()->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant fromFloat(float value) {
    Variant v;
    v.get()->vt = VT_R4;
    v.get()->fltVal = value;
    return v;
}

Variant fromDouble(double value) {
    Variant v;
    v.get()->vt = VT_R8;
    v.get()->dblVal = value;
    return v;
}

Variant fromText(const std::string& utf8) {
    Variant v;
    v.get()->bstrVal = utf8ToBstr(utf8).release();
    v.get()->vt = VT_BSTR;
    return v;
}

Variant fromObject(IDispatch* object) {
    Variant v;
    v.get()->vt = VT_DISPATCH;
    v.get()->pdispVal = object;
    if (object) object->AddRef();
    return v;
}

Variant missing() {
    Variant v;
    v.get()->vt = VT_ERROR;
    v.get()->scode = DISP_E_PARAMNOTFOUND;
    return v;
}

bool isMissing(const VARIANT& value) { return value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND; }

Variant fromTextArray(const std::vector<std::string>& utf8) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(utf8.size()), 0};
    UniqueSafeArray array(::SafeArrayCreate(VT_VARIANT, 1, &bound));
    if (!array) throw std::bad_alloc();
    for (size_t i = 0; i < utf8.size(); ++i) {
        Variant item = fromText(utf8[i]);
        LONG index = static_cast<LONG>(i);
        HRESULT hr = ::SafeArrayPutElement(array.get(), &index, item.get());  // copies the item
        if (FAILED(hr)) raiseHresult(hr);
    }
    Variant v;
    v.get()->vt = VT_ARRAY | VT_VARIANT;
    v.get()->parray = array.release();
    return v;
}

int32_t toInt(const VARIANT& value) {
    const VARIANT& v = dereferenced(value);
    if (v.vt == VT_I4) return v.lVal;
    return coerced(v, VT_I4).get()->lVal;
}

bool toBool(const VARIANT& value) {
    const VARIANT& v = dereferenced(value);
    if (v.vt == VT_BOOL) return v.boolVal != VARIANT_FALSE;
    return coerced(v, VT_BOOL).get()->boolVal != VARIANT_FALSE;
}

float toFloat(const VARIANT& value) {
    const VARIANT& v = dereferenced(value);
    if (v.vt == VT_R4) return v.fltVal;
    return coerced(v, VT_R4).get()->fltVal;
}

double toDouble(const VARIANT& value) {
    const VARIANT& v = dereferenced(value);
    if (v.vt == VT_R8) return v.dblVal;
    return coerced(v, VT_R8).get()->dblVal;
}

std::string toText(const VARIANT& value) {
    const VARIANT& v = dereferenced(value);
    if (v.vt == VT_BSTR) return bstrToUtf8(v.bstrVal);
    if (v.vt == VT_BOOL) return v.boolVal != VARIANT_FALSE ? "True" : "False";
    return bstrToUtf8(coerced(v, VT_BSTR).get()->bstrVal);
}

ComPtr<IDispatch> toObject(const VARIANT& value) {
    const VARIANT& v = dereferenced(value);
    switch (v.vt) {
        case VT_EMPTY: return nullptr;
        case VT_DISPATCH: return ComPtr<IDispatch>::share(v.pdispVal);
        case VT_BYREF | VT_DISPATCH: return v.ppdispVal ? ComPtr<IDispatch>::share(*v.ppdispVal) : nullptr;
        case VT_UNKNOWN:
            if (!v.punkVal) return nullptr;
            if (auto object = ComPtr<IUnknown>::share(v.punkVal).query<IDispatch>()) return object;
            break;
        default: break;
    }
    host::raise(host::err::kObjectRequired);
}

}  // namespace qm::com
