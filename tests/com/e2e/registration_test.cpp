// The DLL registering itself for the current user (as an installer without administrator
// rights calls it), the class created through COM from that registration, and everything
// removed again without touching the user's settings.
#include "tests/com/e2e/harness.h"
#include "tests/com/e2e/registry.h"

namespace qm::e2e {
namespace {

class Registration : public ::testing::Test {
protected:
    Registration() {
        // The user's settings, which no unregistration may touch.
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, (kSettingsKey + L"\\Bar").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          &key, nullptr);
        const wchar_t value[] = L"True";
        ::RegSetValueExW(key, L"Visible", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
        ::RegCloseKey(key);
        dll.unregisterServer();
    }
    ~Registration() override {
        dll.unregisterServer();
        removeRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    }

    std::wstring modulePath() const {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(dll.module(), path, MAX_PATH);
        return path;
    }
    bool settingsKept() const {
        return readString(HKEY_CURRENT_USER, kSettingsKey + L"\\Bar", L"Visible") == std::wstring(L"True");
    }

    ComApartment apartment;
    fake::AddinDll dll{addinDllPath()};
};

TEST_F(Registration, DllRegisterServerWritesThePerUserKeysAndUnregisterRemovesThem) {
    ASSERT_EQ(leftoverKeys(), std::vector<std::string>{});
    ASSERT_EQ(dll.registerServer(), S_OK);
    EXPECT_EQ(registrationProblems(modulePath()), std::vector<std::string>{});
    // Registering twice is harmless.
    ASSERT_EQ(dll.registerServer(), S_OK);
    EXPECT_EQ(registrationProblems(modulePath()), std::vector<std::string>{});

    ASSERT_EQ(dll.unregisterServer(), S_OK);
    EXPECT_EQ(leftoverKeys(), std::vector<std::string>{});
    EXPECT_TRUE(settingsKept());
}

TEST_F(Registration, DllInstallForTheUserRegistersAndUninstallUnregisters) {
    ASSERT_EQ(dll.install(true, L"user"), S_OK);
    EXPECT_EQ(registrationProblems(modulePath()), std::vector<std::string>{});
    ASSERT_EQ(dll.install(false, L"user"), S_OK);
    EXPECT_EQ(leftoverKeys(), std::vector<std::string>{});
    EXPECT_TRUE(settingsKept());
}

// Wine's COM does not read per-user classes (Windows merges them into HKCR): the class
// object comes from the DLL and is registered with COM for this process, as COM would
// load it from the registered path.
TEST_F(Registration, TheRegisteredClassIsCreatedThroughCom) {
    ASSERT_EQ(dll.registerServer(), S_OK);
    const auto clsidText = readString(HKEY_CURRENT_USER, kClassesKey + L"QuillmarkInExcel.Connect\\CLSID", nullptr);
    ASSERT_TRUE(clsidText);
    CLSID clsid{};
    ASSERT_EQ(::CLSIDFromString(clsidText->c_str(), &clsid), S_OK);
    EXPECT_TRUE(::IsEqualGUID(clsid, fake::kAddinClsid));

    fake::ComPtr<IClassFactory> factory;
    ASSERT_EQ(dll.getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.put())), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(::CoRegisterClassObject(clsid, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    {
        fake::ComPtr<fake::IDTExtensibility2> addin;
        ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(fake::IDTExtensibility2),
                                     reinterpret_cast<void**>(addin.put())),
                  S_OK);
        // The same object answers late-bound callers by name.
        std::wstring name = L"onconnection";
        LPOLESTR names[] = {name.data()};
        DISPID id = 0;
        EXPECT_EQ(addin->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, 1);
        EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    }
    // The class factory asked for another class refuses.
    fake::ComPtr<IClassFactory> other;
    EXPECT_EQ(dll.getClassObject(IID_IDispatch, IID_IClassFactory, reinterpret_cast<void**>(other.put())),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(::CoRevokeClassObject(cookie), S_OK);
    factory.reset();
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

}  // namespace
}  // namespace qm::e2e
