// Connection and disconnection of the add-in, and its menu in the worksheet menu bar.
#include "tests/addin/fixture.h"

#include "core/host/constants.h"
#include "core/resources/artwork.h"

namespace qm::testing {
namespace {

using Kind = scripted::Event::Kind;

TEST_F(AddinTest, HostVersionsAreComparedAsNumbers) {
    host.setVersion("9.0");
    EXPECT_TRUE(connect());
    disconnect();
    host.setVersion("11.0");
    EXPECT_TRUE(connect());
    disconnect();
    EXPECT_TRUE(events.empty());
}

TEST_F(AddinTest, Excel2007IsRefusedWithTheFixedMessageAndNothingBuilt) {
    host.setVersion("12.0");
    EXPECT_FALSE(connect());
    ASSERT_EQ(messageTexts(), std::vector<std::string>{"It doesn't correspond to Excel 2007."});
    EXPECT_EQ(events[0].style, 16);
    EXPECT_EQ(events[0].title, "Quillmark in Excel");
    EXPECT_EQ(record->connectWrites(), std::vector<bool>{false});
    EXPECT_FALSE(host.findByTag("NVK"));
    EXPECT_FALSE(host.findBar("QM"));
    EXPECT_EQ(host.liveHandles(), 0);
    EXPECT_TRUE(store.size() == 0);  // the refused connection's disconnection saved nothing
}

TEST_F(AddinTest, EveryButtonCarriesTheOnActionOfTheProgIdInEitherLanguage) {
    for (const char* country : {"United States", "Japan"}) {
        locale.setCountry(country);
        ASSERT_TRUE(connect());
        auto maker = host.findByTag("NVK");
        ASSERT_TRUE(maker);
        int buttons = 0;
        std::function<void(const sim::ControlNodePtr&)> walk = [&](const sim::ControlNodePtr& c) {
            if (c->type == host::msoControlButton) {
                EXPECT_EQ(c->onAction, "!<QuillmarkInExcel.Connect>") << c->caption;
                ++buttons;
            }
            if (c->subBar) {
                for (const auto& child : c->subBar->controls) walk(child);
            }
        };
        walk(maker);
        for (const auto& c : host.findBar("QM")->controls) walk(c);
        EXPECT_EQ(buttons, 11);
        disconnect();
    }
}

TEST_F(AddinTest, LanguageFollowsTheLocaleCountryOnly) {
    locale.setCountry("Japan");
    ASSERT_TRUE(connect());
    EXPECT_TRUE(host.findByPath("Worksheet Menu Bar > NVK(&N) > クイルマーク(&Q) > 設定(&S)"));
    disconnect();
    locale.setCountry(std::nullopt);  // the query failed
    ASSERT_TRUE(connect());
    EXPECT_TRUE(host.findByPath(kMenu + "&Setting"));
    disconnect();
}

TEST_F(AddinTest, AdvicePagesAreLetteredInTheChosenLanguage) {
    for (const char* country : {"Japan", "United States"}) {
        const bool japanese = std::string(country) == "Japan";
        locale.setCountry(country);
        ASSERT_TRUE(connect());
        std::vector<std::vector<uint8_t>> shown;
        onWindow = [&](ui::headless::Form& f) {
            auto& tip = f.get<ui::headless::Image>("imgTip");
            shown.push_back(tip.picture());
            f.get<ui::headless::Button>("cmdNext").userClick();
            shown.push_back(tip.picture());
            f.userClose();
        };
        messages.queue(platform::mb::kResultNo);  // no new drawing sheet
        ASSERT_TRUE(click(japanese ? "Worksheet Menu Bar > NVK(&N) > クイルマーク(&Q) > Drawモードへ移行(&D)"
                                   : kMenu + "Goto &Draw mode"));
        EXPECT_EQ(shown, (std::vector<std::vector<uint8_t>>{resources::bitmap(resources::advicePage(1, japanese)),
                                                            resources::bitmap(resources::advicePage(2, japanese))}))
            << country;
        onWindow = [](ui::headless::Form& f) { f.userClose(); };
        disconnect();
    }
}

TEST_F(AddinTest, NewMakerMenuHoldsTheProductAndTheSiteItemLast) {
    ASSERT_TRUE(connect());
    auto menuBar = host.findBar("Worksheet Menu Bar");
    auto maker = menuBar->controls.back();
    EXPECT_EQ(maker->tag, "NVK");
    EXPECT_TRUE(maker->temporary);
    EXPECT_TRUE(maker->beginGroup);
    ASSERT_EQ(maker->subBar->controls.size(), 2u);
    EXPECT_EQ(maker->subBar->controls[0]->tag, "QM");
    EXPECT_EQ(maker->subBar->controls[1]->tag, "NVK_SITE");
    const auto& items = maker->subBar->controls[0]->subBar->controls;
    ASSERT_EQ(items.size(), 5u);
    const int faces[] = {3020, 271, 1709, 611, 3278};
    const bool groups[] = {false, true, false, true, true};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i]->faceId, faces[i]);
        EXPECT_EQ(items[i]->style, host::msoButtonIconAndCaption);
        EXPECT_EQ(items[i]->beginGroup, groups[i]);
    }
    auto bar = host.findBar("QM");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->temporary);
    EXPECT_EQ(bar->protection, host::msoBarNoCustomize);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(bar->controls[i]->style, host::msoButtonIcon);
        EXPECT_EQ(bar->controls[i]->caption, items[i]->caption);
        EXPECT_EQ(bar->controls[i]->beginGroup, groups[i]);
    }
}

// Another product of the same maker already built the menu.
class SharedMakerMenu : public AddinTest {
protected:
    void SetUp() override {
        auto menuBar = host.controlHandle(host.findByPath("Worksheet Menu Bar > &Help"))->commandBar();
        auto bars = host.application()->commandBars();
        auto maker = bars->item(1)->controls()->add({.type = host::msoControlPopup, .temporary = true});
        maker->setTag("NVK");
        maker->setCaption("&NVK");
        auto other = maker->controls()->add({.type = host::msoControlPopup});
        other->setTag("OTHER");
        other->setCaption("&Other product");
        auto site = maker->controls()->add({.type = host::msoControlButton});
        site->setTag("NVK_SITE");
        site->setCaption("&Developer's Site");
        (void)menuBar;
    }
    std::vector<std::string> makerTags() {
        std::vector<std::string> tags;
        const auto maker = host.findByTag("NVK");
        if (!maker) return {"(no maker menu)"};
        for (const auto& c : maker->subBar->controls) tags.push_back(c->tag);
        return tags;
    }
};

TEST_F(SharedMakerMenu, SiteItemStaysSingleAndLastAndTheMenuStaysForTheOtherProduct) {
    ASSERT_TRUE(connect());
    EXPECT_EQ(makerTags(), (std::vector<std::string>{"OTHER", "QM", "NVK_SITE"}));
    disconnect();
    EXPECT_EQ(makerTags(), (std::vector<std::string>{"OTHER", "NVK_SITE"}));
}

TEST_F(AddinTest, LastProductGoneTakesTheMakerMenuWithIt) {
    ASSERT_TRUE(connect());
    disconnect();
    EXPECT_FALSE(host.findByTag("NVK"));
    EXPECT_FALSE(host.findBar("QM"));
}

TEST_F(SharedMakerMenu, LeftoverProductSubmenuIsAddedAgainAndRemovedOneAtATime) {
    // A submenu of this product left from an earlier connection in the same host run.
    auto maker = host.controlHandle(host.findByTag("NVK"));
    auto leftover = maker->controls()->add({.type = host::msoControlPopup});
    leftover->setTag("QM");
    leftover.reset();
    maker.reset();
    ASSERT_TRUE(connect());
    EXPECT_EQ(makerTags(), (std::vector<std::string>{"OTHER", "QM", "QM", "NVK_SITE"}));
    disconnect();
    // Only the first submenu tagged QM goes: the one left from before.
    EXPECT_EQ(makerTags(), (std::vector<std::string>{"OTHER", "QM", "NVK_SITE"}));
    EXPECT_EQ(host.findByTag("NVK")->subBar->controls[1]->subBar->controls.size(), 5u);
}

TEST_F(AddinTest, DisconnectionLetsGoOfEverythingAndSavesTheToolbar) {
    ASSERT_TRUE(connect());
    EXPECT_GT(host.liveHandles(), 0);
    EXPECT_GT(host.liveSubscriptions(), 0);
    disconnect();
    EXPECT_EQ(host.liveHandles(), 0);
    EXPECT_EQ(host.liveSubscriptions(), 0);
    EXPECT_EQ(stored("Bar", "Visible"), "True");
    EXPECT_EQ(stored("Bar", "Position"), "1");
}

TEST_F(AddinTest, CopiesReachTheMainHandlers) {
    ASSERT_TRUE(connect());
    ASSERT_TRUE(click("QM > Online &Help"));
    ASSERT_TRUE(click(kMenu + "Online &Help"));
    ASSERT_EQ(shell.opened().size(), 2u);
    EXPECT_EQ(shell.opened()[0], shell.opened()[1]);
    ASSERT_TRUE(host.click(host.findByTag("NVK_SITE")));
    EXPECT_NE(shell.opened()[2], shell.opened()[0]);
}

TEST_F(AddinTest, AHostFailureDuringConnectionLeavesNothingBehind) {
    host.failMember("CommandBars.Add");
    EXPECT_FALSE(connect());
    EXPECT_EQ(connectionError, host::err::kUnspecified);
    EXPECT_FALSE(host.findByTag("NVK"));
    EXPECT_EQ(host.liveHandles(), 0);
    EXPECT_EQ(host.liveSubscriptions(), 0);
}

// A failed connection takes down what it made, by reference: never the other product's
// menu, an older submenu of the same tag, or the user's toolbar of the same name.
TEST_F(SharedMakerMenu, AFailedConnectionLeavesTheOtherProductsMenuAsItWas) {
    host.failMember("CommandBarControls.Add", 7);  // this product's developer's-site item
    EXPECT_FALSE(connect());
    ASSERT_EQ(makerTags(), (std::vector<std::string>{"OTHER", "NVK_SITE"}));
    EXPECT_EQ(host.findByTag("NVK_SITE")->onAction, "");  // the other product's own item
}

TEST_F(SharedMakerMenu, AFailedConnectionRemovesItsOwnSubmenuNotAnOlderOne) {
    auto maker = host.controlHandle(host.findByTag("NVK"));
    maker->controls()->add({.type = host::msoControlPopup})->setTag("QM");
    maker.reset();
    const std::vector<std::string> before = makerTags();
    host.failMember("CommandBars.Add");  // the add-in toolbar
    EXPECT_FALSE(connect());
    ASSERT_EQ(makerTags(), before);
    EXPECT_TRUE(host.findByTag("QM")->subBar->controls.empty());  // the older, empty one
    EXPECT_EQ(host.findByTag("NVK_SITE")->onAction, "");
    EXPECT_EQ(host.liveHandles(), 0);
}

TEST_F(AddinTest, AFailedConnectionLeavesTheUsersToolbarOfTheSameName) {
    host.addBar({.name = "qm", .position = host::msoBarTop, .visible = true});
    EXPECT_FALSE(connect());  // its name is taken
    EXPECT_TRUE(host.findBar("qm"));
    EXPECT_FALSE(host.findByTag("NVK"));
}

TEST_F(AddinTest, DisconnectionRemovesTheMenuEvenWhenTheToolbarsPlaceCannotBeRead) {
    ASSERT_TRUE(connect());
    host.failMember("CommandBar.Position");
    disconnect();
    EXPECT_FALSE(host.findByTag("NVK"));
    EXPECT_FALSE(host.findBar("QM"));
}

// Every call of the connection failing in turn: each either connects or fails cleanly,
// and a later disconnection always leaves the host as it was.
TEST_F(AddinTest, FailureSweepOverTheConnection) {
    host.resetCounts();
    ASSERT_TRUE(connect());
    const int64_t calls = host.calls();
    disconnect();
    for (int64_t n = 1; n <= calls; ++n) {
        host.clearFailures();
        host.failCall(n);
        const bool connected = connect();
        host.clearFailures();
        if (connected) disconnect();
        EXPECT_FALSE(host.findByTag("NVK")) << "call " << n;
        EXPECT_FALSE(host.findBar("QM")) << "call " << n;
        EXPECT_EQ(host.liveHandles(), 0) << "call " << n;
        EXPECT_EQ(host.liveSubscriptions(), 0) << "call " << n;
    }
}

}  // namespace
}  // namespace qm::testing
