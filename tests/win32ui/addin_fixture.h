// The add-in connected to the simulated host with the Win32 windows: what the windows'
// tests and the screenshots open the add-in's windows over. A realistic drawing: a
// rectangle, an oval, a freeform of twelve nodes and a hidden object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/addin/connect.h"
#include "core/settings/settings.h"
#include "scripted/scripted.h"
#include "sim/sim_host.h"
#include "win32/files.h"
#include "win32/locale.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui::testing {

// The Win32 locale decides the language, as in the DLL; the other services are scripted.
class WindowsAddin {
public:
    WindowsAddin()
        : messages(record()),
          colors(record()),
          sound(record()),
          shell(record()),
          temp(realTemp),
          files(record(), realFiles),
          toolkit(nullptr),
          services{store, locale, temp, files, shell, sound, messages, colors, host.clipboard(), host.windowFinder()} {
        book = host.addWorkbook("Book1");
        sheet = host.addWorksheet(book, "Sheet1");
        host.activateSheet(sheet);
    }
    ~WindowsAddin() {
        if (addin) addin->onDisconnection();
    }
    WindowsAddin(const WindowsAddin&) = delete;
    WindowsAddin& operator=(const WindowsAddin&) = delete;

    void addDrawing() {
        sim::ShapeInit rect;
        rect.name = "Rectangle 1";
        rect.left = 30;
        rect.top = 20;
        rect.width = 120;
        rect.height = 60;
        host.addShape(sheet, rect);
        sim::ShapeInit oval;
        oval.autoShapeType = host::msoShapeOval;
        oval.name = "Oval 2";
        oval.left = 180;
        oval.top = 40;
        oval.width = 80;
        oval.height = 80;
        host.addShape(sheet, oval);
        sim::ShapeInit free;
        free.kind = sim::ShapeKind::Freeform;
        free.name = "Freeform 3";
        const float xs[12] = {60, 120, 150, 160, 150, 120, 90, 60, 40, 30, 40, 60};
        const float ys[12] = {150, 140, 160, 190, 220, 235, 230, 220, 200, 180, 160, 150};
        for (int i = 0; i < 12; ++i) free.nodes.push_back({xs[i], ys[i], host::msoEditingAuto, host::msoSegmentLine});
        host.addShape(sheet, free);
        sim::ShapeInit hidden;
        hidden.name = "Hidden 4";
        hidden.left = 300;
        hidden.top = 30;
        hidden.width = 50;
        hidden.height = 30;
        host.addShape(sheet, hidden)->visible = false;
    }

    bool connect() {
        record_ = host.addAddIn("QuillmarkInExcel.Connect");
        addin = std::make_unique<addin::Connect>(services, toolkit);
        addin->onConnection(host.application(), *record_);
        return record_->connected();
    }

    // A menu item by its caption's string number, in the language the add-in chose: the
    // product's menu (1 Draw mode, 44 Object List, 2 Setting), or in Draw mode the
    // Draw-mode menu bar's (43 > 44 Object List, 50 > 51 One-point advice).
    std::string productItem(int caption) {
        addin::AddinState& s = addin->state();
        return "Worksheet Menu Bar > " + s.text(900) + " > " + s.text(901) + " > " + s.text(caption);
    }
    std::string drawMenuItem(int menu, int caption) {
        addin::AddinState& s = addin->state();
        return "QM_MENU > " + s.text(menu) + " > " + s.text(caption);
    }

    std::string stored(const std::string& section, const std::string& key) {
        return store.read(settings::kApp, section, key).value_or("(missing)");
    }
    sim::DrawingObjectPtr shape(const std::string& name) { return host.findShape(sheet, name); }
    Form* window(const std::string& name) { return toolkit.findForm(name); }

    sim::SimHost host;
    settings::MemoryStore store;
    Win32Locale locale;
    std::vector<scripted::Event> events;
    scripted::MessageBox messages;
    scripted::ColorChooser colors;
    scripted::Sound sound;
    scripted::Shell shell;
    Win32TempFiles realTemp;
    scripted::TempFiles temp;
    Win32FileSystem realFiles;
    scripted::RecordingFileSystem files;
    Toolkit toolkit;
    platform::Services services;
    std::unique_ptr<addin::Connect> addin;
    sim::WorkbookNodePtr book;
    sim::SheetNodePtr sheet;

private:
    scripted::Observer record() {
        return [this](const scripted::Event& e) { events.push_back(e); };
    }
    std::shared_ptr<sim::SimAddIn> record_;
};

}  // namespace qm::win32::ui::testing
