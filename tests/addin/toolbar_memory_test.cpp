// The add-in toolbar's place kept across connections, and corrupt stored values.
#include "tests/addin/fixture.h"

#include "core/host/constants.h"

namespace qm::testing {
namespace {

host::CommandBarPtr toolbar(sim::SimHost& host) { return host.barHandle(host.findBar("QM")); }

TEST_F(AddinTest, FirstRunDocksTheToolbarAtTheTopInTheLastRowVisible) {
    int32_t lastTopRow = 0;
    for (const auto& b : host.bars()) {
        if (b->position == host::msoBarTop && host.barHandle(b)->visible()) lastTopRow = std::max(lastTopRow, b->rowIndex);
    }
    ASSERT_TRUE(connect());
    auto bar = toolbar(host);
    EXPECT_EQ(bar->position(), host::msoBarTop);
    EXPECT_EQ(bar->rowIndex(), lastTopRow + 1);
    EXPECT_TRUE(bar->visible());
}

TEST_F(AddinTest, PlaceAndVisibilityComeBackAtTheNextStart) {
    ASSERT_TRUE(connect());
    auto bar = toolbar(host);
    bar->setPosition(host::msoBarFloating);
    bar->setLeft(321);
    bar->setTop(123);
    bar.reset();
    disconnect();
    host.restartHost();
    ASSERT_TRUE(connect());
    bar = toolbar(host);
    EXPECT_EQ(bar->position(), host::msoBarFloating);
    EXPECT_EQ(bar->left(), 321);
    EXPECT_EQ(bar->top(), 123);
    bar->setVisible(false);
    bar.reset();
    disconnect();
    EXPECT_EQ(stored("Bar", "Visible"), "False");
    ASSERT_TRUE(connect());
    EXPECT_FALSE(toolbar(host)->visible());
}

TEST_F(AddinTest, CorruptStoredPlaceFallsBackToDefaultsAndStillConnects) {
    auto s = settingsAccess();
    s.save("Bar", "Position", "top");
    s.save("Bar", "Left", "12 px");
    s.save("Bar", "Top", "");
    s.save("Bar", "Visible", "maybe");
    s.save("Bar", "RowIndex", "second");
    ASSERT_TRUE(connect());
    auto bar = toolbar(host);
    EXPECT_EQ(bar->position(), host::msoBarTop);
    EXPECT_TRUE(bar->visible());
    EXPECT_TRUE(events.empty());
}

TEST_F(AddinTest, StoredPlaceTheHostRefusesFallsBackToDefaultsAndIsMendedAtTheNextSave) {
    for (const auto& [key, value] : {std::pair{"Position", "7"}, {"Position", "-3"}, {"RowIndex", "-5"}}) {
        SCOPED_TRACE(std::string(key) + " " + value);
        store.write(settings::kApp, "Bar", key, value);
        ASSERT_TRUE(connect());
        auto bar = toolbar(host);
        EXPECT_EQ(bar->position(), host::msoBarTop);
        EXPECT_TRUE(bar->visible());
        EXPECT_TRUE(events.empty());
        disconnect();
        EXPECT_EQ(stored("Bar", "Position"), "1");
        EXPECT_GE(std::stoi(stored("Bar", "RowIndex")), 1);
    }
}

TEST_F(AddinTest, StoredHexAndDecimalPlacesReadAlike) {
    auto s = settingsAccess();
    s.save("Bar", "Position", "4");
    s.save("Bar", "Left", "&H64");
    s.save("Bar", "Top", "50.4");
    s.save("Bar", "Visible", "0");
    ASSERT_TRUE(connect());
    auto bar = toolbar(host);
    EXPECT_EQ(bar->position(), host::msoBarFloating);
    EXPECT_EQ(bar->left(), 100);
    EXPECT_EQ(bar->top(), 50);
    EXPECT_FALSE(bar->visible());
}

}  // namespace
}  // namespace qm::testing
