// Failures reaching the real DLL: every host call of a connection and of a click failing in
// turn, and entry points called with what they cannot use. Each comes back as a failure
// HRESULT or as the add-in's own handling (a message box the user answers), never a crash,
// and the DLL still lets go of everything afterwards.
#include "tests/com/e2e/harness.h"

namespace qm::e2e {
namespace {

TEST(Failures, EveryHostCallOfAConnectionFailingInTurn) {
    // Loaded once for the whole sweep, as Excel keeps it loaded; each stage below loads
    // it again only by reference count.
    const fake::AddinDll loaded(addinDllPath());
    int64_t calls = 0;
    {
        Harness h;
        h.host.resetCounts();
        ASSERT_EQ(h.connect(), S_OK);
        calls = h.host.calls();
    }
    ASSERT_GT(calls, 20);
    int failedConnections = 0;
    for (int64_t n = 1; n <= calls; ++n) {
        Harness h;
        h.host.resetCounts();
        h.host.failCall(n);
        const HRESULT hr = h.connect();
        h.host.clearFailures();
        if (FAILED(hr)) {
            ++failedConnections;
            // A failed connection takes down what it built.
            EXPECT_FALSE(h.host.findByTag("NVK")) << "call " << n;
            EXPECT_FALSE(h.host.findBar("QM")) << "call " << n;
        } else if (h.addin.loaded()) {
            EXPECT_EQ(h.disconnect(), S_OK) << "call " << n;
        }
        EXPECT_TRUE(h.allReleased()) << "call " << n;
        EXPECT_FALSE(h.host.findByTag("NVK")) << "call " << n;
        EXPECT_EQ(h.dll.canUnloadNow(), S_OK) << "call " << n;
    }
    // Some calls matter: their failure fails the connection.
    EXPECT_GT(failedConnections, 0);
    std::cout << "[ sweep    ] " << calls << " host calls in a connection, " << failedConnections
              << " of them fail it\n";
}

TEST(Failures, EveryHostCallOfAClickFailingInTurn) {
    // Goto Draw mode: the click that does the most.
    const fake::AddinDll loaded(addinDllPath());
    int64_t calls = 0;
    {
        Harness h;
        h.skipOnePointAdvice();
        ASSERT_EQ(h.connect(), S_OK);
        h.host.resetCounts();
        ASSERT_TRUE(h.clickNode(h.productItem(0)));
        calls = h.host.calls();
        // The add-in asks whether to make a new sheet to draw on; the user says Yes.
        const auto boxes = h.messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].style(), MB_YESNOCANCEL | MB_ICONQUESTION);
        EXPECT_TRUE(h.host.findBar("QM")) << "still there in Draw mode";
    }
    ASSERT_GT(calls, 10);
    int messages = 0;
    for (int64_t n = 1; n <= calls; ++n) {
        Harness h;
        h.skipOnePointAdvice();
        ASSERT_EQ(h.connect(), S_OK) << "call " << n;
        h.host.resetCounts();
        h.host.failCall(n);
        h.clickNode(h.productItem(0));
        h.host.clearFailures();
        messages += static_cast<int>(h.dialogs().size());
        ASSERT_EQ(h.disconnect(), S_OK) << "call " << n;
        EXPECT_TRUE(h.allReleased()) << "call " << n;
        EXPECT_FALSE(h.host.findByTag("NVK")) << "call " << n;
        EXPECT_FALSE(h.host.findBar("QM")) << "call " << n;
    }
    std::cout << "[ sweep    ] " << calls << " host calls in a click on Draw mode, " << messages
              << " message boxes answered (the Draw mode question and error messages)\n";
}

TEST(Failures, ConnectionEntryPointsGivenWhatTheyCannotUseFail) {
    Harness h;
    fake::ComPtr<fake::IDTExtensibility2> object;
    ASSERT_EQ(h.dll.createConnect(object), S_OK);
    auto app = h.excel.application();
    auto record = h.excel.addIn(h.host.addAddIn("QuillmarkInExcel.Connect"));
    SAFEARRAY* custom = nullptr;
    EXPECT_TRUE(FAILED(object->OnConnection(nullptr, fake::ext_cm_Startup, record.get(), &custom)));
    EXPECT_TRUE(FAILED(object->OnConnection(app.get(), fake::ext_cm_Startup, nullptr, &custom)));

    // An exception inside the connection (the host failing a call the add-in cannot do
    // without) is a failure HRESULT with the host's description.
    h.host.failMember("AddIn.ProgId", 1, 1004, std::string("ProgId is not there"));
    const HRESULT hr = object->OnConnection(app.get(), fake::ext_cm_Startup, record.get(), &custom);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(fake::failureText(hr), "(1004) ProgId is not there");
    EXPECT_FALSE(h.host.findByTag("NVK"));

    // Through IDispatch: wrong argument counts, unknown members, a number for an object.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant result;
    EXCEPINFO info{};
    EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, result.put(), &info, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &none, result.put(), &info, nullptr),
              DISP_E_MEMBERNOTFOUND);
    VARIANT args[4];
    for (VARIANT& a : args) ::VariantInit(&a);
    args[3].vt = VT_I4;  // Application
    args[3].lVal = 7;
    args[2].vt = VT_I4;  // ConnectMode
    args[1].vt = VT_DISPATCH;  // AddInInst
    args[1].pdispVal = record.get();
    args[0].vt = VT_ARRAY | VT_VARIANT | VT_BYREF;  // custom
    args[0].pparray = &custom;
    DISPPARAMS bad{args, nullptr, 4, 0};
    EXPECT_TRUE(FAILED(object->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &bad, result.put(), &info, nullptr)));
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);

    object.reset();
    app.reset();
    record.reset();
    EXPECT_TRUE(h.allReleased());
    EXPECT_EQ(h.dll.canUnloadNow(), S_OK);
}

// A host that raises events with arguments of the wrong kind, or none.
TEST(Failures, EventSinksGivenBadArgumentsNeitherCrashNorStopWorking) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    auto clicks = h.excel.sinks(fake::kCommandBarButtonEvents);
    auto changes = h.excel.sinks(fake::kAppEvents);
    ASSERT_FALSE(clicks.empty());
    ASSERT_FALSE(changes.empty());

    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT clickArgs[2];
    ::VariantInit(&clickArgs[0]);
    ::VariantInit(&clickArgs[1]);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    for (auto& sink : clicks) {
        EXCEPINFO info{};
        sink->Invoke(fake::kClick, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &info, nullptr);
        // Ctrl a number, CancelDefault not by reference.
        clickArgs[1].vt = VT_I4;
        clickArgs[1].lVal = 5;
        clickArgs[0].vt = VT_BOOL;
        clickArgs[0].boolVal = VARIANT_TRUE;
        DISPPARAMS wrongTypes{clickArgs, nullptr, 2, 0};
        sink->Invoke(fake::kClick, IID_NULL, 0, DISPATCH_METHOD, &wrongTypes, nullptr, &info, nullptr);
        // Ctrl Nothing.
        clickArgs[1].vt = VT_DISPATCH;
        clickArgs[1].pdispVal = nullptr;
        clickArgs[0].vt = VT_BOOL | VT_BYREF;
        clickArgs[0].pboolVal = &cancel;
        DISPPARAMS nothing{clickArgs, nullptr, 2, 0};
        sink->Invoke(fake::kClick, IID_NULL, 0, DISPATCH_METHOD, &nothing, nullptr, &info, nullptr);
        sink->Invoke(12345, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &info, nullptr);
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }
    for (auto& sink : changes) {
        VARIANT changeArgs[2];
        ::VariantInit(&changeArgs[0]);
        ::VariantInit(&changeArgs[1]);
        changeArgs[0].vt = VT_DISPATCH;  // Target Nothing
        changeArgs[1].vt = VT_BSTR;      // Sh a text
        changeArgs[1].bstrVal = ::SysAllocString(L"Sheet1");
        DISPPARAMS wrong{changeArgs, nullptr, 2, 0};
        EXCEPINFO info{};
        sink->Invoke(fake::kSheetChange, IID_NULL, 0, DISPATCH_METHOD, &wrong, nullptr, &info, nullptr);
        sink->Invoke(fake::kSheetChange, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &info, nullptr);
        ::VariantClear(&changeArgs[1]);
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }
    clicks.clear();
    changes.clear();
    h.dialogs();

    // Still connected and working.
    const size_t before = h.opened.size();
    ASSERT_TRUE(h.clickNode(h.host.findByTag("NVK_SITE")));
    EXPECT_EQ(h.opened.size(), before + 1);
    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_TRUE(h.allReleased());
}

}  // namespace
}  // namespace qm::e2e
