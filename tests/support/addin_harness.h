// A connected add-in on the simulated host with scripted OS services and headless
// windows: what the add-in's tests and benchmarks run against.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/addin/connect.h"
#include "core/settings/settings.h"
#include "core/ui/headless/headless.h"
#include "scripted/scripted.h"
#include "sim/sim_host.h"

#if defined(_WIN32)
#include "win32/files.h"
#else
#include "posix/files.h"
#endif

namespace qm::testing {

#if defined(_WIN32)
using NativeTempFiles = win32::Win32TempFiles;
using NativeFileSystem = win32::Win32FileSystem;
#else
using NativeTempFiles = posix::PosixTempFiles;
using NativeFileSystem = posix::PosixFileSystem;
#endif

inline constexpr const char* kProgId = "QuillmarkInExcel.Connect";

// Paths of the add-in's menu items in English.
inline const std::string kMenu = "Worksheet Menu Bar > &NVK > &Quillmark > ";

class AddinHarness {
public:
    AddinHarness()
        : messages([this](const scripted::Event& e) { events.push_back(e); }),
          colors([this](const scripted::Event& e) { events.push_back(e); }),
          sound([this](const scripted::Event& e) { events.push_back(e); }),
          shell([this](const scripted::Event& e) { events.push_back(e); }),
          temp(realTemp),
          files([this](const scripted::Event& e) { events.push_back(e); }, realFiles),
          toolkit([this](ui::headless::Form& form) {
              if (onWindow) onWindow(form);
          }),
          services{store, locale, temp, files, shell, sound, messages, colors, host.clipboard(), host.windowFinder()} {
        book = host.addWorkbook("Book1");
        sheet = host.addWorksheet(book, "Sheet1");
        host.activateSheet(sheet);
    }
    AddinHarness(const AddinHarness&) = delete;
    AddinHarness& operator=(const AddinHarness&) = delete;

    ~AddinHarness() {
        if (addin) addin->onDisconnection();
    }

    // Connects a new Connect object as the host does; false when it did not connect.
    bool connect() {
        record = host.addAddIn(kProgId);
        addin = std::make_unique<addin::Connect>(services, toolkit);
        try {
            addin->onConnection(host.application(), *record);
        } catch (const host::HostError& e) {
            connectionError = e.number();
            record->setConnected(false);
        }
        if (!record->connected()) {
            addin->onDisconnection();
            addin.reset();
            return false;
        }
        return true;
    }

    void disconnect() {
        addin->onDisconnection();
        addin.reset();
    }

    bool click(const std::string& path) { return host.click(path); }
    settings::Settings settingsAccess() { return settings::Settings(store); }
    std::string stored(const std::string& section, const std::string& key) {
        return store.read(settings::kApp, section, key).value_or("(missing)");
    }
    int count(scripted::Event::Kind kind) const {
        int n = 0;
        for (const auto& e : events) n += e.kind == kind;
        return n;
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.kind == scripted::Event::Kind::MessageBox) out.push_back(e.text);
        }
        return out;
    }

    // What happens while a window is shown modally; by default it is closed.
    std::function<void(ui::headless::Form&)> onWindow = [](ui::headless::Form& f) { f.userClose(); };

    sim::SimHost host;
    settings::MemoryStore store;
    scripted::Locale locale;
    std::vector<scripted::Event> events;
    scripted::MessageBox messages;
    scripted::ColorChooser colors;
    scripted::Sound sound;
    scripted::Shell shell;
    NativeTempFiles realTemp;
    scripted::TempFiles temp;
    NativeFileSystem realFiles;
    scripted::RecordingFileSystem files;
    ui::headless::Toolkit toolkit;
    platform::Services services;
    std::shared_ptr<sim::SimAddIn> record;
    std::unique_ptr<addin::Connect> addin;
    int32_t connectionError = 0;
    sim::WorkbookNodePtr book;
    sim::SheetNodePtr sheet;
};

}  // namespace qm::testing
