// The fake Excel driven through IDispatch the way a late-bound client drives Excel: names,
// arguments, results, errors, type names, events and the counts tests rely on.
#include <gtest/gtest.h>

#include <vector>

#include "sim/addin.h"
#include "sim/com/fake_excel.h"
#include "sim/com/objects.h"

namespace qm::fake {
namespace {

// ---------------------------------------------------------------- a small client

struct Arg {
    Arg() : v{} { v.vt = VT_ERROR, v.scode = DISP_E_PARAMNOTFOUND; }  // omitted
    Arg(int32_t n) : v{} { v.vt = VT_I4, v.lVal = n; }
    Arg(double d) : v{} { v.vt = VT_R8, v.dblVal = d; }
    Arg(bool b) : v{} { v.vt = VT_BOOL, v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
    Arg(const char* s) : v{} { v.vt = VT_BSTR, v.bstrVal = Bstr(std::string_view(s)).detach(); }
    Arg(IDispatch* d) : v{} {
        v.vt = VT_DISPATCH, v.pdispVal = d;
        if (d) d->AddRef();
    }
    Arg(const Arg& o) : v{} { ::VariantCopy(&v, const_cast<VARIANT*>(&o.v)); }
    ~Arg() { ::VariantClear(&v); }
    VARIANT v;
};

struct Outcome {
    HRESULT hr = E_FAIL;
    Variant result;
    EXCEPINFO info{};
    UINT argErr = ~0u;
    Outcome() = default;
    Outcome(const Outcome&) = delete;
    ~Outcome() {
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }
    std::string description() const { return toUtf8(info.bstrDescription); }
    ComPtr<IDispatch> object() const {
        return result.type() == VT_DISPATCH ? ComPtr<IDispatch>(result.get()->pdispVal) : nullptr;
    }
};

DISPID idOf(IDispatch* object, const wchar_t* name) {
    std::wstring text(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// Arguments in the member's order; they go to Invoke last first.
void invoke(Outcome& out, IDispatch* object, const wchar_t* name, WORD flags, std::vector<Arg> args,
            bool namedPut = true) {
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->v);
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT && namedPut;
    DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
    out.hr = object->Invoke(idOf(object, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                            flags == DISPATCH_PROPERTYPUT ? nullptr : out.result.put(), &out.info, &out.argErr);
}

ComPtr<IDispatch> getObject(IDispatch* object, const wchar_t* name, std::vector<Arg> args = {}) {
    Outcome o;
    invoke(o, object, name, DISPATCH_PROPERTYGET, std::move(args));
    EXPECT_EQ(o.hr, S_OK) << win32::toUtf8(name) << ": " << o.description();
    return o.object();
}

std::string getText(IDispatch* object, const wchar_t* name) {
    Outcome o;
    invoke(o, object, name, DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(o.hr, S_OK) << o.description();
    return o.result.type() == VT_BSTR ? toUtf8(o.result.get()->bstrVal) : "(not text)";
}

HRESULT put(IDispatch* object, const wchar_t* name, Arg value) {
    Outcome o;
    invoke(o, object, name, DISPATCH_PROPERTYPUT, {std::move(value)});
    return o.hr;
}

std::string typeNameOf(IDispatch* object) {
    ComPtr<ITypeInfo> info;
    if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) return "(no type info)";
    Bstr name;
    info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    return name.utf8();
}

// An event sink that answers one event interface and records what it is told.
class RecordingSink final : public IDispatch {
public:
    explicit RecordingSink(const IID& events) : events_(events) {}
    struct Event {
        DISPID id;
        std::vector<VARTYPE> types;
        std::vector<std::string> objectTypes;
    };
    std::vector<Event> events;
    bool cancelDefault = false;
    // Run inside Invoke (an add-in that lets go of its button in its own handler).
    std::function<void()> onEvent;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == events_) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return --references; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) noexcept override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        Event e{id, {}, {}};
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& v = params->rgvarg[i];
            e.types.push_back(v.vt);
            if (v.vt == VT_DISPATCH) e.objectTypes.push_back(v.pdispVal ? typeNameOf(v.pdispVal) : "Nothing");
            if (v.vt == (VT_BOOL | VT_BYREF) && cancelDefault) *v.pboolVal = VARIANT_TRUE;
        }
        events.push_back(std::move(e));
        if (onEvent) onEvent();
        return S_OK;
    }
    ULONG references = 1;

private:
    IID events_;
};

// ---------------------------------------------------------------- fixture

class FakeExcelTest : public ::testing::Test {
protected:
    FakeExcelTest() {
        book = host.addWorkbook("Book1");
        sheet1 = host.addWorksheet(book, "Sheet1");
        host.addWorksheet(book, "Sheet2");
        host.activateSheet(sheet1);
    }
    ~FakeExcelTest() override {
        // Every object handed out has been released by the test.
        EXPECT_EQ(excel.tally().liveObjects, 0);
        EXPECT_EQ(excel.tally().liveReferences, 0);
    }

    sim::SimHost host;
    FakeExcel excel{host};
    sim::WorkbookNodePtr book;
    sim::SheetNodePtr sheet1;
};

// ---------------------------------------------------------------- names and types

TEST_F(FakeExcelTest, NamesResolveCaseInsensitivelyToOneDispidPerNameAcrossClasses) {
    auto app = excel.application();
    auto bars = getObject(app.get(), L"CommandBars");
    auto cells = getObject(getObject(app.get(), L"ActiveSheet").get(), L"Cells");

    EXPECT_EQ(idOf(app.get(), L"version"), idOf(app.get(), L"VERSION"));
    EXPECT_NE(idOf(app.get(), L"Version"), DISPID_UNKNOWN);
    // The same name is the same member on every class, as a type-keyed cache assumes.
    EXPECT_EQ(idOf(bars.get(), L"Count"), idOf(cells.get(), L"count"));
    EXPECT_EQ(idOf(bars.get(), L"Item"), DISPID_VALUE);

    std::wstring text = L"Controls";  // a member of bars, not of the application
    LPOLESTR names[] = {text.data()};
    DISPID id = 0;
    EXPECT_EQ(app->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    text = L"NoSuchThing";
    names[0] = text.data();
    EXPECT_EQ(app->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);

    EXPECT_EQ(excel.tally().nameLookupsOf("Application.version"), 1);
    EXPECT_EQ(excel.tally().nameLookupsOf("Application.NoSuchThing"), 1);
}

TEST_F(FakeExcelTest, TypeInfoNamesTheExcelTypeOfEachObject) {
    auto chart = host.addChartSheet(book, "Chart1");
    auto app = excel.application();
    EXPECT_EQ(typeNameOf(app.get()), "Application");
    EXPECT_EQ(typeNameOf(getObject(app.get(), L"ActiveSheet").get()), "Worksheet");
    auto sheets = getObject(getObject(app.get(), L"ActiveWorkbook").get(), L"Sheets");
    EXPECT_EQ(typeNameOf(getObject(sheets.get(), L"Item", {3}).get()), "Chart");
    (void)chart;

    host.addShape(sheet1, {.kind = sim::ShapeKind::AutoShape, .name = "Box", .width = 20, .height = 20});
    host.addShape(sheet1, {.kind = sim::ShapeKind::TextBox, .name = "Note", .width = 20, .height = 20});
    EXPECT_EQ(typeNameOf(getObject(app.get(), L"Selection").get()), "Range");
    host.selectShapes({"Box"});
    EXPECT_EQ(typeNameOf(getObject(app.get(), L"Selection").get()), "Rectangle");
    host.selectShapes({"Box", "Note"});
    EXPECT_EQ(typeNameOf(getObject(app.get(), L"Selection").get()), "DrawingObjects");

    auto bars = getObject(app.get(), L"CommandBars");
    auto menuBar = getObject(bars.get(), L"Item", {"Worksheet Menu Bar"});
    EXPECT_EQ(typeNameOf(menuBar.get()), "CommandBar");
    auto file = getObject(getObject(menuBar.get(), L"Controls").get(), L"Item", {1});
    EXPECT_EQ(typeNameOf(file.get()), "CommandBarPopup");
    auto newButton = getObject(getObject(file.get(), L"Controls").get(), L"Item", {1});
    EXPECT_EQ(typeNameOf(newButton.get()), "CommandBarButton");
    // A popup lacks the members of a button, and the reverse.
    EXPECT_EQ(idOf(file.get(), L"FaceId"), DISPID_UNKNOWN);
    EXPECT_EQ(idOf(newButton.get(), L"Controls"), DISPID_UNKNOWN);
}

// ---------------------------------------------------------------- invoke

TEST_F(FakeExcelTest, PropertiesReadAndWriteTheHostAndCountAsItsCalls) {
    auto app = excel.application();
    EXPECT_EQ(getText(app.get(), L"Version"), "11.0");
    EXPECT_EQ(put(app.get(), L"ScreenUpdating", false), S_OK);
    EXPECT_FALSE(host.screenUpdating());
    // Values are coerced as Excel coerces them.
    EXPECT_EQ(put(app.get(), L"DisplayFormulaBar", "False"), S_OK);
    EXPECT_FALSE(host.displayFormulaBar());

    EXPECT_EQ(host.calls("Application.ScreenUpdating="), 1);
    EXPECT_EQ(excel.tally().invokesOf("Application.ScreenUpdating="), 1);
    EXPECT_EQ(excel.tally().invokesOf("Application.Version"), 1);

    // A put needs its value as the named DISPID_PROPERTYPUT argument; read-only
    // properties refuse puts.
    Outcome unnamed;
    invoke(unnamed, app.get(), L"ScreenUpdating", DISPATCH_PROPERTYPUT, {true}, false);
    EXPECT_EQ(unnamed.hr, DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(put(app.get(), L"Version", "12.0"), DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(host.screenUpdating());

    Variant result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(app->Invoke(0x7777, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.put(), nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST_F(FakeExcelTest, ArgumentsArePositionalWithOmittedOnesAndCoercion) {
    auto app = excel.application();
    auto bars = getObject(app.get(), L"CommandBars");

    // Add(Name, Position, MenuBar, Temporary) with Position and MenuBar omitted.
    auto bar = getObject(bars.get(), L"Add", {"Mine", Arg(), Arg(), true});
    ASSERT_TRUE(bar);
    auto node = host.findBar("Mine");
    ASSERT_TRUE(node);
    EXPECT_TRUE(node->temporary);
    EXPECT_EQ(node->position, host::msoBarFloating);

    // Text that is a number goes where a number is wanted.
    EXPECT_EQ(put(bar.get(), L"Position", "1"), S_OK);
    EXPECT_EQ(node->position, host::msoBarTop);

    Outcome mismatch;
    invoke(mismatch, bars.get(), L"Add", DISPATCH_METHOD, {"Other", "not a number"});
    EXPECT_EQ(mismatch.hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(mismatch.argErr, 0u);  // rgvarg holds the last argument first
    EXPECT_FALSE(host.findBar("Other"));

    Outcome tooMany;
    invoke(tooMany, bars.get(), L"Add", DISPATCH_METHOD, {"A", 1, false, true, 5});
    EXPECT_EQ(tooMany.hr, DISP_E_BADPARAMCOUNT);
    Outcome missing;
    invoke(missing, getObject(bar.get(), L"Controls").get(), L"Item", DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(missing.hr, DISP_E_PARAMNOTOPTIONAL);

    // Item takes a name or a number, and both METHOD and PROPERTYGET.
    Outcome byName;
    invoke(byName, bars.get(), L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {"mine"});
    ASSERT_EQ(byName.hr, S_OK);
    EXPECT_EQ(getText(byName.object().get(), L"Name"), "Mine");
}

TEST_F(FakeExcelTest, HostErrorsComeBackAsExceptionsWithExcelsNumbersAndWords) {
    auto app = excel.application();
    auto bars = getObject(app.get(), L"CommandBars");

    Outcome absent;
    invoke(absent, bars.get(), L"Item", DISPATCH_PROPERTYGET, {"No such bar"});
    EXPECT_EQ(absent.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(absent.info.scode, static_cast<HRESULT>(0x800A0005));
    EXPECT_EQ(toUtf8(absent.info.bstrSource), "Microsoft Office Excel");
    EXPECT_FALSE(absent.description().empty());

    host.failMember("Application.Version", 1, 1004, std::string("Version failed"));
    Outcome failed;
    invoke(failed, app.get(), L"Version", DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(failed.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(failed.info.scode, static_cast<HRESULT>(0x800A03EC));
    EXPECT_EQ(failed.description(), "Version failed");
    EXPECT_EQ(failed.result.type(), VT_EMPTY);

    // Numbers that are HRESULTs already stay as they are.
    host.failMember("Application.Caption", 1, host::err::kUnspecified, std::string("Automation error"));
    Outcome automation;
    invoke(automation, app.get(), L"Caption", DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(automation.info.scode, static_cast<HRESULT>(0x80004005));
}

TEST_F(FakeExcelTest, NothingIsANullDispatch) {
    sim::SimHost empty;
    FakeExcel bare(empty);
    {
        auto app = bare.application();
        Outcome o;
        invoke(o, app.get(), L"ActiveWorkbook", DISPATCH_PROPERTYGET, {});
        EXPECT_EQ(o.hr, S_OK);
        EXPECT_EQ(o.result.type(), VT_DISPATCH);
        EXPECT_EQ(o.result.get()->pdispVal, nullptr);
    }
    EXPECT_EQ(bare.tally().liveObjects, 0);
}

TEST_F(FakeExcelTest, ObjectArgumentsAreTracedBackToTheirHostObjects) {
    auto app = excel.application();
    auto sheets = getObject(getObject(app.get(), L"ActiveWorkbook").get(), L"Sheets");
    auto first = getObject(sheets.get(), L"Item", {1});
    // Add(Before, After): after the first sheet.
    auto added = getObject(sheets.get(), L"Add", {Arg(), first.get()});
    ASSERT_TRUE(added);
    ASSERT_EQ(book->sheets.size(), 3u);
    EXPECT_EQ(book->sheets[1]->name, getText(added.get(), L"Name"));

    // Something that is not one of this host's sheets cannot be passed.
    auto bars = getObject(app.get(), L"CommandBars");
    Outcome wrong;
    invoke(wrong, sheets.get(), L"Add", DISPATCH_METHOD, {Arg(), bars.get()});
    EXPECT_EQ(wrong.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(wrong.info.scode, static_cast<HRESULT>(0x800A000D));
    EXPECT_EQ(book->sheets.size(), 3u);
}

TEST_F(FakeExcelTest, ShapesRangeTakesAnArrayOfNamesAndNodePointsAreAOneByTwoArray) {
    host.addShape(sheet1, {.kind = sim::ShapeKind::AutoShape, .name = "A", .width = 10, .height = 10});
    host.addShape(sheet1, {.kind = sim::ShapeKind::AutoShape, .name = "B", .width = 10, .height = 10});
    host.addShape(sheet1, {.kind = sim::ShapeKind::Freeform,
                           .name = "F",
                           .nodes = {{5, 6}, {30.5f, 40.25f}, {10, 50}}});
    auto app = excel.application();
    auto shapes = getObject(getObject(app.get(), L"ActiveSheet").get(), L"Shapes");

    SAFEARRAYBOUND bound{2, 0};
    SAFEARRAY* names = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    for (LONG i = 0; i < 2; ++i) {
        Arg name(i == 0 ? "A" : "B");
        ::SafeArrayPutElement(names, &i, &name.v);
    }
    Arg array;
    array.v.vt = VT_ARRAY | VT_VARIANT;
    array.v.parray = names;
    auto range = getObject(shapes.get(), L"Range", {array});
    ASSERT_TRUE(range);
    EXPECT_EQ(typeNameOf(range.get()), "ShapeRange");
    EXPECT_EQ(put(range.get(), L"Visible", host::msoFalse), S_OK);
    EXPECT_FALSE(host.findShape(sheet1, "A")->visible);
    EXPECT_FALSE(host.findShape(sheet1, "B")->visible);

    auto node = getObject(getObject(getObject(shapes.get(), L"Item", {"F"}).get(), L"Nodes").get(), L"Item", {2});
    Outcome points;
    invoke(points, node.get(), L"Points", DISPATCH_PROPERTYGET, {});
    ASSERT_EQ(points.hr, S_OK) << points.description();
    ASSERT_EQ(points.result.type(), VT_ARRAY | VT_R4);
    SAFEARRAY* p = points.result.get()->parray;
    ASSERT_EQ(::SafeArrayGetDim(p), 2u);
    LONG lo = 0, hi = 0;
    ::SafeArrayGetLBound(p, 1, &lo);
    ::SafeArrayGetUBound(p, 1, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 1);
    ::SafeArrayGetLBound(p, 2, &lo);
    ::SafeArrayGetUBound(p, 2, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 2);
    // Column-major storage: (1, 1) then (1, 2).
    const auto* data = static_cast<const float*>(p->pvData);
    EXPECT_FLOAT_EQ(data[0], 30.5f);
    EXPECT_FLOAT_EQ(data[1], 40.25f);
}

TEST_F(FakeExcelTest, SaveAsDialogAnswersAPathOrFalse) {
    auto app = excel.application();
    host.queueSaveAsAnswer(std::string("C:\\pictures\\a.bmp"));
    host.queueSaveAsAnswer(std::nullopt);
    Outcome chosen;
    invoke(chosen, app.get(), L"GetSaveAsFilename", DISPATCH_METHOD, {"a.bmp", "Bitmap (*.bmp),*.bmp", 2, "Save"});
    ASSERT_EQ(chosen.result.type(), VT_BSTR);
    EXPECT_EQ(toUtf8(chosen.result.get()->bstrVal), "C:\\pictures\\a.bmp");
    ASSERT_EQ(host.saveAsRequests().size(), 1u);
    EXPECT_EQ(host.saveAsRequests()[0].filterIndex, 2);
    EXPECT_EQ(host.saveAsRequests()[0].title, "Save");
    Outcome cancelled;
    invoke(cancelled, app.get(), L"GetSaveAsFilename", DISPATCH_METHOD, {});
    ASSERT_EQ(cancelled.result.type(), VT_BOOL);
    EXPECT_EQ(cancelled.result.get()->boolVal, VARIANT_FALSE);
}

// ---------------------------------------------------------------- events

ComPtr<IConnectionPoint> pointOf(IDispatch* source, const IID& events) {
    auto container = ComPtr<IDispatch>(source).as<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    if (container) container->FindConnectionPoint(events, point.put());
    return point;
}

TEST_F(FakeExcelTest, ClickReachesAnAdvisedSinkWithTheButtonAndCancelDefault) {
    auto bar = host.addBar({.name = "Tools", .visible = true});
    auto app = excel.application();
    auto bars = getObject(app.get(), L"CommandBars");
    auto controls = getObject(getObject(bars.get(), L"Item", {"Tools"}).get(), L"Controls");
    // The built-in Snap to Grid toggle: CancelDefault keeps the host from toggling it.
    auto snap = getObject(controls.get(), L"Add", {1, host::ctl::kSnapToGrid});
    ASSERT_TRUE(snap);

    RecordingSink sink(kCommandBarButtonEvents);
    auto point = pointOf(snap.get(), kCommandBarButtonEvents);
    ASSERT_TRUE(point);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(excel.tally().liveAdvises, 1);

    const auto node = bar->controls.back();
    ASSERT_TRUE(host.click(node));
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].id, kClick);
    EXPECT_EQ(sink.events[0].types, (std::vector<VARTYPE>{VT_DISPATCH, VT_BOOL | VT_BYREF}));
    EXPECT_EQ(sink.events[0].objectTypes, std::vector<std::string>{"CommandBarButton"});
    EXPECT_TRUE(host.toggle(host::ctl::kSnapToGrid));

    sink.cancelDefault = true;
    host.click(node);
    EXPECT_TRUE(host.toggle(host::ctl::kSnapToGrid));  // unchanged: the default action was cancelled

    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    host.click(node);
    EXPECT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.references, 1u);
    EXPECT_EQ(excel.tally().liveAdvises, 0);
}

TEST_F(FakeExcelTest, SheetChangeAndOnUpdateReachTheirSinksAndASinkMayLeaveInsideItsEvent) {
    auto app = excel.application();
    RecordingSink changes(kAppEvents);
    auto appPoint = pointOf(app.get(), kAppEvents);
    DWORD appCookie = 0;
    ASSERT_EQ(appPoint->Advise(&changes, &appCookie), S_OK);
    host.editCell(sheet1, "B2:C3", "x");
    ASSERT_EQ(changes.events.size(), 1u);
    EXPECT_EQ(changes.events[0].id, kSheetChange);
    EXPECT_EQ(changes.events[0].objectTypes, (std::vector<std::string>{"Worksheet", "Range"}));
    EXPECT_EQ(appPoint->Unadvise(appCookie), S_OK);

    auto bars = getObject(app.get(), L"CommandBars");
    auto barsPoint = pointOf(bars.get(), kCommandBarsEvents);
    RecordingSink updates(kCommandBarsEvents);
    DWORD cookie = 0;
    ASSERT_EQ(barsPoint->Advise(&updates, &cookie), S_OK);
    // The sink unadvises from inside its own event, with nothing else holding the source.
    IConnectionPoint* raw = barsPoint.get();
    updates.onEvent = [&] { raw->Unadvise(cookie); };
    bars.reset();
    host.fireUpdate();
    host.fireUpdate();
    EXPECT_EQ(updates.events.size(), 1u);
    EXPECT_EQ(updates.events[0].id, kOnUpdate);
    EXPECT_TRUE(updates.events[0].types.empty());
    EXPECT_EQ(host.liveSubscriptions(), 0);
}

TEST_F(FakeExcelTest, OnlySinksOfTheEventInterfaceConnectAndOnlyEventSourcesHaveConnectionPoints) {
    auto app = excel.application();
    RecordingSink wrongInterface(kCommandBarsEvents);
    auto point = pointOf(app.get(), kAppEvents);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(&wrongInterface, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(wrongInterface.references, 1u);

    auto container = app.as<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> none;
    EXPECT_EQ(container->FindConnectionPoint(kCommandBarButtonEvents, none.put()), CONNECT_E_NOCONNECTION);
    auto cells = getObject(getObject(app.get(), L"ActiveSheet").get(), L"Cells");
    EXPECT_FALSE(cells.as<IConnectionPointContainer>());
}

// ---------------------------------------------------------------- counting

TEST_F(FakeExcelTest, CountsLiveObjectsAndReferencesAndAnAdvisedSinkKeepsItsSourceAlive) {
    {
        auto app = excel.application();
        EXPECT_EQ(excel.tally().liveObjects, 1);
        auto again = app;
        EXPECT_EQ(excel.tally().liveReferences, 2);
        auto bars = getObject(app.get(), L"CommandBars");
        EXPECT_EQ(excel.tally().live("CommandBars"), 1);
        EXPECT_EQ(host.liveHandles("CommandBars"), 1);
    }
    EXPECT_EQ(excel.tally().liveObjects, 0);
    EXPECT_EQ(host.liveHandles(), 0);

    RecordingSink sink(kAppEvents);
    DWORD cookie = 0;
    IConnectionPoint* point = nullptr;
    {
        auto app = excel.application();
        point = pointOf(app.get(), kAppEvents).detach();
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    }
    point->Release();
    // Only the connection holds the application now: a client that never unadvises
    // leaves its source behind, where these counts show it.
    EXPECT_EQ(excel.tally().liveObjects, 1);
    EXPECT_EQ(excel.tally().liveReferences, 1);
    EXPECT_EQ(excel.tally().liveAdvises, 1);
    host.editCell(sheet1, "A1", "1");
    EXPECT_EQ(sink.events.size(), 1u);
    // Still alive through the connection, so the point can be used to end it.
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(excel.tally().liveObjects, 0);
    EXPECT_EQ(excel.tally().liveAdvises, 0);
}

}  // namespace
}  // namespace qm::fake
