// The stage of the end-to-end tests.
#include "tests/com/e2e/harness.h"

#include "core/settings/settings.h"
#include "win32/settings_registry.h"

namespace qm::e2e {
namespace {

// The button a user presses without thinking: the box's first, its default.
int defaultButton(const fake::SeenDialog& d) {
    switch (d.buttonsCode) {
        case MB_OK:
        case MB_OKCANCEL: return IDOK;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        case MB_YESNOCANCEL:
        case MB_YESNO: return IDYES;
        case MB_RETRYCANCEL: return IDRETRY;
        default: return IDCANCEL;
    }
}

}  // namespace

std::wstring addinDllPath() { return fake::windowsPath(QM_ADDIN_DLL); }

bool removeRegistryTree(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        wchar_t name[256];
        while (true) {
            DWORD length = 256;
            if (::RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (!removeRegistryTree(key, name)) break;
        }
        ::RegCloseKey(key);
    }
    const LONG result = ::RegDeleteKeyW(root, path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

Harness::Harness()
    : user_([this](const fake::SeenDialog& d) -> fake::Reply {
          dialogs_.push_back(d);
          if (d.form) {
              if (windowUses_.empty() || windowUses_.front().first != d.name) return fake::Reply(IDCANCEL);
              auto controls = std::move(windowUses_.front().second);
              windowUses_.pop_front();
              return fake::Reply::click(std::move(controls));
          }
          if (answers_.empty()) return defaultButton(d);
          const int button = answers_.front();
          answers_.pop_front();
          return button;
      }),
      system(dll.module(), {[this] { ++beeps; }, [this](const std::string& a) { opened.push_back(a); }, {}, {}}) {
    removeRegistryTree(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\" +
                                              win32::toUtf16(settings::kApp));
    book = host.addWorkbook("Book1");
    for (const char* name : {"Sheet1", "Sheet2", "Sheet3"}) host.addWorksheet(book, name);
    host.activateSheet(book->sheets.front());
}

Harness::~Harness() {
    addin.disconnect(fake::ext_dm_HostShutdown);
    user_.settle();
}

HRESULT Harness::connect() {
    record = host.addAddIn(win32::toUtf8(fake::kAddinProgId));
    const HRESULT hr = addin.connect(record);
    user_.settle();
    // Excel lets go of an add-in that failed to connect or refused the host.
    if (FAILED(hr) || !record->connected()) {
        if (SUCCEEDED(hr)) addin.disconnect(fake::ext_dm_UserClosed);
        addin.drop();
    }
    return hr;
}

HRESULT Harness::disconnect() {
    const HRESULT hr = addin.disconnect(fake::ext_dm_UserClosed);
    if (record) record->setConnected(false);
    user_.settle();
    return hr;
}

void Harness::useWindow(const std::string& form, std::vector<std::string> controls) {
    user_.settle();
    windowUses_.emplace_back(form, std::move(controls));
}

void Harness::skipOnePointAdvice() {
    win32::RegistrySettingsStore store;
    store.write(settings::kApp, settings::keys::OnePoint.section, settings::keys::OnePoint.name, "0");
}

bool Harness::click(const std::string& path) {
    auto node = host.findByPath(path);
    return node && clickNode(node);
}

bool Harness::clickNode(const sim::ControlNodePtr& control) {
    const bool clicked = host.click(control);
    user_.settle();
    return clicked;
}

sim::ControlNodePtr Harness::productItem(size_t index) const {
    auto product = host.findByTag("QM");
    if (!product || !product->subBar || index >= product->subBar->controls.size()) return nullptr;
    return product->subBar->controls[index];
}

const std::vector<fake::SeenDialog>& Harness::dialogs() {
    user_.settle();
    return dialogs_;
}

std::vector<fake::SeenDialog> Harness::messageBoxes() {
    std::vector<fake::SeenDialog> boxes;
    for (const fake::SeenDialog& d : dialogs()) {
        if (d.messageBox) boxes.push_back(d);
    }
    return boxes;
}

::testing::AssertionResult Harness::allReleased() {
    const fake::Tally& t = excel.tally();
    if (t.liveObjects != 0 || t.liveReferences != 0 || t.liveAdvises != 0 || host.liveHandles() != 0 ||
        host.liveSubscriptions() != 0) {
        std::string kinds;
        for (const auto& [kind, n] : t.liveByKind) {
            if (n != 0) kinds += " " + kind + "=" + std::to_string(n);
        }
        return ::testing::AssertionFailure()
               << "still held: " << t.liveObjects << " objects," << kinds << "; " << t.liveReferences
               << " references, " << t.liveAdvises << " advised sinks, " << host.liveHandles() << " host handles, "
               << host.liveSubscriptions() << " host subscriptions";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace qm::e2e
