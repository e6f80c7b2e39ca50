// Controls: the built-in catalogue, adding, copying, finding and executing controls, the
// built-in toggles and the controls the host enables by context.
#include <set>
#include <vector>

#include "sim/catalogue.h"
#include "test_support.h"

namespace qm::sim {
namespace {

using namespace host;
using testing::expectHostError;
using testing::HostWithBook;

std::vector<int32_t> listedNumbers() {
    std::vector<int32_t> ids = {2,    3,    4,    18,   19,   21,   22,   23,   109,  113,  114,  115,  120,
                                121,  122,  128,  129,  130,  139,  164,  165,  166,  167,  170,  171,  182,
                                196,  197,  198,  199,  200,  206,  243,  247,  318,  338,  339,  394,  401,
                                408,  409,  465,  549,  682,  688,  692,  693,  694,  702,  732,  748,  755,
                                925,  962,  1031, 1032, 1033, 1362, 1382, 1383, 1402, 1403, 1606, 1639, 1728,
                                1731, 1764, 1988, 2094, 2175, 2179, 2619, 2792, 2827, 6382, 30080};
    auto range = [&](int32_t from, int32_t to) {
        for (int32_t i = from; i <= to; ++i) ids.push_back(i);
    };
    range(664, 669);
    range(1035, 1038);
    range(1041, 1044);
    range(1058, 1061);
    range(1063, 1071);
    range(1110, 1158);
    range(1160, 1211);
    range(1213, 1230);
    range(1374, 1380);
    range(1691, 1694);
    range(2634, 2645);
    return ids;
}

TEST(SimCatalogue, CoversEveryNumberWithItsControlType) {
    const std::set<int32_t> splitButtons = {401, 1691, 1692, 1693, 1694, 1988, 692, 693};
    SimHost host;
    auto controls = host.application()->commandBars()->add({.name = "All"})->controls();
    for (const int32_t id : listedNumbers()) {
        const BuiltinControl* entry = findBuiltinControl(id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_FALSE(entry->caption.empty()) << id;
        int32_t expected = msoControlButton;
        if (id == 1728 || id == 1731) expected = msoControlComboBox;
        if (splitButtons.count(id)) expected = msoControlSplitButtonPopup;
        if (id == 30080) expected = msoControlPopup;
        EXPECT_EQ(entry->type, expected) << id;
        auto ctrl = controls->add({.id = id});
        EXPECT_EQ(ctrl->id(), id);
        EXPECT_EQ(ctrl->type(), expected) << id;
    }
    EXPECT_EQ(findBuiltinControl(1728)->width, 136);
    EXPECT_EQ(findBuiltinControl(1731)->width, 42);
    EXPECT_EQ(findBuiltinControl(18)->caption, "&New...");
    EXPECT_EQ(findBuiltinControl(748)->caption, "Save &As...");
    EXPECT_EQ(findBuiltinControl(1402)->caption, "Snap to &Shape");
    EXPECT_EQ(findBuiltinControl(30080)->caption, "&More AutoShapes");
}

TEST(SimControls, AddByIdTakesTheCatalogueAndRefusesUnknownNumbers) {
    SimHost host;
    auto controls = host.application()->commandBars()->add({.name = "Mine"})->controls();
    auto save = controls->add({.type = msoControlPopup, .id = 748});  // the number decides the type
    EXPECT_EQ(save->type(), msoControlButton);
    EXPECT_EQ(save->caption(), "Save &As...");
    EXPECT_EQ(save->faceId(), 748);
    EXPECT_EQ(controls->add({.id = 1728})->width(), 136);

    expectHostError([&] { controls->add({.id = 99999}); }, err::kUnspecified,
                    "Method 'Add' of object 'CommandBarControls' failed");
    expectHostError([&] { controls->add({.type = msoControlSplitButtonPopup}); }, err::kUnspecified);
    EXPECT_EQ(controls->count(), 2);
}

TEST(SimControls, CustomControlsStartEmpty) {
    SimHost host;
    auto controls = host.application()->commandBars()->add({.name = "Mine"})->controls();
    auto button = controls->add({.type = msoControlButton});
    EXPECT_EQ(button->id(), 1);
    EXPECT_EQ(button->caption(), "");
    EXPECT_EQ(button->faceId(), 0);
    EXPECT_EQ(button->style(), msoButtonAutomatic);
    EXPECT_EQ(button->state(), msoButtonUp);
    expectHostError([&] { button->controls(); }, err::kNotSupported);

    auto popup = controls->add({.type = msoControlPopup});
    EXPECT_EQ(popup->controls()->count(), 0);
    expectHostError([&] { popup->faceId(); }, err::kNotSupported);
    expectHostError([&] { popup->setStyle(msoButtonCaption); }, err::kNotSupported);
    expectHostError([&] { popup->onClick([](const CommandBarControlPtr&, bool&) {}); }, err::kNotSupported);
}

TEST(SimControls, CopyAppendsAFullCopyAndReturnsIt) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto menu = bars->add({.name = "Menu"});
    auto original = menu->controls()->add({.type = msoControlButton});
    original->setCaption("&Mode");
    original->setTag("QM_MODE");
    original->setOnAction("!<Addin.Connect>");
    original->setFaceId(271);
    original->setStyle(msoButtonIconAndCaption);
    original->setState(msoButtonDown);
    original->setBeginGroup(true);

    auto toolbar = bars->add({.name = "Toolbar"});
    toolbar->controls()->add({.id = 3});
    auto copy = original->copy(toolbar);
    ASSERT_EQ(toolbar->controls()->count(), 2);
    EXPECT_EQ(toolbar->controls()->item(2)->caption(), "&Mode");
    copy->setCaption("changed");
    EXPECT_EQ(toolbar->controls()->item(2)->caption(), "changed");
    EXPECT_EQ(original->caption(), "&Mode");
    EXPECT_EQ(copy->tag(), "QM_MODE");
    EXPECT_EQ(copy->onAction(), "!<Addin.Connect>");
    EXPECT_EQ(copy->faceId(), 271);
    EXPECT_EQ(copy->style(), msoButtonIconAndCaption);
    EXPECT_EQ(copy->state(), msoButtonDown);
    EXPECT_TRUE(copy->beginGroup());

    original->copy(nullptr);
    EXPECT_EQ(menu->controls()->count(), 2);
    EXPECT_EQ(menu->controls()->item(2)->tag(), "QM_MODE");
}

TEST(SimControls, FindControlRecursesOnlyWhereAsked) {
    SimHost host;
    auto bars = host.application()->commandBars();
    // Snap to Grid lives in Drawing > Draw > Snap only.
    auto found = bars->findControl({.id = ctl::kSnapToGrid});
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->caption(), "Snap to &Grid");
    auto drawing = bars->item("Drawing");
    EXPECT_EQ(drawing->findControl({.id = ctl::kSnapToGrid}), nullptr);
    EXPECT_NE(drawing->findControl({.id = ctl::kSnapToGrid, .recursive = true}), nullptr);

    // The first match in collection order: New on the menu bar's File menu.
    EXPECT_EQ(host.nodeOf(bars->findControl({.id = ctl::kNew})),
              host.findByPath("Worksheet Menu Bar > &File > &New..."));
    EXPECT_EQ(bars->findControl({.id = 424242}), nullptr);
}

TEST(SimControls, FindControlNeedsEveryGivenCriterion) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto mine = bars->add({.name = "Mine"});
    auto a = mine->controls()->add({.type = msoControlButton});
    a->setTag("QM_A");
    auto popup = mine->controls()->add({.type = msoControlPopup});
    popup->setTag("QM_A");
    host.findByTag("QM_A")->visible = false;

    EXPECT_EQ(bars->findControl({.tag = "qm_a"}), nullptr);  // tags compare exactly
    auto byTag = bars->findControl({.tag = "QM_A"});
    ASSERT_NE(byTag, nullptr);
    EXPECT_EQ(byTag->type(), msoControlButton);
    auto visible = bars->findControl({.tag = "QM_A", .visible = true});
    ASSERT_NE(visible, nullptr);
    EXPECT_EQ(visible->type(), msoControlPopup);
    EXPECT_EQ(bars->findControl({.type = msoControlButton, .tag = "QM_A", .visible = true}), nullptr);
}

TEST(SimControls, TogglesFlipOneFlagThatEveryCopyReads) {
    SimHost host;
    auto bars = host.application()->commandBars();
    auto mine = bars->add({.name = "Position"});
    auto own = mine->controls()->add({.id = ctl::kSnapToGrid});
    auto builtIn = bars->findControl({.id = ctl::kSnapToGrid});
    EXPECT_EQ(own->state(), msoButtonUp);

    own->execute();
    EXPECT_TRUE(host.toggle(ctl::kSnapToGrid));
    EXPECT_EQ(own->state(), msoButtonDown);
    EXPECT_EQ(builtIn->state(), msoButtonDown);
    EXPECT_FALSE(host.toggle(ctl::kSnapToShape));

    builtIn->setState(msoButtonUp);  // the state follows the command, not the button
    EXPECT_EQ(own->state(), msoButtonDown);
    builtIn->execute();
    EXPECT_EQ(own->state(), msoButtonUp);
    EXPECT_TRUE(host.executedControls().empty());

    bars->findControl({.id = 3})->execute();
    EXPECT_EQ(host.executedControls(), (std::vector<std::string>{"control 3"}));
}

TEST(SimControls, NewIsDisabledWhileACellIsEdited) {
    HostWithBook h;
    auto news = h.app->commandBars()->item("Standard")->findControl({.id = ctl::kNew});
    EXPECT_TRUE(news->enabled());
    h.host.setCellEditMode(true);
    EXPECT_FALSE(news->enabled());
    EXPECT_FALSE(h.host.controlEnabled(h.host.findByPath("Worksheet Menu Bar > &File > &New...")));
    expectHostError([&] { news->execute(); }, err::kUnspecified);
    h.host.setCellEditMode(false);
    EXPECT_TRUE(news->enabled());
}

TEST(SimControls, BoldIsEnabledForCellsAndTextHoldingObjects) {
    SimHost host;
    auto bold = host.application()->commandBars()->findControl({.id = ctl::kBold});
    EXPECT_FALSE(bold->enabled());  // no workbook

    auto book = host.addWorkbook("Book1");
    auto sheet = host.addWorksheet(book, "Sheet1");
    EXPECT_TRUE(bold->enabled());
    host.addShape(sheet, testing::rect(0, 0, 20, 20, "Box"));
    host.addShape(sheet, testing::ofKind(ShapeKind::Line, "Stroke"));
    host.addShape(sheet, testing::ofKind(ShapeKind::Picture, "Photo"));
    host.selectShapes({"Box"});
    EXPECT_TRUE(bold->enabled());
    host.selectShapes({"Box", "Stroke"});
    EXPECT_FALSE(bold->enabled());
    host.selectShapes({"Photo"});
    EXPECT_FALSE(bold->enabled());
    host.selectRange("B2");
    EXPECT_TRUE(bold->enabled());
    bold->setEnabled(false);
    EXPECT_FALSE(bold->enabled());
}

TEST(SimControls, PasteFaceTakesTheClipboardBitmap) {
    SimHost host;
    auto button = host.application()->commandBars()->add({.name = "Mine"})->controls()->add({});
    expectHostError([&] { button->pasteFace(); }, err::kUnspecified,
                    "Method 'PasteFace' of object '_CommandBarButton' failed");
    host.clipboard().setText("not a picture", platform::cf::kText);
    expectHostError([&] { button->pasteFace(); }, err::kUnspecified);

    host.clipboard().setPicture({platform::cf::kBitmap, testing::makeBmp(26, 26, 0x00FF00)}, platform::cf::kBitmap);
    button->pasteFace();
    const auto node = host.nodeOf(button);
    ASSERT_TRUE(node->pastedFace.has_value());
    EXPECT_EQ(node->pastedFace->width, 26);
    EXPECT_EQ(node->pastedFace->height, 26);
    button->setFaceId(59);
    EXPECT_FALSE(node->pastedFace.has_value());
}

TEST(SimControls, DeletedControlsFailAndLeaveTheirBar) {
    SimHost host;
    auto bar = host.application()->commandBars()->add({.name = "Mine"});
    auto popup = bar->controls()->add({.type = msoControlPopup});
    auto inner = popup->controls()->add({});
    popup->remove();
    EXPECT_EQ(bar->controls()->count(), 0);
    expectHostError([&] { inner->caption(); }, err::kUnspecified,
                    "Method 'Caption' of object 'CommandBarControl' failed");
    expectHostError([&] { popup->setCaption("x"); }, err::kUnspecified,
                    "Method 'Caption' of object 'CommandBarControl' failed");
}

}  // namespace
}  // namespace qm::sim
