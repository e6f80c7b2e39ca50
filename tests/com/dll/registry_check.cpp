// Checks the registry around a regsvr32 run of the add-in DLL:
//   registry_check prepare                 writes a user setting unregistration must keep
//   registry_check registered <dll path>   the per-user keys are there, pointing at the DLL
//   registry_check unregistered            they are gone, the setting is still there
// Prints what is wrong and exits 1, or exits 0.
#include <cstdio>
#include <string>

#include "tests/com/dll/registry.h"

namespace {

using qm::com::test::keyExists;
using qm::com::test::readDword;
using qm::com::test::readString;

const std::wstring kClassKey = L"Software\\Classes\\CLSID\\{C9221B4E-05B8-4B67-B61A-750F152675BC}";
const std::wstring kProgIdKey = L"Software\\Classes\\QuillmarkInExcel.Connect";
const std::wstring kAddinKey = L"Software\\Microsoft\\Office\\Excel\\Addins\\QuillmarkInExcel.Connect";

int failures = 0;

void check(bool ok, const char* what) {
    if (ok) return;
    std::printf("FAILED: %s\n", what);
    ++failures;
}

bool sameText(const std::optional<std::wstring>& value, const std::wstring& expected) {
    return value && ::lstrcmpiW(value->c_str(), expected.c_str()) == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring step = argc > 1 ? argv[1] : L"";
    if (step == L"prepare") {
        check(qm::com::test::writeString(HKEY_CURRENT_USER, qm::com::test::kSettingsSection,
                                         qm::com::test::kSettingsMarker, L"1"),
              "user setting written");
    } else if (step == L"registered" && argc > 2) {
        check(sameText(readString(HKEY_CURRENT_USER, kProgIdKey + L"\\CLSID", L""),
                       L"{C9221B4E-05B8-4B67-B61A-750F152675BC}"),
              "ProgID names the class");
        check(sameText(readString(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", L""), argv[2]),
              "InprocServer32 is the DLL");
        check(sameText(readString(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment"),
              "apartment threaded");
        check(sameText(readString(HKEY_CURRENT_USER, kClassKey + L"\\ProgID", L""), L"QuillmarkInExcel.Connect"),
              "class names its ProgID");
        check(readString(HKEY_CURRENT_USER, kAddinKey, L"Description") == L"Quillmark in Excel\r\n",
              "Excel add-in description");
        check(readDword(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior") == 3u, "loaded at start-up");
        check(!keyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\{C9221B4E-05B8-4B67-B61A-750F152675BC}"),
              "nothing for the whole machine");
    } else if (step == L"unregistered") {
        check(!keyExists(HKEY_CURRENT_USER, kProgIdKey), "ProgID removed");
        check(!keyExists(HKEY_CURRENT_USER, kClassKey), "class removed");
        check(!keyExists(HKEY_CURRENT_USER, kAddinKey), "Excel add-in entry removed");
        check(readString(HKEY_CURRENT_USER, qm::com::test::kSettingsSection, qm::com::test::kSettingsMarker) == L"1",
              "user setting kept");
        qm::com::test::removeSettingsMarker();
    } else {
        std::printf("usage: registry_check prepare | registered <dll path> | unregistered\n");
        return 2;
    }
    return failures ? 1 : 0;
}
