// VARIANT values at the automation boundary: making arguments from the add-in's types
// and reading results back into them, coerced the way late binding coerces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "com/owners.h"

namespace qm::com {

// Arguments.
Variant fromInt(int32_t value);
Variant fromBool(bool value);
Variant fromFloat(float value);
Variant fromDouble(double value);
Variant fromText(const std::string& utf8);
Variant fromObject(IDispatch* object);  // holds its own reference; null is Nothing
// An optional argument left out: VT_ERROR with DISP_E_PARAMNOTFOUND.
Variant missing();
bool isMissing(const VARIANT& value);

template <class T>
Variant fromOptional(const std::optional<T>& value) {
    if (!value) return missing();
    if constexpr (std::is_same_v<T, bool>) return fromBool(*value);
    else if constexpr (std::is_same_v<T, std::string>) return fromText(*value);
    else return fromInt(*value);
}

// A SAFEARRAY of VARIANT(BSTR), 0-based, in a VARIANT: the names argument of Shapes.Range.
Variant fromTextArray(const std::vector<std::string>& utf8);

// Results. Each converts with VariantChangeType as late binding does (a BSTR "12" reads
// as the number 12, a VT_I2 as a Long) and throws HostError 13 (type mismatch) or 6
// (overflow) when it cannot.
int32_t toInt(const VARIANT& value);
bool toBool(const VARIANT& value);
float toFloat(const VARIANT& value);
double toDouble(const VARIANT& value);
// Booleans read as "True" / "False", as the classic runtime prints them.
std::string toText(const VARIANT& value);
// VT_DISPATCH (null is Nothing), VT_EMPTY (Nothing) or VT_UNKNOWN answering IDispatch;
// anything else throws HostError 424 (object required).
ComPtr<IDispatch> toObject(const VARIANT& value);

// BSTR and UTF-8. A null BSTR is the empty string.
std::string bstrToUtf8(BSTR text);
UniqueBstr utf8ToBstr(const std::string& utf8);

}  // namespace qm::com
