// Settings in the registry: where they go, what type they have, Japanese text, values of
// other types written by other programs.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <regex>
#include <string>

#include "win32/settings_registry.h"

namespace qm::win32 {
namespace {

const wchar_t kRoot[] = L"Software\\VB and VBA Program Settings\\";

// A test's own application key, removed with everything under it at the end.
class RegistrySettingsTest : public ::testing::Test {
protected:
    const std::string app = "QmPlatformTest" + std::to_string(::GetCurrentProcessId());
    ~RegistrySettingsTest() override { ::SHDeleteKeyW(HKEY_CURRENT_USER, (kRoot + toUtf16(app)).c_str()); }

    // The value as the registry holds it, read without the store.
    std::pair<DWORD, std::wstring> rawValue(const std::string& section, const std::wstring& name) {
        HKEY key = nullptr;
        const std::wstring path = kRoot + toUtf16(app) + L"\\" + toUtf16(section);
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return {REG_NONE, L"<no key>"};
        UniqueHkey owner(key);
        wchar_t data[512] = {};
        DWORD type = 0, size = sizeof data - sizeof(wchar_t);
        if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS)
            return {REG_NONE, L"<no value>"};
        return {type, std::wstring(data, size / sizeof(wchar_t))};
    }

    void setRaw(const std::string& section, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        const std::wstring path = kRoot + toUtf16(app) + L"\\" + toUtf16(section);
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        UniqueHkey owner(key);
        ASSERT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    RegistrySettingsStore store;
};

TEST_F(RegistrySettingsTest, WritesNulTerminatedRegSzUnderTheClassicKey) {
    store.write(app, "Setting", "GridWidth", "1.5");
    auto [type, data] = rawValue("Setting", L"GridWidth");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::wstring(L"1.5\0", 4));
    EXPECT_EQ(store.read(app, "Setting", "GridWidth"), "1.5");
}

TEST_F(RegistrySettingsTest, JapaneseAndOddTextRoundTrip) {
    const std::string japanese = "描画モード（既定）\xF0\x9F\x96\x8C";  // with a character outside the BMP
    store.write(app, "設定", "名前", japanese);
    EXPECT_EQ(store.read(app, "設定", "名前"), japanese);
    EXPECT_EQ(rawValue("設定", L"\u540D\u524D").second, std::wstring(L"描画モード（既定）\U0001F58C") + L'\0');

    for (const std::string& text : {std::string(), std::string("a=b\\c\r\nd"), std::string(300, 'x')}) {
        store.write(app, "Setting", "Odd", text);
        EXPECT_EQ(store.read(app, "Setting", "Odd"), text);
    }
}

TEST_F(RegistrySettingsTest, MissingKeySectionOrValueReadsNothing) {
    EXPECT_EQ(store.read(app, "Setting", "GridWidth"), std::nullopt);
    store.write(app, "Setting", "GridWidth", "1");
    EXPECT_EQ(store.read(app, "Other", "GridWidth"), std::nullopt);
    EXPECT_EQ(store.read(app, "Setting", "GridHeight"), std::nullopt);
    EXPECT_EQ(store.read(app, "setting", "GRIDWIDTH"), "1");  // the registry ignores case
}

TEST_F(RegistrySettingsTest, ValuesOfOtherTypesReadAsTextWhereSensible) {
    const DWORD minusOne = 0xFFFFFFFF, seven = 7;
    const uint64_t big = 0x100000000ull;
    const wchar_t expand[] = L"%TEMP%\\x";
    const wchar_t multi[] = L"a\0b\0";
    const wchar_t unterminated[] = {L'o', L'k'};
    const BYTE binary[] = {1, 2, 3};
    setRaw("Types", L"Long", REG_DWORD, &minusOne, sizeof minusOne);
    setRaw("Types", L"Seven", REG_DWORD, &seven, sizeof seven);
    setRaw("Types", L"Quad", REG_QWORD, &big, sizeof big);
    setRaw("Types", L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
    setRaw("Types", L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    setRaw("Types", L"Multi", REG_MULTI_SZ, multi, sizeof multi);
    setRaw("Types", L"Binary", REG_BINARY, binary, sizeof binary);
    EXPECT_EQ(store.read(app, "Types", "Long"), "-1");
    EXPECT_EQ(store.read(app, "Types", "Seven"), "7");
    EXPECT_EQ(store.read(app, "Types", "Quad"), "4294967296");
    EXPECT_EQ(store.read(app, "Types", "Expand"), "%TEMP%\\x");
    EXPECT_EQ(store.read(app, "Types", "Unterminated"), "ok");
    EXPECT_EQ(store.read(app, "Types", "Multi"), std::nullopt);
    EXPECT_EQ(store.read(app, "Types", "Binary"), std::nullopt);
}

TEST_F(RegistrySettingsTest, WriteFailureCarriesTheSystemReason) {
    // A key name may not be longer than 255 characters.
    const std::string section(300, 's');
    try {
        store.write(app, section, "K", "v");
        FAIL() << "the write succeeded";
    } catch (const platform::PlatformError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("VB and VBA Program Settings\\" + app), std::string::npos) << message;
        // The system's sentence, then its error number.
        EXPECT_TRUE(std::regex_search(message, std::regex(": [A-Za-z].* \\([1-9][0-9]*\\)$"))) << message;
    }
}

}  // namespace
}  // namespace qm::win32
