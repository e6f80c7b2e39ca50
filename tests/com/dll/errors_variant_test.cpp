// Automation errors both ways, and VARIANT conversions with late binding's coercions.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "com/errors.h"
#include "com/variant.h"
#include "tests/com/dll/test_object.h"

namespace qm::com {
namespace {

// ---------------------------------------------------------------- errors from Invoke

TEST(ErrorFromInvoke, ControlScodeGivesTheNumberAndDescription) {
    EXCEPINFO info{};
    test::failWith(&info, static_cast<HRESULT>(0x800A03EC), L"Unable to set the Name property");
    host::HostError e = errorFromInvoke(DISP_E_EXCEPTION, &info);
    EXPECT_EQ(e.number(), 1004);
    EXPECT_EQ(e.description(), "Unable to set the Name property");
    EXPECT_EQ(info.bstrDescription, nullptr);  // taken and freed
}

TEST(ErrorFromInvoke, WCodeWinsAndAnEmptyDescriptionGetsTheStandardOne) {
    EXCEPINFO info{};
    test::failWith(&info, 0, nullptr, 5);
    host::HostError e = errorFromInvoke(DISP_E_EXCEPTION, &info);
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), "Invalid procedure call or argument");
}

TEST(ErrorFromInvoke, OtherScodesAreSignedNumbers) {
    EXCEPINFO info{};
    test::failWith(&info, E_FAIL, L"Unspecified error");
    EXPECT_EQ(errorFromInvoke(DISP_E_EXCEPTION, &info).number(), static_cast<int32_t>(E_FAIL));
    // An scode that is a dispatch error keeps that error's number.
    test::failWith(&info, DISP_E_TYPEMISMATCH, nullptr);
    EXPECT_EQ(errorFromInvoke(DISP_E_EXCEPTION, &info).number(), 13);
}

HRESULT STDAPICALLTYPE fillLate(EXCEPINFO* e) {
    e->scode = static_cast<HRESULT>(0x800A005B);
    e->bstrDescription = ::SysAllocString(L"filled late");
    return S_OK;
}

TEST(ErrorFromInvoke, DeferredFillInRunsFirst) {
    EXCEPINFO info{};
    info.pfnDeferredFillIn = fillLate;
    host::HostError e = errorFromInvoke(DISP_E_EXCEPTION, &info);
    EXPECT_EQ(e.number(), 91);
    EXPECT_EQ(e.description(), "filled late");
}

TEST(ErrorFromInvoke, DispatchFailuresMapToTheClassicNumbers) {
    struct Case {
        HRESULT hr;
        int32_t number;
    };
    for (Case c : {Case{DISP_E_UNKNOWNNAME, 438}, Case{DISP_E_MEMBERNOTFOUND, 438}, Case{DISP_E_TYPEMISMATCH, 13},
                   Case{DISP_E_BADPARAMCOUNT, 450}, Case{DISP_E_PARAMNOTOPTIONAL, 450}, Case{DISP_E_OVERFLOW, 6},
                   Case{static_cast<HRESULT>(0x800A01A8), 424}, Case{E_NOINTERFACE, static_cast<int32_t>(E_NOINTERFACE)}}) {
        host::HostError e = errorFromInvoke(c.hr, nullptr);
        EXPECT_EQ(e.number(), c.number) << std::hex << c.hr;
        EXPECT_FALSE(e.description().empty());
    }
    EXPECT_EQ(errorFromInvoke(DISP_E_UNKNOWNNAME, nullptr).description(),
              "Object doesn't support this property or method");
    EXPECT_EQ(errorFromInvoke(E_NOINTERFACE, nullptr).description(), "Automation error");
}

// ---------------------------------------------------------------- our entry points

template <class E>
std::exception_ptr failure(E e) {
    return std::make_exception_ptr(e);
}

TEST(EntryPointFailure, HostErrorsGoBackAsControlHresults) {
    EXPECT_EQ(hresultOf(failure(host::HostError(1004, "x"))), static_cast<HRESULT>(0x800A03EC));
    EXPECT_EQ(hresultOf(failure(host::HostError(host::err::kUnspecified, "x"))), E_FAIL);
    EXPECT_EQ(hresultOf(failure(std::bad_alloc())), E_OUTOFMEMORY);
    EXPECT_EQ(hresultOf(failure(std::runtime_error("x"))), E_FAIL);
    EXPECT_EQ(hresultOf(failure(42)), E_UNEXPECTED);
}

TEST(EntryPointFailure, GuardedBodyReturnsFailureAndSetsTheErrorObject) {
    HRESULT hr = guarded("Quillmark in Excel", []() -> HRESULT { throw host::HostError(91, "no workbook"); });
    EXPECT_EQ(hr, static_cast<HRESULT>(0x800A005B));
    IErrorInfo* raw = nullptr;
    ASSERT_EQ(::GetErrorInfo(0, &raw), S_OK);
    ComPtr<IErrorInfo> info = ComPtr<IErrorInfo>::adopt(raw);
    BSTR description = nullptr;
    info->GetDescription(&description);
    UniqueBstr owner(description);
    EXPECT_EQ(bstrToUtf8(description), "no workbook");
    EXPECT_EQ(guarded("x", [] { return S_FALSE; }), S_FALSE);
}

TEST(EntryPointFailure, GuardedInvokeFillsExcepInfo) {
    EXCEPINFO info{};
    HRESULT hr = guardedInvoke("Quillmark in Excel", &info, []() -> HRESULT { throw std::bad_alloc(); });
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_OUTOFMEMORY);
    EXPECT_EQ(info.wCode, 0);
    EXPECT_STREQ(info.bstrSource, L"Quillmark in Excel");
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    // Without an EXCEPINFO the HRESULT itself tells.
    EXPECT_EQ(guardedInvoke("x", nullptr, []() -> HRESULT { throw std::runtime_error("x"); }), E_FAIL);
}

// ---------------------------------------------------------------- conversions

template <class F>
int32_t errorNumberOf(F&& f) {
    try {
        f();
    } catch (const host::HostError& e) {
        return e.number();
    }
    return 0;
}

TEST(Variants, TextRoundTripsThroughBstr) {
    const std::string text = "Zeichen äö 図形 \xF0\x9F\x98\x80";
    Variant v = fromText(text);
    EXPECT_EQ(v.type(), VT_BSTR);
    EXPECT_EQ(toText(*v.get()), text);
    EXPECT_EQ(bstrToUtf8(nullptr), "");
    EXPECT_EQ(toText(*fromText("").get()), "");
}

TEST(Variants, NumbersCoerceAsLateBindingDoes) {
    Variant shortValue;
    shortValue.get()->vt = VT_I2;
    shortValue.get()->iVal = -7;
    EXPECT_EQ(toInt(*shortValue.get()), -7);
    EXPECT_EQ(toInt(*fromText("12").get()), 12);
    EXPECT_EQ(toInt(*fromDouble(2.5).get()), 2);  // banker's rounding, as VB's CLng
    EXPECT_EQ(toInt(*fromDouble(3.5).get()), 4);
    EXPECT_DOUBLE_EQ(toDouble(*fromFloat(0.25f).get()), 0.25);
    EXPECT_FLOAT_EQ(toFloat(*fromInt(3).get()), 3.0f);
    EXPECT_EQ(toInt(*Variant().get()), 0);  // Empty is 0
    EXPECT_EQ(errorNumberOf([] { toInt(*fromText("twelve").get()); }), 13);
    EXPECT_EQ(errorNumberOf([] { toInt(*fromDouble(1e12).get()); }), 6);
}

TEST(Variants, BooleansReadFromNumbersAndPrintAsTrueFalse) {
    EXPECT_TRUE(toBool(*fromInt(-1).get()));
    EXPECT_FALSE(toBool(*fromInt(0).get()));
    EXPECT_EQ(fromBool(true).get()->boolVal, VARIANT_TRUE);
    EXPECT_EQ(toText(*fromBool(true).get()), "True");
    EXPECT_EQ(toText(*fromBool(false).get()), "False");
    // A VARIANT passed by reference reads as its value.
    Variant inner = fromBool(true);
    VARIANT ref;
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = inner.get();
    EXPECT_TRUE(toBool(ref));
}

TEST(Variants, ObjectsAndNothing) {
    EXPECT_FALSE(toObject(*Variant().get()));
    EXPECT_FALSE(toObject(*fromObject(nullptr).get()));
    auto object = test::makeObject(L"Range", {});
    {
        Variant v = fromObject(object.get());
        EXPECT_EQ(object->references(), 2u);
        EXPECT_EQ(toObject(*v.get()).get(), static_cast<IDispatch*>(object.get()));
        Variant unknown;
        unknown.get()->vt = VT_UNKNOWN;
        unknown.get()->punkVal = static_cast<IDispatch*>(object.get());
        object->AddRef();
        EXPECT_EQ(toObject(*unknown.get()).get(), static_cast<IDispatch*>(object.get()));
    }
    EXPECT_EQ(object->references(), 1u);
    EXPECT_EQ(errorNumberOf([] { toObject(*fromInt(1).get()); }), 424);
}

TEST(Variants, MissingArgumentAndOptionals) {
    EXPECT_TRUE(isMissing(*missing().get()));
    EXPECT_TRUE(isMissing(*fromOptional(std::optional<int32_t>()).get()));
    EXPECT_EQ(fromOptional(std::optional<bool>(true)).type(), VT_BOOL);
    EXPECT_EQ(fromOptional(std::optional<std::string>("Tag")).type(), VT_BSTR);
    EXPECT_EQ(fromOptional(std::optional<int32_t>(5)).type(), VT_I4);
    EXPECT_FALSE(isMissing(*fromInt(0).get()));
}

}  // namespace
}  // namespace qm::com
