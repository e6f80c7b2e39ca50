// Registration through the DLL's exports: the per-user keys written, and removed again
// without touching the user's settings.
#include <gtest/gtest.h>

#include <optional>

#include "com/identity.h"
#include "com/registration.h"
#include "tests/com/dll/addin_dll.h"
#include "tests/com/dll/registry.h"

namespace qm::com {
namespace {

using test::readDword;
using test::readString;

const std::wstring kClassKey = L"Software\\Classes\\CLSID\\{C9221B4E-05B8-4B67-B61A-750F152675BC}";
const std::wstring kAddinKey = L"Software\\Microsoft\\Office\\Excel\\Addins\\QuillmarkInExcel.Connect";

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        // The user's settings, which unregistration must leave alone.
        ASSERT_TRUE(test::writeString(HKEY_CURRENT_USER, test::kSettingsSection, test::kSettingsMarker, L"1"));
        unregisterServer();
    }
    void TearDown() override {
        unregisterServer();
        test::removeSettingsMarker();
    }

    static void expectRegistered(const std::wstring& dllPath) {
        EXPECT_EQ(readString(HKEY_CURRENT_USER, L"Software\\Classes\\QuillmarkInExcel.Connect\\CLSID", L""),
                  L"{C9221B4E-05B8-4B67-B61A-750F152675BC}");
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kClassKey, L""), L"Quillmark in Excel");
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", L""), dllPath);
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kClassKey + L"\\ProgID", L""), L"QuillmarkInExcel.Connect");
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kAddinKey, L"FriendlyName"), L"Quillmark in Excel");
        EXPECT_EQ(readString(HKEY_CURRENT_USER, kAddinKey, L"Description"), L"Quillmark in Excel\r\n");
        EXPECT_EQ(readDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior"), 3u);
        // Never for the whole machine.
        EXPECT_FALSE(test::keyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\{C9221B4E-05B8-4B67-B61A-750F152675BC}"));
    }

    static void expectUnregistered() {
        EXPECT_FALSE(test::keyExists(HKEY_CURRENT_USER, L"Software\\Classes\\QuillmarkInExcel.Connect"));
        EXPECT_FALSE(test::keyExists(HKEY_CURRENT_USER, kClassKey));
        EXPECT_FALSE(test::keyExists(HKEY_CURRENT_USER, kAddinKey));
        // The parents were there before and are shared.
        EXPECT_TRUE(test::keyExists(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID"));
        EXPECT_TRUE(test::keyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\Excel\\Addins"));
        EXPECT_EQ(readString(HKEY_CURRENT_USER, test::kSettingsSection, test::kSettingsMarker), L"1");
    }
};

TEST_F(Registration, DllRegisterServerWritesPerUserKeysAndUnregisterRemovesThem) {
    test::AddinDll dll;
    auto registerServer = dll.function<test::DllRegisterServerFn>("DllRegisterServer");
    auto unregister = dll.function<test::DllRegisterServerFn>("DllUnregisterServer");
    ASSERT_TRUE(registerServer && unregister);
    ASSERT_EQ(registerServer(), S_OK);
    expectRegistered(test::addinDllPath());
    // Twice is no different from once.
    ASSERT_EQ(registerServer(), S_OK);
    ASSERT_EQ(unregister(), S_OK);
    expectUnregistered();
    // Nothing left to remove is not a failure.
    EXPECT_EQ(unregister(), S_OK);
}

TEST_F(Registration, DllInstallForTheUserOnly) {
    test::AddinDll dll;
    auto install = dll.function<test::DllInstallFn>("DllInstall");
    ASSERT_TRUE(install);
    EXPECT_EQ(install(TRUE, L"machine"), E_INVALIDARG);
    EXPECT_FALSE(test::keyExists(HKEY_CURRENT_USER, kClassKey));
    ASSERT_EQ(install(TRUE, L"USER"), S_OK);
    expectRegistered(test::addinDllPath());
    ASSERT_EQ(install(FALSE, L"user"), S_OK);
    expectUnregistered();
}

TEST_F(Registration, UnregistrationRemovesWhatOthersAddedBelowItsKeysButNothingBeside) {
    ASSERT_EQ(registerServer(L"C:\\addin\\QuillmarkInExcel.dll"), S_OK);
    // Excel and COM may add to the add-in's own keys.
    ASSERT_TRUE(test::writeString(HKEY_CURRENT_USER, kClassKey + L"\\Implemented Categories\\{0}", L"", L""));
    ASSERT_TRUE(test::writeString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\Excel\\Addins\\Other.Connect",
                                  L"FriendlyName", L"Other"));
    ASSERT_EQ(unregisterServer(), S_OK);
    expectUnregistered();
    EXPECT_EQ(readString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\Excel\\Addins\\Other.Connect",
                         L"FriendlyName"),
              L"Other");
    test::deleteKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\Excel\\Addins\\Other.Connect");
}

TEST(RegistrationData, EveryValueLiesUnderOneOfTheRemovedKeys) {
    const auto keys = registrationKeys();
    for (const RegistryValue& value : registrationValues(L"C:\\x.dll")) {
        bool covered = false;
        for (const std::wstring& key : keys) covered = covered || value.key.rfind(key, 0) == 0;
        EXPECT_TRUE(covered) << win32::toUtf8(value.key);
    }
}

}  // namespace
}  // namespace qm::com
