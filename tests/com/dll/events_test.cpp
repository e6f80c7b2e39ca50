// Event sinks: advised on subscription and unadvised when it goes, Click with the
// clicked control and CancelDefault written back, and a sink that survives being
// unadvised from inside its own call.
#include <gtest/gtest.h>

#include "com/adapters.h"
#include "com/events.h"
#include "tests/com/dll/test_object.h"

namespace qm::com {
namespace {

using test::makeObject;

VARIANT dispatchArg(IDispatch* object) {
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

VARIANT boolRef(VARIANT_BOOL* slot) {
    VARIANT v;
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = slot;
    return v;
}

TEST(Events, ClickPassesTheControlAndWritesCancelDefaultBack) {
    auto session = std::make_shared<Session>();
    auto button = makeObject(L"CommandBarButton", {{L"Tag", 0x60}});
    button->events = kCommandBarButtonEvents;
    button->onInvoke = [](const test::RecordedCall&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(L"QM_Mode");
        return S_OK;
    };
    ComCommandBarControl control(Dispatch(button, session));
    std::string clickedTag;
    host::Subscription click = control.onClick([&](const host::CommandBarControlPtr& ctrl, bool& cancel) {
        clickedTag = ctrl->tag();
        EXPECT_FALSE(cancel);
        cancel = true;
    });
    EXPECT_EQ(button->advises, 1);

    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(button->fire(kClick, {dispatchArg(button.get()), boolRef(&cancel)}), S_OK);
    EXPECT_EQ(clickedTag, "QM_Mode");
    EXPECT_EQ(cancel, VARIANT_TRUE);

    click.reset();
    EXPECT_EQ(button->unadvises, 1);
    EXPECT_EQ(button->sink(), nullptr);
}

TEST(Events, SinkSurvivesBeingUnadvisedInsideItsOwnClick) {
    auto session = std::make_shared<Session>();
    auto button = makeObject(L"CommandBarButton", {});
    button->events = kCommandBarButtonEvents;
    auto control = wrap<ComCommandBarControl>(button, session);
    host::Subscription click;
    int clicks = 0;
    click = control->onClick([&](const host::CommandBarControlPtr&, bool&) {
        ++clicks;
        // The add-in lets go of the button variable inside its own click.
        click.reset();
        control.reset();
    });
    // Keep a reference of our own so that a late call can still be made.
    ComPtr<IDispatch> sink = ComPtr<IDispatch>::share(button->sink());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(button->fire(kClick, {dispatchArg(button.get()), boolRef(&cancel)}), S_OK);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->unadvises, 1);

    // A call that was already on its way when the subscription went reaches nobody.
    VARIANT args[2] = {boolRef(&cancel), dispatchArg(button.get())};
    DISPPARAMS params{args, nullptr, 2, 0};
    EXPECT_EQ(sink->Invoke(kClick, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(clicks, 1);
    sink.reset();
    // Only our own reference is left on the button: the adapter, the sink and the
    // connection all let go.
    EXPECT_EQ(button->references(), 1u);
}

TEST(Events, SheetChangeWrapsSheetAndTarget) {
    auto session = std::make_shared<Session>();
    auto app = makeObject(L"Application", {});
    app->events = kAppEvents;
    auto sheet = makeObject(L"Worksheet", {{L"Name", 0x6E}});
    sheet->onInvoke = [](const test::RecordedCall&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(L"Sheet2");
        return S_OK;
    };
    auto range = makeObject(L"Range", {});
    ComApplication adapter(Dispatch(app, session));
    std::string changed;
    bool gotRange = false;
    host::Subscription sub = adapter.onSheetChange([&](const host::SheetPtr& sh, const host::RangePtr& target) {
        changed = sh->name();
        gotRange = dispatchOf(target) == static_cast<IDispatch*>(range.get());
    });
    // Other events of the interface reach the sink too and are ignored.
    EXPECT_EQ(app->fire(0x616, {dispatchArg(sheet.get())}), S_OK);
    EXPECT_EQ(changed, "");
    EXPECT_EQ(app->fire(kSheetChange, {dispatchArg(sheet.get()), dispatchArg(range.get())}), S_OK);
    EXPECT_EQ(changed, "Sheet2");
    EXPECT_TRUE(gotRange);
}

TEST(Events, HandlerFailureComesBackAsAnExceptionNotACrash) {
    auto session = std::make_shared<Session>();
    auto bars = makeObject(L"CommandBars", {});
    bars->events = kCommandBarsEvents;
    ComCommandBars adapter(Dispatch(bars, session));
    host::Subscription update = adapter.onUpdate([] { throw std::runtime_error("broken handler"); });
    ComPtr<IDispatch> sink = ComPtr<IDispatch>::share(bars->sink());
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXCEPINFO info{};
    EXPECT_EQ(sink->Invoke(kOnUpdate, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &info, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_FAIL);
    EXPECT_STREQ(info.bstrDescription, L"broken handler");
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
}

TEST(Events, SourceWithoutTheEventsIsAHostError) {
    auto session = std::make_shared<Session>();
    ComCommandBars adapter(Dispatch(makeObject(L"CommandBars", {}), session));
    try {
        adapter.onUpdate([] {});
        FAIL() << "advised on an object without connection points";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), 459);
    }
}

TEST(Session, WorkAskedForInsideAnEventWaitsForTheOutermostToReturn) {
    Session session;
    int done = 0;
    {
        auto outer = session.enter();
        {
            auto inner = session.enter();
            session.whenIdle([&] { ++done; });
        }
        EXPECT_EQ(done, 0);
        EXPECT_TRUE(session.busy());
    }
    EXPECT_EQ(done, 1);
    session.whenIdle([&] { ++done; });
    EXPECT_EQ(done, 2);
}

}  // namespace
}  // namespace qm::com
