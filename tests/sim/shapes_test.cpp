// Drawing objects: names, the drawing layer, geometry and nodes, shape ranges, the
// late-bound selection and copying pictures.
#include <string>
#include <vector>

#include "test_support.h"

namespace qm::sim {
namespace {

using namespace host;
using testing::expectHostError;
using testing::HostWithBook;
using testing::ofKind;
using testing::rect;

ShapeInit freeform(std::vector<PathNode> nodes, std::string name = "") {
    ShapeInit init;
    init.kind = ShapeKind::Freeform;
    init.nodes = std::move(nodes);
    init.name = std::move(name);
    return init;
}

TEST(SimShapes, DefaultNamesAndLookupByName) {
    HostWithBook h;
    auto shapes = h.app->activeSheet()->shapes();
    auto r = shapes->addShape(msoShapeRectangle, 10, 10, 40, 20);
    auto o = shapes->addShape(msoShapeOval, 10, 10, 40, 20);
    auto t = shapes->addShape(7, 10, 10, 40, 20);
    EXPECT_EQ(r->name(), "Rectangle 1");
    EXPECT_EQ(o->name(), "Oval 2");
    EXPECT_EQ(t->name(), "AutoShape 3");
    EXPECT_EQ(t->autoShapeType(), 7);
    EXPECT_EQ(t->zOrderPosition(), 3);  // on top

    h.host.addShape(h.sheet, rect(0, 0, 1, 1, "Twin"));
    h.host.addShape(h.sheet, rect(5, 0, 1, 1, "twin"));
    EXPECT_FLOAT_EQ(shapes->item("TWIN")->left(), 0);  // the first of that name
    expectHostError([&] { shapes->item("Nobody"); }, -2147024809, "The item with the specified name wasn't found.");
    expectHostError([&] { shapes->item(99); }, -2147024809);
    expectHostError([&] { shapes->range({"Twin", "Nobody"}); }, -2147024809);
    expectHostError([&] { shapes->addShape(139, 0, 0, 1, 1); }, -2147024809);
}

TEST(SimShapes, TypeCodesOfEveryKind) {
    HostWithBook h;
    const std::vector<std::pair<ShapeKind, int32_t>> kinds = {
        {ShapeKind::TextBox, msoTextBox}, {ShapeKind::Line, msoLine},       {ShapeKind::Picture, msoPicture},
        {ShapeKind::Chart, msoChart},     {ShapeKind::Comment, msoComment}, {ShapeKind::FormControl, msoFormControl},
        {ShapeKind::OleControl, msoOLEControlObject}};
    for (const auto& [kind, code] : kinds) {
        auto obj = h.host.addShape(h.sheet, ofKind(kind));
        auto shape = h.app->activeSheet()->shapes()->item(obj->name);
        EXPECT_EQ(shape->type(), code);
        EXPECT_EQ(shape->autoShapeType(), kind == ShapeKind::Line ? 138 : -2) << code;
    }
    h.host.addShape(h.sheet, freeform({{0, 0}, {10, 10}}, "F"));
    EXPECT_EQ(h.app->activeSheet()->shapes()->item("F")->autoShapeType(), 138);
}

TEST(SimShapes, ZOrderMovesWithinTheWholeDrawingLayer) {
    HostWithBook h;
    for (const char* name : {"A", "B", "C", "D"}) h.host.addShape(h.sheet, rect(0, 0, 1, 1, name));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Chart, "Chart"));  // charts take places too
    auto shapes = h.app->activeSheet()->shapes();
    auto order = [&] {
        std::string s;
        for (int32_t i = 1; i <= shapes->count(); ++i) s += shapes->item(i)->name() + " ";
        return s;
    };
    auto b = shapes->item("B");
    EXPECT_EQ(b->zOrderPosition(), 2);
    b->zOrder(msoBringToFront);
    EXPECT_EQ(order(), "A C D Chart B ");
    EXPECT_EQ(b->zOrderPosition(), 5);
    b->zOrder(msoSendBackward);
    EXPECT_EQ(order(), "A C D B Chart ");
    b->zOrder(msoSendToBack);
    EXPECT_EQ(order(), "B A C D Chart ");
    b->zOrder(msoSendBackward);  // already at the back
    b->zOrder(msoBringForward);
    EXPECT_EQ(order(), "A B C D Chart ");
    expectHostError([&] { b->zOrder(4); }, -2147024809);
}

// The places are kept between reads: each change of the layer must be seen by the next read.
TEST(SimShapes, ZOrderPositionsFollowEveryChangeOfTheLayer) {
    HostWithBook h;
    for (const char* name : {"A", "B", "C", "D"}) h.host.addShape(h.sheet, rect(0, 0, 1, 1, name));
    auto shapes = h.app->activeSheet()->shapes();
    auto places = [&] {
        std::string s;
        for (const char* name : {"A", "B", "C", "D", "E"}) {
            if (h.host.findShape(h.sheet, name)) s += name + std::to_string(shapes->item(name)->zOrderPosition()) + " ";
        }
        return s;
    };
    EXPECT_EQ(places(), "A1 B2 C3 D4 ");
    shapes->item("A")->zOrder(msoBringToFront);
    EXPECT_EQ(places(), "A4 B1 C2 D3 ");
    shapes->item("B")->remove();
    EXPECT_EQ(places(), "A3 C1 D2 ");
    h.host.addShape(h.sheet, rect(0, 0, 1, 1, "E"));
    EXPECT_EQ(places(), "A3 C1 D2 E4 ");
    ShapeInit group;
    group.kind = ShapeKind::Group;
    group.members = {"C", "D"};
    auto g = h.host.addShape(h.sheet, group);
    EXPECT_EQ(shapes->item(g->name)->zOrderPosition(), 1);
    EXPECT_EQ(h.host.findShape(h.sheet, "A") ? shapes->item("A")->zOrderPosition() : -1, 2);
    EXPECT_EQ(h.app->activeSheet()->shapes()->item(3)->name(), "E");
}

TEST(SimShapes, GeometryIsNormalisedOrRefused) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(10, 20, 30, 40, "R"));
    auto r = h.app->activeSheet()->shapes()->item("R");
    r->setRotation(-90);
    EXPECT_FLOAT_EQ(r->rotation(), 270);
    r->incrementRotation(100);
    EXPECT_FLOAT_EQ(r->rotation(), 10);
    r->setRotation(720);
    EXPECT_FLOAT_EQ(r->rotation(), 0);

    expectHostError([&] { r->setWidth(-1); }, err::kApplicationDefined, "Unable to set the Width property of the Shape class");
    expectHostError([&] { r->setHeight(-0.5f); }, err::kApplicationDefined);
    EXPECT_FLOAT_EQ(r->width(), 30);
    EXPECT_FLOAT_EQ(r->height(), 40);

    r->setVisible(msoFalse);
    EXPECT_EQ(r->visible(), msoFalse);
    expectHostError([&] { r->setVisible(5); }, -2147024809);
    r->setFormatVisible(ShapeFormat::Shadow, msoTrue);
    EXPECT_EQ(r->formatVisible(ShapeFormat::Shadow), msoTrue);
    EXPECT_EQ(r->formatVisible(ShapeFormat::ThreeD), msoFalse);
}

TEST(SimShapes, FreeformNodesMoveAndScaleWithTheShape) {
    HostWithBook h;
    h.host.addShape(h.sheet, freeform({{10, 20}, {50, 20, msoEditingCorner, msoSegmentCurve}, {30, 60}}, "F"));
    auto f = h.app->activeSheet()->shapes()->item("F");
    EXPECT_FLOAT_EQ(f->left(), 10);
    EXPECT_FLOAT_EQ(f->width(), 40);
    EXPECT_FLOAT_EQ(f->height(), 40);

    auto nodes = f->nodes();
    ASSERT_EQ(nodes->count(), 3);
    EXPECT_EQ(nodes->item(2)->editingType(), msoEditingCorner);
    EXPECT_EQ(nodes->item(2)->segmentType(), msoSegmentCurve);

    f->setLeft(20);
    EXPECT_FLOAT_EQ(nodes->item(1)->points().x, 20);
    f->setWidth(80);  // doubles every horizontal distance from the left edge
    EXPECT_FLOAT_EQ(nodes->item(2)->points().x, 100);
    EXPECT_FLOAT_EQ(nodes->item(3)->points().x, 60);

    nodes->setPosition(3, 0, 100);  // the box follows the nodes
    EXPECT_FLOAT_EQ(f->left(), 0);
    EXPECT_FLOAT_EQ(f->width(), 100);
    EXPECT_FLOAT_EQ(f->height(), 80);
    expectHostError([&] { nodes->setPosition(4, 0, 0); }, -2147024809);
    expectHostError([&] { nodes->item(0); }, -2147024809);
}

TEST(SimShapes, NodesExistForFreeformsAndAutoShapesOnly) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "R"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Line, "L"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Picture, "P"));
    auto shapes = h.app->activeSheet()->shapes();
    EXPECT_EQ(shapes->item("R")->nodes()->count(), 0);
    expectHostError([&] { shapes->item("L")->nodes(); }, err::kNotSupported);
    expectHostError([&] { shapes->item("P")->nodes(); }, err::kNotSupported);
}

TEST(SimShapes, GroupsMoveTheirMembers) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(0, 0, 10, 10, "A"));
    h.host.addShape(h.sheet, rect(0, 0, 1, 1, "Behind"));
    h.host.addShape(h.sheet, rect(30, 20, 10, 10, "B"));
    ShapeInit group;
    group.kind = ShapeKind::Group;
    group.members = {"A", "B"};
    auto g = h.host.addShape(h.sheet, group);
    auto shapes = h.app->activeSheet()->shapes();
    EXPECT_EQ(shapes->count(), 2);
    EXPECT_EQ(shapes->item(2)->type(), msoGroup);  // where its frontmost member was
    EXPECT_FLOAT_EQ(shapes->item(2)->width(), 40);
    shapes->item(2)->setLeft(100);
    EXPECT_FLOAT_EQ(g->members[1]->left, 130);
}

TEST(SimShapes, ShapeRangesAnswerForAllTheirShapes) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "R"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::TextBox, "T"));
    auto shapes = h.app->activeSheet()->shapes();
    auto both = shapes->range({"R", "T"});
    EXPECT_EQ(both->type(), msoShapeTypeMixed);
    EXPECT_EQ(both->autoShapeType(), -2);
    expectHostError([&] { both->name(); }, -2147024809);
    both->setVisible(msoFalse);
    EXPECT_EQ(shapes->item("T")->visible(), msoFalse);
    shapes->item("R")->setVisible(msoTrue);
    EXPECT_EQ(both->visible(), msoTriStateMixed);

    auto one = shapes->range({"T"});
    EXPECT_EQ(one->name(), "T");
    EXPECT_EQ(one->type(), msoTextBox);
    both->select(true);
    EXPECT_EQ(h.host.selectedShapes().size(), 2u);
    both->remove();
    EXPECT_EQ(shapes->count(), 0);
    expectHostError([&] { one->name(); }, err::kUnspecified, "Method 'Name' of object 'ShapeRange' failed");
}

TEST(SimShapes, SelectWorksOnTheActiveSheetOnly) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "R"));
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "S"));
    auto shapes = h.app->activeSheet()->shapes();
    shapes->item("R")->select(true);
    shapes->item("S")->select(false);
    EXPECT_EQ(h.host.selectedShapes().size(), 2u);
    shapes->item("S")->select(true);
    EXPECT_EQ(h.host.selectedShapes().size(), 1u);

    h.host.activateSheet(h.host.addWorksheet(h.book, "Other"));
    expectHostError([&] { shapes->item("R")->select(true); }, err::kApplicationDefined,
                    "Select method of Shape class failed");
}

TEST(SimSelection, TypeNameAndCountFollowWhatIsSelected) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "R"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Line, "L"));
    h.host.addShape(h.sheet, freeform({{0, 0}, {5, 5}}, "F"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Chart, "C"));
    auto app = h.app;
    EXPECT_EQ(app->selection()->typeName(), "Range");
    EXPECT_EQ(app->selection()->count(), 1);
    h.host.selectRange("A1:C3");
    EXPECT_EQ(app->selection()->count(), 9);

    const std::vector<std::pair<std::string, std::string>> single = {
        {"R", "Rectangle"}, {"L", "Line"}, {"F", "Drawing"}, {"C", "ChartObject"}};
    for (const auto& [name, typeName] : single) {
        h.host.selectShapes({name});
        EXPECT_EQ(app->selection()->typeName(), typeName);
        expectHostError([&] { app->selection()->count(); }, err::kNotSupported);
    }
    h.host.selectShapes({"R", "L"});
    EXPECT_EQ(app->selection()->typeName(), "DrawingObjects");
    EXPECT_EQ(app->selection()->count(), 2);
    EXPECT_EQ(app->selection()->shapeRange()->type(), msoShapeTypeMixed);

    h.host.selectNothing();
    EXPECT_EQ(app->selection(), nullptr);
}

TEST(SimSelection, TextMembersNeedATextFrame) {
    HostWithBook h;
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "R"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::TextBox, "T"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Line, "L"));
    h.host.addShape(h.sheet, ofKind(ShapeKind::Picture, "P"));
    auto app = h.app;

    h.host.selectShapes({"R", "T"});
    EXPECT_EQ(app->selection()->verticalAlignment(), xlTop);
    app->selection()->setVerticalAlignment(xlCenter);
    app->selection()->setAutoSize(true);
    EXPECT_EQ(h.host.findShape(h.sheet, "T")->verticalAlignment, xlCenter);
    EXPECT_TRUE(app->selection()->autoSize());
    h.host.findShape(h.sheet, "R")->verticalAlignment = xlBottom;
    expectHostError([&] { app->selection()->verticalAlignment(); }, 94);  // mixed values read as Null

    for (const char* name : {"L", "P"}) {
        h.host.selectShapes({name});
        expectHostError([&] { app->selection()->setAutoSize(true); }, err::kNotSupported);
        expectHostError([&] { app->selection()->verticalAlignment(); }, err::kNotSupported);
    }

    h.host.selectRange("B2:C3");
    auto cells = app->selection();
    expectHostError([&] { cells->autoSize(); }, err::kNotSupported);
    expectHostError([&] { cells->shapeRange(); }, err::kNotSupported);
    EXPECT_EQ(cells->verticalAlignment(), xlBottom);
    cells->setVerticalAlignment(xlJustify);
    EXPECT_EQ(cells->verticalAlignment(), xlJustify);
    h.host.selectRange("A1:B2");
    expectHostError([&] { app->selection()->verticalAlignment(); }, 94);
}

TEST(SimSelection, CopyingShapesNeedsARenderer) {
    HostWithBook h;
    h.host.setPictureRenderer(nullptr);  // without the default one
    h.host.addShape(h.sheet, rect(0, 0, 5, 5, "R"));
    h.host.clipboard().setText("kept", platform::cf::kText);
    auto shape = h.app->activeSheet()->shapes()->item("R");
    expectHostError([&] { shape->copyPicture(); }, err::kApplicationDefined, "CopyPicture method of Shape class failed");
    h.host.selectShapes({"R"});
    expectHostError([&] { h.app->selection()->copy(); }, err::kApplicationDefined);
    EXPECT_EQ(h.host.clipboard().getText(platform::cf::kText), "kept");

    std::vector<RenderRequest> requests;
    h.host.setPictureRenderer([&](const RenderRequest& r) {
        requests.push_back(r);
        return std::vector<platform::Picture>{{platform::cf::kEnhMetafile, {1, 2, 3}}};
    });
    shape->copyPicture(xlScreen, xlPicture);
    EXPECT_FALSE(h.host.clipboard().hasFormat(platform::cf::kText));
    EXPECT_TRUE(h.host.clipboard().hasFormat(platform::cf::kEnhMetafile));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].shapes.at(0)->name, "R");
    EXPECT_FALSE(requests[0].selectionCopy);

    shape->setVisible(msoFalse);  // a hidden object has no picture
    expectHostError([&] { shape->copyPicture(); }, err::kApplicationDefined);
}

TEST(SimSelection, CopyingCellsPutsTheirTextOnTheClipboard) {
    HostWithBook h;
    h.host.editCell(h.sheet, "A1", "x");
    h.host.editCell(h.sheet, "B2", "y");
    h.host.selectRange("A1:B2");
    h.app->selection()->copy();
    EXPECT_EQ(h.host.clipboard().getText(platform::cf::kText), "x\t\r\n\ty\r\n");
    EXPECT_TRUE(h.host.clipboard().hasFormat(platform::cf::kBitmap));  // the default renderer's picture
}

}  // namespace
}  // namespace qm::sim
