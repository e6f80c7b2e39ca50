// Connections and disconnections of the real DLL: every reference it takes into Excel is
// given back, and the DLL can be unloaded afterwards, however often it is connected and
// however Excel lets go of it.
#include "tests/com/e2e/harness.h"

namespace qm::e2e {
namespace {

TEST(Lifecycle, DisconnectionReleasesEveryReferenceAndTheDllCanUnload) {
    Harness h;
    EXPECT_EQ(h.dll.canUnloadNow(), S_OK);
    ASSERT_EQ(h.connect(), S_OK);
    EXPECT_GT(h.excel.tally().liveObjects, 0);
    EXPECT_GT(h.excel.tally().liveAdvises, 0);
    EXPECT_EQ(h.dll.canUnloadNow(), S_FALSE);

    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_TRUE(h.allReleased());
    EXPECT_EQ(h.dll.canUnloadNow(), S_OK);
    // What disconnection stores for the next start.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\NVK_QM_ZUZEVADE\\Bar", 0,
                              KEY_READ, &key),
              ERROR_SUCCESS);
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(::RegQueryValueExW(key, L"Visible", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, L"True");
    ::RegCloseKey(key);
}

TEST(Lifecycle, FiftyConnectionsWithAClickEachLeakNothing) {
    Harness h;
    int64_t created = 0;
    for (int cycle = 1; cycle <= 50; ++cycle) {
        const int64_t before = h.excel.tally().objectsCreated;
        ASSERT_EQ(h.connect(), S_OK) << "cycle " << cycle;
        ASSERT_TRUE(h.clickNode(h.host.findByTag("NVK_SITE"))) << "cycle " << cycle;
        ASSERT_EQ(h.disconnect(), S_OK) << "cycle " << cycle;
        ASSERT_TRUE(h.allReleased()) << "cycle " << cycle;
        ASSERT_FALSE(h.host.findByTag("NVK")) << "cycle " << cycle;
        // Every cycle does the same work: nothing piles up from one to the next.
        const int64_t now = h.excel.tally().objectsCreated - before;
        if (cycle > 1) {
            EXPECT_EQ(now, created) << "cycle " << cycle;
        }
        created = now;
    }
    EXPECT_EQ(h.opened.size(), 50u);
    EXPECT_EQ(h.dll.canUnloadNow(), S_OK);
}

TEST(Lifecycle, HostShutdownAndARecordAloneReleaseEverythingToo) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    ASSERT_EQ(h.addin.disconnect(fake::ext_dm_HostShutdown), S_OK);  // OnBeginShutdown first
    EXPECT_TRUE(h.allReleased());

    // Excel releasing the object without OnDisconnection (it crashed in between, say):
    // the object takes its connection down as it goes.
    ASSERT_EQ(h.connect(), S_OK);
    h.addin.drop();
    EXPECT_TRUE(h.allReleased());
    EXPECT_FALSE(h.host.findByTag("NVK"));
    EXPECT_EQ(h.dll.canUnloadNow(), S_OK);
}

TEST(Lifecycle, AConnectedObjectRefusesASecondConnection) {
    Harness h;
    ASSERT_EQ(h.connect(), S_OK);
    fake::IDTExtensibility2* object = h.addin.object();
    auto app = h.excel.application();
    auto record = h.excel.addIn(h.record);
    SAFEARRAY* custom = nullptr;
    EXPECT_TRUE(FAILED(object->OnConnection(app.get(), fake::ext_cm_AfterStartup, record.get(), &custom)));
    app.reset();
    record.reset();
    ASSERT_EQ(h.disconnect(), S_OK);
    EXPECT_TRUE(h.allReleased());
}

}  // namespace
}  // namespace qm::e2e
