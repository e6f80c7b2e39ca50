// Late-bound calls: DISPIDs resolved once per type, arguments in the order and form the
// host expects, failures as host errors, and adapters reading what Excel returns.
#include <gtest/gtest.h>

#include "com/adapters.h"
#include "com/dispatch.h"
#include "tests/com/dll/test_object.h"

namespace qm::com {
namespace {

using test::makeObject;
using test::TestObject;

const std::map<std::wstring, DISPID> kSheetMembers = {{L"Name", 0x6E}, {L"Cells", 0xEE}, {L"Add", 0xB5}};

TEST(DispidCache, AsksEachTypeForEachNameOnce) {
    auto session = std::make_shared<Session>();
    auto lookups = std::make_shared<int>(0);
    auto first = makeObject(L"Worksheet", kSheetMembers, lookups);
    auto second = makeObject(L"Worksheet", kSheetMembers, lookups);
    Dispatch a(first, session), b(second, session);
    for (int i = 0; i < 3; ++i) {
        a.getText(L"Name");
        b.getText(L"Name");
    }
    EXPECT_EQ(*lookups, 1);
    // A wrapper made later for another object of the type needs no lookup either.
    Dispatch c(makeObject(L"Worksheet", kSheetMembers, lookups), session);
    c.getText(L"Name");
    EXPECT_EQ(*lookups, 1);
    b.call(L"Add");
    EXPECT_EQ(*lookups, 2);
    ASSERT_EQ(second->calls.size(), 4u);
    EXPECT_EQ(second->calls[0].member, 0x6E);
    EXPECT_EQ(second->calls[3].member, 0xB5);
}

TEST(DispidCache, KeepsTypesApart) {
    auto session = std::make_shared<Session>();
    auto lookups = std::make_shared<int>(0);
    auto sheet = makeObject(L"Worksheet", {{L"Name", 1}}, lookups);
    auto chart = makeObject(L"Chart", {{L"Name", 2}}, lookups);
    Dispatch(sheet, session).getText(L"Name");
    Dispatch(chart, session).getText(L"Name");
    EXPECT_EQ(*lookups, 2);
    EXPECT_EQ(sheet->calls.at(0).member, 1);
    EXPECT_EQ(chart->calls.at(0).member, 2);
    EXPECT_EQ(session->dispids().typeCount(), 2u);
}

TEST(DispidCache, ObjectsWithoutTypeInformationKeepTheirOwnNames) {
    auto session = std::make_shared<Session>();
    auto lookups = std::make_shared<int>(0);
    auto one = makeObject(L"", {{L"Count", 7}}, lookups);
    auto other = makeObject(L"", {{L"Count", 9}}, lookups);
    Dispatch a(one, session), b(other, session);
    a.getInt(L"Count");
    a.getInt(L"Count");
    b.getInt(L"Count");
    EXPECT_EQ(*lookups, 2);
    EXPECT_EQ(other->calls.at(0).member, 9);
    EXPECT_EQ(a.typeName(), "Object");
    EXPECT_EQ(session->dispids().typeCount(), 0u);
}

TEST(DispidCache, UnknownNameIsError438AndIsNotAskedAgain) {
    auto session = std::make_shared<Session>();
    auto lookups = std::make_shared<int>(0);
    Dispatch popup(makeObject(L"CommandBarPopup", {{L"Caption", 3}}, lookups), session);
    for (int i = 0; i < 2; ++i) {
        try {
            popup.getInt(L"Style");
            FAIL() << "Style on a popup";
        } catch (const host::HostError& e) {
            EXPECT_EQ(e.number(), 438);
        }
    }
    EXPECT_EQ(*lookups, 1);
}

TEST(Dispatch, PassesArgumentsPositionallyAndPutsAsNamedPropertyPut) {
    auto session = std::make_shared<Session>();
    auto bars = makeObject(L"CommandBars", {{L"Add", 10}, {L"Visible", 11}});
    Dispatch d(bars, session);
    d.call(L"Add", fromText("QM"), missing(), fromBool(false), fromBool(true));
    d.put(L"Visible", fromBool(true));

    const test::RecordedCall& add = bars->calls.at(0);
    EXPECT_EQ(add.flags, DISPATCH_METHOD);
    ASSERT_EQ(add.args.size(), 4u);
    EXPECT_EQ(toText(*add.args[0]->get()), "QM");
    EXPECT_TRUE(isMissing(*add.args[1]->get()));
    EXPECT_FALSE(toBool(*add.args[2]->get()));
    EXPECT_TRUE(toBool(*add.args[3]->get()));
    EXPECT_TRUE(add.named.empty());

    const test::RecordedCall& put = bars->calls.at(1);
    EXPECT_EQ(put.flags, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(put.named.size(), 1u);
    EXPECT_EQ(put.named[0], DISPID_PROPERTYPUT);
    ASSERT_EQ(put.args.size(), 1u);
    EXPECT_EQ(put.args[0]->type(), VT_BOOL);
}

TEST(Dispatch, FailedInvokeThrowsTheHostError) {
    auto session = std::make_shared<Session>();
    auto sheet = makeObject(L"Worksheet", kSheetMembers);
    sheet->onInvoke = [](const test::RecordedCall&, VARIANT*, EXCEPINFO* info) {
        return test::failWith(info, static_cast<HRESULT>(0x800A03EC), L"That name is already taken.");
    };
    Dispatch d(sheet, session);
    try {
        d.put(L"Name", fromText("Sheet1"));
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_EQ(e.description(), "That name is already taken.");
    }
}

TEST(Dispatch, TypeNameComesFromTheTypeInformation) {
    auto session = std::make_shared<Session>();
    EXPECT_EQ(Dispatch(makeObject(L"Rectangle", {}), session).typeName(), "Rectangle");
    EXPECT_EQ(Dispatch(makeObject(L"_Worksheet", {}), session).typeName(), "Worksheet");
    Dispatch nothing(nullptr, session);
    try {
        nothing.getInt(L"Count");
        FAIL() << "a call on Nothing";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), 91);
    }
}

TEST(Dispatch, WrapperReleasesItsReference) {
    auto session = std::make_shared<Session>();
    auto sheet = makeObject(L"Worksheet", kSheetMembers);
    {
        auto wrapped = wrap<ComSheet>(sheet, session);
        EXPECT_EQ(sheet->references(), 2u);
        wrapped->name();
    }
    EXPECT_EQ(sheet->references(), 1u);
}

// ---------------------------------------------------------------- adapters

TEST(Adapters, NodePointsReadXAndYFromTheTwoDimensionalArray) {
    auto session = std::make_shared<Session>();
    auto node = makeObject(L"ShapeNode", {{L"Points", 5}});
    node->onInvoke = [](const test::RecordedCall&, VARIANT* result, EXCEPINFO*) {
        // (1 to 1, 1 to 2) of Single: (1,1) x, (1,2) y.
        SAFEARRAYBOUND bounds[2] = {{1, 1}, {2, 1}};
        SAFEARRAY* array = ::SafeArrayCreate(VT_R4, 2, bounds);
        LONG x[2] = {1, 1}, y[2] = {1, 2};  // (row, column)
        float xv = 12.5f, yv = -3.25f;
        ::SafeArrayPutElement(array, x, &xv);
        ::SafeArrayPutElement(array, y, &yv);
        result->vt = VT_ARRAY | VT_R4;
        result->parray = array;
        return S_OK;
    };
    host::NodePoint p = ComShapeNode(Dispatch(node, session)).points();
    EXPECT_FLOAT_EQ(p.x, 12.5f);
    EXPECT_FLOAT_EQ(p.y, -3.25f);
}

TEST(Adapters, CancelledSaveAsReadsFalse) {
    auto session = std::make_shared<Session>();
    auto app = makeObject(L"Application", {{L"GetSaveAsFilename", 0x434}});
    app->onInvoke = [](const test::RecordedCall&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
    };
    ComApplication adapter(Dispatch(app, session));
    EXPECT_EQ(adapter.getSaveAsFilename("", "Bitmap (*.bmp),*.bmp", 2, "Save"), "False");
    const test::RecordedCall& call = app->calls.at(0);
    ASSERT_EQ(call.args.size(), 4u);
    EXPECT_EQ(toText(*call.args[1]->get()), "Bitmap (*.bmp),*.bmp");
    EXPECT_EQ(toInt(*call.args[2]->get()), 2);
    EXPECT_EQ(toText(*call.args[3]->get()), "Save");
}

TEST(Adapters, SheetsAddPassesOnlyAfter) {
    auto session = std::make_shared<Session>();
    auto sheets = makeObject(L"Sheets", {{L"Add", 0xB5}});
    auto last = makeObject(L"Worksheet", kSheetMembers);
    auto added = makeObject(L"Worksheet", kSheetMembers);
    sheets->onInvoke = [&](const test::RecordedCall&, VARIANT* result, EXCEPINFO*) {
        result->vt = VT_DISPATCH;
        result->pdispVal = added.get();
        added->AddRef();
        return S_OK;
    };
    ComSheets adapter(Dispatch(sheets, session));
    host::SheetPtr after = wrap<ComSheet>(last, session);
    host::SheetPtr sheet = adapter.add(after);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(dispatchOf(sheet), added.get());
    const test::RecordedCall& call = sheets->calls.at(0);
    ASSERT_EQ(call.args.size(), 2u);
    EXPECT_TRUE(isMissing(*call.args[0]->get()));
    EXPECT_EQ(toObject(*call.args[1]->get()).get(), static_cast<IDispatch*>(last.get()));
    // Without a sheet to follow, no arguments at all.
    adapter.add(nullptr);
    EXPECT_TRUE(sheets->calls.at(1).args.empty());
}

TEST(Adapters, ShapesRangeSendsTheNamesAsAnArrayOfVariants) {
    auto session = std::make_shared<Session>();
    auto shapes = makeObject(L"Shapes", {{L"Range", 0xC5}});
    ComShapes adapter(Dispatch(shapes, session));
    EXPECT_EQ(adapter.range({"Oval 1", "直線 2"}), nullptr);  // the test object returns Nothing
    const test::RecordedCall& call = shapes->calls.at(0);
    ASSERT_EQ(call.args.size(), 1u);
    const VARIANT& names = *call.args[0]->get();
    ASSERT_EQ(names.vt, VT_ARRAY | VT_VARIANT);
    LONG low = -1, high = -1;
    ::SafeArrayGetLBound(names.parray, 1, &low);
    ::SafeArrayGetUBound(names.parray, 1, &high);
    ASSERT_EQ(high - low, 1);
    Variant second;
    LONG index = low + 1;
    ::SafeArrayGetElement(names.parray, &index, second.put());
    EXPECT_EQ(toText(*second.get()), "直線 2");
}

}  // namespace
}  // namespace qm::com
