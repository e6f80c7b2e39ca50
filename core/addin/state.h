// The run-time state of one connection of the add-in, shared by its subsystems: the host
// application, the language, the OnAction text, the Draw-mode flag and saved display
// state, and the 25 event-bound button variables. Owned by Connect.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/addin/buttons.h"
#include "core/addin/config.h"
#include "core/host/host.h"
#include "core/platform/platform.h"
#include "core/settings/settings.h"
#include "core/text/text.h"
#include "core/ui/forms.h"
#include "core/ui/ui.h"

namespace qm::addin {

// One host bar shown on the user's choice in Draw mode, as it was before.
struct ShownBar {
    std::string name;
    int32_t position = 0;
    int32_t rowIndex = 0;
    bool visible = false;
};

// The add-in toolbar's place as entry stored it (the row one higher than found).
struct BarPlace {
    int32_t position = 0;
    int32_t rowIndex = 0;
    int32_t left = 0;
    int32_t top = 0;
    bool visible = true;
};

// What Draw mode changed and must put back, and its event sources.
struct DrawState {
    // What entry found, for exit to put back. Each is set only once it was read, and entry
    // starts by clearing them all, so that neither the undo of a failed entry nor an exit
    // puts back anything an earlier entry saw. An aid whose state was not read is left
    // alone by both.
    std::optional<int32_t> saveSelectObjects;
    std::optional<int32_t> saveSnapToGrid;
    std::optional<int32_t> saveSnapToShape;
    std::optional<bool> saveFormulaBar;
    std::optional<bool> saveFullScreen;
    std::optional<BarPlace> barPlace;
    std::vector<ShownBar> shownBars;
    void clearSaved() {
        saveSelectObjects.reset();
        saveSnapToGrid.reset();
        saveSnapToShape.reset();
        saveFormulaBar.reset();
        saveFullScreen.reset();
        barPlace.reset();
        shownBars.clear();
    }

    host::CommandBarsPtr appBar;
    host::Subscription appBarUpdate;
    host::CommandBarControlPtr btnBold;
    host::CommandBarControlPtr btnSelectObjects;
    bool inUpdate = false;
    // What the OnUpdate handler last saw or wrote of the five text buttons (State,
    // Enabled), so that an unchanged selection costs no reads of the add-in's own buttons.
    std::array<std::optional<int32_t>, 5> knownTextState;
    std::array<std::optional<bool>, 5> knownTextEnabled;
    std::optional<int32_t> knownLockState;
};

struct AddinState {
    AddinState(platform::Services& services, ui::Toolkit& toolkit, const Config& configuration)
        : os(services), ui(toolkit), config(configuration), settings(services.settings) {}

    platform::Services& os;
    ui::Toolkit& ui;
    const Config& config;
    settings::Settings settings;

    text::Text text;               // gLangBase
    std::string addinBarName;      // gAddinBarName
    std::string onAction;          // strOnAction
    host::ApplicationPtr app;      // objApp
    host::Subscription appSheetChange;
    bool drawMode = false;         // blnDrawMode
    std::array<EventButton, kButtonCount> buttons;
    DrawState draw;
    ui::LoadedForms forms;         // the component's loaded windows

    EventButton& button(Btn b) { return buttons[static_cast<size_t>(b)]; }
    // Assigns `control` to the variable `b`; its Click then reaches b's handler.
    void bind(Btn b, host::CommandBarControlPtr control);

    // The error message of every reporting procedure: "(" number ") " description,
    // critical icon, product title.
    void showError(const host::HostError& e) {
        os.messageBox.show(host::errorMessageText(e), platform::mb::kCritical, config.productTitle);
    }
    int message(const std::string& text, int style) { return os.messageBox.show(text, style, config.productTitle); }
};

// The host-ready test of the command handlers: a workbook and a window are open and the
// host's New command (18) is found and enabled, which it is not while a cell is edited.
bool hostReady(AddinState& s);

}  // namespace qm::addin
