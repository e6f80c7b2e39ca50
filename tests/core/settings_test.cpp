// Settings defaults and readings over a store.
#include <gtest/gtest.h>

#include "core/host/error.h"
#include "core/settings/settings.h"

namespace qm::settings {
namespace {

class FailingStore : public platform::SettingsStore {
public:
    std::optional<std::string> read(const std::string&, const std::string&, const std::string&) override {
        throw platform::PlatformError("unreadable");
    }
    void write(const std::string&, const std::string&, const std::string&, const std::string&) override {
        throw platform::PlatformError("read-only");
    }
};

TEST(Settings, EmptyStoreGivesEveryDefault) {
    MemoryStore store;
    Settings s(store);
    EXPECT_EQ(s.number(keys::GridWidth), 1.0);
    EXPECT_EQ(s.number(keys::GridHeight), 10.0);
    EXPECT_TRUE(s.flag(keys::ShapeSelectMode));
    EXPECT_TRUE(s.flag(keys::FitGrid));
    EXPECT_TRUE(s.flag(keys::FitShapes));
    EXPECT_FALSE(s.flag(keys::FormulaBar));
    EXPECT_EQ(s.get(keys::ShowBarArray), "");
    EXPECT_TRUE(s.flag(keys::ShowBarname));
    EXPECT_FALSE(s.flag(keys::BackColor));
    EXPECT_EQ(s.integer(keys::BackColorValue), 0xFFFFFF);
    EXPECT_TRUE(s.flag(keys::OnePoint));
    EXPECT_EQ(s.integer(keys::BarPosition), 1);
    EXPECT_EQ(s.number(keys::BarRowIndex), -1.0);
    EXPECT_EQ(s.integer(keys::BarLeft), 0);
    EXPECT_EQ(s.integer(keys::BarTop), 0);
    EXPECT_TRUE(s.boolean(keys::BarVisible));
    EXPECT_EQ(store.size(), 0u);  // reading writes nothing
}

TEST(Settings, StoredTextsAndTheirReadings) {
    MemoryStore store;
    Settings s(store);
    s.save(keys::BackColorValue, "16777215");
    EXPECT_EQ(s.integer(keys::BackColorValue), 0xFFFFFF);
    s.save(keys::BarVisible, "False");
    EXPECT_FALSE(s.boolean(keys::BarVisible));
    s.save(keys::BarLeft, "left");
    EXPECT_THROW(s.integer(keys::BarLeft), host::HostError);
    s.save(keys::BarRowIndex, "x");
    EXPECT_EQ(s.number(keys::BarRowIndex), 0.0);  // lenient: a non-number reads as 0
    // Names compare without regard to case, as in the registry.
    EXPECT_EQ(s.get("setting", "backcolorvalue", "?"), "16777215");
}

TEST(Settings, LenientNumbersBeyondAnyRangeReadAsTheKeysDefault) {
    MemoryStore store;
    Settings s(store);
    s.save(keys::BackColor, "1e999");
    s.save(keys::OnePoint, "&H1FFFFFFFF");
    s.save(keys::GridWidth, "-1e999");
    s.save(keys::BarRowIndex, "9e99999");
    EXPECT_EQ(s.number(keys::BackColor), 0.0);
    EXPECT_TRUE(s.flag(keys::OnePoint));
    EXPECT_EQ(s.number(keys::GridWidth), 1.0);
    EXPECT_EQ(s.number(keys::BarRowIndex), -1.0);
    // Large numbers that are still numbers are read as they are.
    s.save(keys::GridWidth, "1e300");
    EXPECT_EQ(s.number(keys::GridWidth), 1e300);
}

TEST(Settings, FailingStoreReadsDefaultsAndReportsWrites) {
    FailingStore store;
    Settings s(store);
    EXPECT_EQ(s.get(keys::GridWidth), "1.0");
    try {
        s.save(keys::GridWidth, "2");
        FAIL();
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.number(), host::err::kInvalidCall);
        EXPECT_NE(e.description().find("read-only"), std::string::npos);
    }
}

}  // namespace
}  // namespace qm::settings
