// The DLL's COM server: class factory and unload rules, IDTExtensibility2 through the
// vtable and through IDispatch, and a failing connection coming back as a failure HRESULT
// with every reference into the host released.
#include <gtest/gtest.h>

#include "com/extensibility.h"
#include "com/identity.h"
#include "tests/com/dll/addin_dll.h"
#include "tests/com/dll/test_object.h"

namespace qm::com {
namespace {

using test::makeObject;

class ComServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::CoInitialize(nullptr), S_OK);
        dll_ = std::make_unique<test::AddinDll>();
        getClassObject_ = dll_->function<test::DllGetClassObjectFn>("DllGetClassObject");
        canUnload_ = dll_->function<test::DllCanUnloadNowFn>("DllCanUnloadNow");
        ASSERT_TRUE(getClassObject_ && canUnload_);
    }
    void TearDown() override {
        // Every object of the DLL is gone before it is unloaded.
        EXPECT_EQ(canUnload_(), S_OK);
        dll_.reset();
        ::CoUninitialize();
    }

    ComPtr<IClassFactory> factory() {
        ComPtr<IClassFactory> f;
        EXPECT_EQ(getClassObject_(kConnectClsid, IID_IClassFactory, f.putVoid()), S_OK);
        return f;
    }
    ComPtr<IDTExtensibility2> create() {
        ComPtr<IDTExtensibility2> addin;
        EXPECT_EQ(factory()->CreateInstance(nullptr, __uuidof(IDTExtensibility2), addin.putVoid()), S_OK);
        return addin;
    }

    std::unique_ptr<test::AddinDll> dll_;
    test::DllGetClassObjectFn getClassObject_ = nullptr;
    test::DllCanUnloadNowFn canUnload_ = nullptr;
};

// An Excel whose every call fails as Excel fails when it is busy.
ComPtr<test::TestObject> busyExcel() {
    auto app = makeObject(L"Application", {{L"Version", 0x18A}});
    app->onInvoke = [](const test::RecordedCall&, VARIANT*, EXCEPINFO* info) {
        return test::failWith(info, static_cast<HRESULT>(0x800A03EC), L"Excel is busy");
    };
    return app;
}

ComPtr<test::TestObject> addInRecord() {
    auto record = makeObject(L"COMAddIn", {{L"ProgId", 3}, {L"Connect", 4}});
    record->onInvoke = [](const test::RecordedCall& call, VARIANT* result, EXCEPINFO*) {
        if (call.member == 3 && result) {
            result->vt = VT_BSTR;
            result->bstrVal = ::SysAllocString(L"QuillmarkInExcel.Connect");
        }
        return S_OK;
    };
    return record;
}

TEST_F(ComServer, FactoryHandsOutTheAddinAndKeepsTheDllLoadedWhileUsed) {
    ComPtr<IClassFactory> none;
    const CLSID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(getClassObject_(other, IID_IClassFactory, none.putVoid()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(none);

    ComPtr<IClassFactory> f = factory();
    EXPECT_EQ(canUnload_(), S_FALSE);
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(f->CreateInstance(f.get(), IID_IUnknown, aggregated.putVoid()), CLASS_E_NOAGGREGATION);

    ComPtr<IDispatch> addin;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IDispatch, addin.putVoid()), S_OK);
    EXPECT_TRUE(addin.query<IDTExtensibility2>());
    f.reset();
    EXPECT_EQ(canUnload_(), S_FALSE);
    addin.reset();
    EXPECT_EQ(canUnload_(), S_OK);

    f = factory();
    ASSERT_EQ(f->LockServer(TRUE), S_OK);
    f.reset();
    EXPECT_EQ(canUnload_(), S_FALSE);
    ASSERT_EQ(factory()->LockServer(FALSE), S_OK);
}

TEST_F(ComServer, DispatchNamesTheFiveMembersInVtableOrder) {
    ComPtr<IDTExtensibility2> addin = create();
    const wchar_t* names[] = {L"OnConnection", L"OnDisconnection", L"OnAddInsUpdate", L"OnStartupComplete",
                              L"OnBeginShutdown"};
    for (DISPID expected = 1; expected <= 5; ++expected) {
        LPOLESTR name = const_cast<LPOLESTR>(names[expected - 1]);
        DISPID id = 0;
        EXPECT_EQ(addin->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
        EXPECT_EQ(id, expected);
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"OnIdle");
    DISPID id = 0;
    EXPECT_EQ(addin->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);

    // The events that need nothing from the add-in, through Invoke.
    SAFEARRAY* custom = nullptr;
    VARIANT arg;
    arg.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
    arg.pparray = &custom;
    DISPPARAMS one{&arg, nullptr, 1, 0};
    for (DISPID member : {3, 4, 5})
        EXPECT_EQ(addin->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), S_OK);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(addin->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(addin->Invoke(9, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ComServer, HostFailureDuringConnectionIsAFailureHresultAndReleasesTheHost) {
    auto app = busyExcel();
    auto record = addInRecord();
    {
        ComPtr<IDTExtensibility2> addin = create();
        SAFEARRAY* custom = nullptr;
        EXPECT_EQ(addin->OnConnection(app.get(), ext_cm_Startup, record.get(), &custom),
                  static_cast<HRESULT>(0x800A03EC));
        IErrorInfo* raw = nullptr;
        ASSERT_EQ(::GetErrorInfo(0, &raw), S_OK);
        BSTR description = nullptr;
        raw->GetDescription(&description);
        EXPECT_STREQ(description, L"Excel is busy");
        ::SysFreeString(description);
        raw->Release();
        // Nothing is connected, so there is nothing to take down.
        EXPECT_EQ(addin->OnDisconnection(ext_dm_HostShutdown, &custom), S_OK);
        EXPECT_EQ(addin->OnConnection(nullptr, ext_cm_Startup, record.get(), &custom), E_INVALIDARG);
    }
    EXPECT_EQ(app->references(), 1u);
    EXPECT_EQ(record->references(), 1u);
}

TEST_F(ComServer, HostFailureThroughInvokeIsAnExceptionWithItsNumber) {
    auto app = busyExcel();
    auto record = addInRecord();
    {
        ComPtr<IDTExtensibility2> addin = create();
        SAFEARRAY* custom = nullptr;
        VARIANT args[4];
        args[3].vt = VT_DISPATCH;  // Application
        args[3].pdispVal = app.get();
        args[2].vt = VT_I4;  // ConnectMode
        args[2].lVal = ext_cm_AfterStartup;
        args[1].vt = VT_DISPATCH;  // AddInInst
        args[1].pdispVal = record.get();
        args[0].vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
        args[0].pparray = &custom;
        DISPPARAMS params{args, nullptr, 4, 0};
        EXCEPINFO info{};
        EXPECT_EQ(addin->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, nullptr), DISP_E_EXCEPTION);
        EXPECT_EQ(info.scode, static_cast<HRESULT>(0x800A03EC));
        EXPECT_STREQ(info.bstrDescription, L"Excel is busy");
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);

        params.cArgs = 3;
        EXPECT_EQ(addin->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
                  DISP_E_BADPARAMCOUNT);
    }
    EXPECT_EQ(app->references(), 1u);
    EXPECT_EQ(record->references(), 1u);
}

TEST_F(ComServer, ConnectionFailingHalfWayTakesDownWhatItBuilt) {
    // Excel 2003 answers its version but offers no application events.
    auto app = makeObject(L"Application", {{L"Version", 0x18A}});
    app->onInvoke = [](const test::RecordedCall& call, VARIANT* result, EXCEPINFO* info) {
        if (call.member == 0x18A && result) {
            result->vt = VT_BSTR;
            result->bstrVal = ::SysAllocString(L"11.0");
            return S_OK;
        }
        return test::failWith(info, static_cast<HRESULT>(0x800A03EC), L"no");
    };
    auto record = addInRecord();
    {
        ComPtr<IDTExtensibility2> addin = create();
        SAFEARRAY* custom = nullptr;
        HRESULT hr = addin->OnConnection(app.get(), ext_cm_Startup, record.get(), &custom);
        EXPECT_EQ(hr, static_cast<HRESULT>(0x800A01CB));  // 459: no such events
        // The add-in asked for its ProgId to build its OnAction text.
        ASSERT_FALSE(record->calls.empty());
        EXPECT_EQ(record->calls[0].member, 3);
    }
    EXPECT_EQ(app->references(), 1u);
    EXPECT_EQ(record->references(), 1u);
}

}  // namespace
}  // namespace qm::com
