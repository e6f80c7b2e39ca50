// The scenario runner's COM mode: the real add-in DLL against the fake Excel.
#include "cli/via_com.h"

#include <cwchar>
#include <stdexcept>
#include <vector>

#include "cli/session.h"
#include "cli/via_com_windows.h"
#include "core/settings/settings.h"
#include "core/text/strings.h"
#include "sim/sim_host.h"
#include "sim/com/addin_host.h"
#include "sim/com/desktop.h"
#include "sim/com/fake_excel.h"
#include "sim/com/system_calls.h"

namespace qm::cli {
namespace {

// ---------------------------------------------------------------- the add-in's settings

std::wstring settingsPath() { return L"Software\\VB and VBA Program Settings\\" + win32::toUtf16(settings::kApp); }

struct RegistryValue {
    std::wstring name;
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
};

struct RegistryTree {
    std::vector<RegistryValue> values;
    std::vector<std::pair<std::wstring, RegistryTree>> keys;
};

class Key {
public:
    Key(HKEY root, const std::wstring& path, REGSAM access) {
        if (::RegOpenKeyExW(root, path.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) ::RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::optional<RegistryTree> readTree(HKEY root, const std::wstring& path) {
    Key key(root, path, KEY_READ);
    if (!key.get()) return std::nullopt;
    RegistryTree tree;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        if (::RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        RegistryValue value{std::wstring(name, nameLength), type, std::vector<BYTE>(size)};
        nameLength = 16384;
        if (::RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, value.data.data(), &size) == ERROR_SUCCESS) {
            value.data.resize(size);
            tree.values.push_back(std::move(value));
        }
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::wstring child(name, nameLength);
        if (auto sub = readTree(key.get(), child)) tree.keys.emplace_back(child, std::move(*sub));
    }
    return tree;
}

void writeTree(HKEY root, const std::wstring& path, const RegistryTree& tree) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    for (const RegistryValue& v : tree.values) {
        ::RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    }
    for (const auto& [name, sub] : tree.keys) writeTree(key, name, sub);
    ::RegCloseKey(key);
}

void removeTree(HKEY root, const std::wstring& path) {
    {
        Key key(root, path, KEY_READ | KEY_WRITE);
        if (!key.get()) return;
        wchar_t name[256];
        DWORD nameLength = 256;
        while (::RegEnumKeyExW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            removeTree(key.get(), std::wstring(name, nameLength));
            nameLength = 256;
        }
    }
    ::RegDeleteKeyW(root, path.c_str());
}

// A scenario starts with no settings, as the native runner's own store does; the user's
// settings are put aside while it runs and put back afterwards.
class SettingsAside {
public:
    SettingsAside() : saved_(readTree(HKEY_CURRENT_USER, settingsPath())) { removeTree(HKEY_CURRENT_USER, settingsPath()); }
    ~SettingsAside() {
        removeTree(HKEY_CURRENT_USER, settingsPath());
        if (saved_) writeTree(HKEY_CURRENT_USER, settingsPath(), *saved_);
    }
    SettingsAside(const SettingsAside&) = delete;
    SettingsAside& operator=(const SettingsAside&) = delete;

private:
    std::optional<RegistryTree> saved_;
};

// ---------------------------------------------------------------- locale, DLL

// The locale a country's name stands for: among the system's locales whose English
// country name it is, the one of the lowest language number (en-US for the United States).
std::optional<LCID> localeOfCountry(const std::string& country) {
    const std::wstring wanted = win32::toUtf16(country);
    for (WORD language = 1; language < 0x100; ++language) {
        for (WORD sublanguage = 1; sublanguage < 0x40; ++sublanguage) {
            const LCID lcid = MAKELCID(MAKELANGID(language, sublanguage), SORT_DEFAULT);
            if (!::IsValidLocale(lcid, LCID_SUPPORTED)) continue;
            wchar_t name[128] = {};
            if (::GetLocaleInfoW(lcid, LOCALE_SENGCOUNTRY, name, 128) && ::_wcsicmp(name, wanted.c_str()) == 0) {
                return lcid;
            }
        }
    }
    return std::nullopt;
}

// QuillmarkInExcel.dll next to quillmark, or where the build tree puts it.
std::wstring defaultDllPath() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);
    for (const std::wstring& candidate : {folder + L"QuillmarkInExcel.dll", folder + L"..\\com\\QuillmarkInExcel.dll"}) {
        if (::GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
    }
    return folder + L"QuillmarkInExcel.dll";
}

std::wstring dllPathFor(const std::string& path) { return path.empty() ? defaultDllPath() : fake::windowsPath(path); }

class Apartment {
public:
    Apartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() { ::CoUninitialize(); }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
};

// The host's main window as the DLL looks for it (class XLMAIN, titled with the
// application's caption): a hidden window kept where the simulated host says its main
// window is, and not findable when the host says there is none.
class MainWindow {
public:
    MainWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"XLMAIN";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, L"XLMAIN", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    }
    ~MainWindow() {
        if (window_) ::DestroyWindow(window_);
        ::UnregisterClassW(L"XLMAIN", ::GetModuleHandleW(nullptr));
    }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void follow(sim::SimHost& host) {
        if (!window_) return;
        const std::string caption = host.caption();
        const auto rect = host.windowFinder().findWindowRect("XLMAIN", caption);
        ::SetWindowTextW(window_, rect ? win32::toUtf16(caption).c_str() : L"");
        if (rect) {
            ::SetWindowPos(window_, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

private:
    HWND window_ = nullptr;
};

[[noreturn]] void notWithDll(const std::string& what) {
    throw ScriptError(what + " cannot be simulated with --via-com: the add-in DLL uses the system's own files");
}

}  // namespace

struct ViaCom::Impl {
    Impl(Session& s, const std::string& path)
        : session(s),
          dll(dllPathFor(path)),
          user([this](const fake::SeenDialog& d) { return answer(d); }),
          system(dll.module(), {[this] { session.sound().beep(); },
                                [this](const std::string& address) { session.shell().open(address); },
                                [this](const std::string& file, uint64_t size) {
                                    session.observe({scripted::Event::Kind::FileWritten,
                                                     file + " (" + std::to_string(size) + " bytes)", 0, {}, 0});
                                },
                                [this](const std::string& file) {
                                    session.observe({scripted::Event::Kind::FileRemoved, file, 0, {}, 0});
                                }}),
          excel(s.host()),
          addin(dll, excel) {}

    // On the watcher's thread, while the session's thread waits inside the message box.
    fake::Reply answer(const fake::SeenDialog& d) {
        if (d.messageBox) return session.messageBox().show(d.text, d.style(), d.title);
        if (d.colorChooser) {
            const auto chosen = session.colors().choose(d.color ? std::optional(static_cast<int32_t>(*d.color))
                                                                : std::nullopt);
            if (!chosen) return IDCANCEL;
            return fake::Reply(IDOK, static_cast<COLORREF>(*chosen) & 0x00FFFFFF);
        }
        // The add-in's own windows are the script's to use.
        return fake::Reply::leave();
    }

    Session& session;
    Apartment apartment;
    SettingsAside settingsAside;
    MainWindow mainWindow;
    fake::AddinDll dll;
    fake::DialogWatcher user;
    ComWindows windows{session};
    fake::SystemCallRecorder system;
    fake::FakeExcel excel;
    fake::AddinHost addin;
};

ViaCom::ViaCom(Session& session, const std::string& dllPath) {
    try {
        impl_ = std::make_unique<Impl>(session, dllPath);
    } catch (const std::runtime_error& e) {
        throw ScriptAbort(std::string("--via-com: ") + e.what());
    }
    Impl& x = *impl_;
    x.windows.registerCommands();
    // The user's own clipboard and locale are not the scenario's.
    session.host().clipboard().clear();
    x.mainWindow.follow(session.host());
    x.system.setUserLocale(localeOfCountry(session.locale().userCountryName().value_or("United States")));

    // host locale <country> | none: what the DLL's locale queries answer from now on.
    session.registerCommand("host locale", [&x](Session& s, Args& a) {
        const std::string country = a.rest("country");
        if (text::equalsIgnoreCase(country, "none")) {
            s.locale().setCountry(std::nullopt);
            x.system.setUserLocale(std::nullopt);
            return;
        }
        const auto lcid = localeOfCountry(country);
        if (!lcid) throw ScriptError("host locale: no locale of this system is in the country \"" + country + "\"");
        s.locale().setCountry(country);
        x.system.setUserLocale(*lcid);
    });
    // setting <section> <key> <value> | setting erase <section> <key>: in the registry,
    // where the DLL reads them.
    session.registerCommand("setting", [](Session& s, Args& a) {
        const bool erase = a.accept("erase");
        const std::string section = a.next("section");
        const std::string key = a.next("key");
        if (erase) {
            a.done();
            HKEY k = nullptr;
            const std::wstring path = settingsPath() + L"\\" + win32::toUtf16(section);
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
                ::RegDeleteValueW(k, win32::toUtf16(key).c_str());
                ::RegCloseKey(k);
            }
            return;
        }
        const std::string value = a.next("value");
        a.done();
        s.settings().save(section, key, value);
    });
    session.registerCommand("file-writes", [](Session&, Args&) { notWithDll("failing file writes"); });
    // setting-writes fail|work: the DLL's registry writes are refused (access denied), or work.
    session.registerCommand("setting-writes", [&x](Session&, Args& a) {
        const std::string what = a.next("fail or work");
        a.done();
        x.system.setRegistryWritesFailing(text::equalsIgnoreCase(what, "fail"));
    });
    // temp-files fail|fail-folder|work: the system's temporary folder, as the DLL finds it.
    session.registerCommand("temp-files", [&x](Session& s, Args& a) {
        const std::string what = a.next("fail, fail-folder or work");
        a.done();
        const bool folder = text::equalsIgnoreCase(what, "fail-folder");
        const bool files = !text::equalsIgnoreCase(what, "work");
        s.temp().setFailing(folder, files);
        x.system.setTempFolderFailing(folder, files);
    });
}

ViaCom::~ViaCom() {
    // The host shuts down: the add-in lets go of it before anything else goes.
    impl_->addin.disconnect(fake::ext_dm_HostShutdown);
    impl_->user.settle();
}

void ViaCom::connect(const std::string& progId) {
    Impl& x = *impl_;
    if (x.addin.loaded()) throw ScriptError("the add-in is already connected");
    auto& record = x.session.addinRecord();
    record = x.session.host().addAddIn(progId);
    const HRESULT hr = x.addin.connect(record);
    // Read at once: the error object belongs to the thread's next failing call otherwise.
    const std::string failure = FAILED(hr) ? fake::failureText(hr) : std::string();
    settle();
    if (FAILED(hr)) {
        x.session.print("  [connection failed] " + failure);
        record->setConnected(false);
        x.addin.drop();
    }
    if (!record->connected()) {
        // The host drops an add-in that did not connect, calling its disconnection.
        if (x.addin.loaded()) x.addin.disconnect(fake::ext_dm_UserClosed);
        settle();
        x.session.print("  [add-in not loaded]");
    }
}

void ViaCom::disconnect() {
    Impl& x = *impl_;
    if (!x.addin.loaded()) throw ScriptError("the add-in is not connected");
    x.addin.disconnect(fake::ext_dm_UserClosed);
    settle();
    x.session.addinRecord()->setConnected(false);
}

bool ViaCom::connected() const { return impl_->addin.loaded(); }

void ViaCom::settle() {
    impl_->user.settle();
    impl_->mainWindow.follow(impl_->session.host());
    impl_->windows.rethrowFailure();
}

}  // namespace qm::cli
