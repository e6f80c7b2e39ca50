// Draw mode entry and exit.
#include "core/draw/draw_mode.h"

#include "core/addin/errors.h"
#include "core/bars/draw_menu.h"
#include "core/bars/draw_toolbars.h"
#include "core/dialogs/one_point.h"
#include "core/draw/drawing_sheet.h"
#include "core/draw/shape_commands.h"
#include "core/draw/toolbar_memory.h"
#include "core/host/constants.h"

namespace qm::draw {
namespace {

namespace keys = settings::keys;
using addin::Btn;
using namespace host;

CommandBarPtr addinBar(addin::AddinState& s) { return s.app->commandBars()->item(s.addinBarName); }

void setModeButtons(addin::AddinState& s, int32_t state) {
    must(s.button(Btn::Mode).get()).setState(state);
    must(s.button(Btn::Mode_Copy).get()).setState(state);
}

// Both mode buttons up, each on its own: a button left down with Draw mode off would make
// the next click try to leave a mode that is not on.
void putModeButtonsUp(addin::AddinState& s) {
    addin::PutBack steps;
    steps.ignoring([&] { must(s.button(Btn::Mode).get()).setState(msoButtonUp); });
    steps.ignoring([&] { must(s.button(Btn::Mode_Copy).get()).setState(msoButtonUp); });
}

bool normalBar(const CommandBarPtr& bar) {
    const int32_t type = bar->type();
    return type == msoBarTypeNormal || type == msoBarTypeMenuBar;
}

struct Aid {
    std::optional<int32_t> addin::DrawState::*saved;
    int32_t id;
    const settings::Key* setting;
};

const Aid kAids[] = {
    {&addin::DrawState::saveSelectObjects, ctl::kSelectObjects, &keys::ShapeSelectMode},
    {&addin::DrawState::saveSnapToGrid, ctl::kSnapToGrid, &keys::FitGrid},
    {&addin::DrawState::saveSnapToShape, ctl::kSnapToShape, &keys::FitShapes},
};

// Step 10 of the set-up: remember the three drawing aids and switch on the chosen ones.
// The aids are the host's, whichever bar shows them: where the position toolbar lacks one
// (a bar abandoned part-built), the host's own control is read, so that exit still puts
// back what the user switches in Draw mode. An aid whose state could not be read is not
// switched: exit could not put it back.
void applyDefaultAids(addin::AddinState& s) {
    const CommandBarPtr position =
        addin::tryGetTwice([&] { return s.app->commandBars()->item("QM_POSITION"); }).value_or(nullptr);
    CommandBarControlPtr controls[3];
    for (int i = 0; i < 3; ++i) {
        const FindSpec aid{.id = kAids[i].id};
        if (position) controls[i] = addin::tryGetTwice([&] { return position->findControl(aid); }).value_or(nullptr);
        if (!controls[i]) {
            controls[i] = addin::tryGetTwice([&] { return s.app->commandBars()->findControl(aid); }).value_or(nullptr);
        }
        if (controls[i]) s.draw.*kAids[i].saved = addin::tryGetTwice([&] { return controls[i]->state(); });
    }
    for (int i = 0; i < 3; ++i) {
        if (!(s.draw.*kAids[i].saved)) continue;
        addin::ignoreErrors([&] {
            if (s.settings.flag(*kAids[i].setting) && controls[i]->state() == msoButtonUp) controls[i]->execute();
        });
    }
}

// Step 11: the event source of OnUpdate and the two host buttons it reads, last of all.
void connectUpdates(addin::AddinState& s) {
    addin::ignoreErrors([&] { s.draw.appBar = s.app->commandBars(); });
    addin::ignoreErrors([&] { s.draw.btnBold = must(s.draw.appBar).findControl({.id = ctl::kBold}); });
    addin::ignoreErrors([&] { s.draw.btnSelectObjects = must(s.draw.appBar).findControl({.id = ctl::kSelectObjects}); });
    addin::ignoreErrors([&] {
        s.draw.appBarUpdate = must(s.draw.appBar).onUpdate([&s]() noexcept {
            try {
                onUpdate(s);
            } catch (...) {
            }
        });
    });
}

// The exit sequence, every step on its own; what entry did not save is not put back. The
// result is the first failure of a step not marked as ignoring errors.
std::optional<HostError> putHostBack(addin::AddinState& s) noexcept {
    addin::PutBack steps;
    addin::DrawState& d = s.draw;
    steps.step([&] { s.app->setScreenUpdating(false); });
    d.appBarUpdate.reset();
    d.btnBold.reset();
    d.btnSelectObjects.reset();
    d.appBar.reset();

    for (const Aid& aid : kAids) {
        const std::optional<int32_t> saved = d.*aid.saved;
        if (!saved) continue;
        steps.ignoring([&] {
            CommandBarControlPtr c = s.app->commandBars()->findControl({.id = aid.id});
            if (c && c->state() != *saved) c->execute();
        });
    }
    // Last to first: a bar named twice was recorded floating the second time.
    for (auto rec = d.shownBars.rbegin(); rec != d.shownBars.rend(); ++rec) {
        if (rec->name.empty()) continue;
        steps.ignoring([&] { s.app->commandBars()->item(rec->name)->setPosition(rec->position); });
        if (rec->position != msoBarFloating) {
            // Docking again puts a bar into a new last row; it goes back to its own.
            steps.ignoring([&] { s.app->commandBars()->item(rec->name)->setRowIndex(rec->rowIndex); });
        }
        steps.ignoring([&] { s.app->commandBars()->item(rec->name)->setVisible(rec->visible); });
    }
    for (const std::string& name : bars::drawModeBarNames()) {
        steps.ignoring([&] { s.app->commandBars()->item(name)->remove(); });
    }
    if (d.barPlace) {
        // Hidden while it moves; it moves only where entry stored its place.
        steps.step([&] { addinBar(s)->setVisible(false); });
        steps.step([&] { addinBar(s)->setEnabled(false); });
    }
    {
        int32_t count = 0;
        steps.step([&] { count = s.app->commandBars()->count(); });
        for (int32_t i = 1; i <= count; ++i) {
            steps.step([&] {
                CommandBarPtr bar = s.app->commandBars()->item(i);
                if (normalBar(bar)) bar->setEnabled(true);
            });
        }
    }
    for (Btn b : {Btn::ExitQMMode, Btn::ObjectsList2, Btn::GridView, Btn::BackColor_Non, Btn::BackColor_Color,
                  Btn::SavePicture2, Btn::OnePoint, Btn::Help2, Btn::TextAutoSize, Btn::TextValignTop,
                  Btn::TextValignCenter, Btn::TextValignBottom, Btn::TextValignJustify, Btn::ObjectSelectLock}) {
        s.button(b).release();
    }
    steps.step([&] { addinBar(s)->controls()->item(4)->setEnabled(true); });
    steps.step([&] { addinBar(s)->setProtection(msoBarNoCustomize); });
    if (d.barPlace) steps.step([&] { restoreAddinBarPlace(s, *d.barPlace); });
    steps.step([&] { addinBar(s)->setEnabled(true); });
    if (d.saveFormulaBar) steps.step([&] { s.app->setDisplayFormulaBar(*d.saveFormulaBar); });
    if (d.saveFullScreen) steps.step([&] { s.app->setDisplayFullScreen(*d.saveFullScreen); });
    steps.step([&] { s.app->setScreenUpdating(true); });
    d.clearSaved();
    return steps.firstFailure();
}

// Entry failed part-way: everything this entry saved is put back, the mode buttons go up,
// and then the failure is shown over a usable host.
void undoFailedEntry(addin::AddinState& s, const HostError& e) {
    s.drawMode = false;
    putModeButtonsUp(s);
    (void)putHostBack(s);
    s.showError(e);
}

}  // namespace

void modeClick(addin::AddinState& s, const CommandBarControlPtr& ctrl, bool&) {
    if (!addin::hostReady(s)) return;
    if (must(ctrl).state() != msoButtonUp) {
        putModeButtonsUp(s);
        s.drawMode = false;
        exitDrawModeBars(s);
        return;
    }
    const int answer = s.message(text::loadResText(s.text.base() + 500),
                                 platform::mb::kYesNoCancel | platform::mb::kQuestion);
    if (answer == platform::mb::kResultCancel) return;
    if (answer == platform::mb::kResultYes) createDrawingSheet(s);
    if (auto e = addin::captureError([&] {
            s.draw.clearSaved();
            setModeButtons(s, msoButtonDown);
            s.drawMode = true;
            drawModeSetup(s);
        })) {
        undoFailedEntry(s, *e);
        return;
    }
    if (s.settings.flag(keys::OnePoint)) dialogs::showOnePointAdvice(s);
}

void exitQMModeClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    bool cancelDefault = false;
    modeClick(s, s.button(Btn::Mode).get(), cancelDefault);
}

void drawModeSetup(addin::AddinState& s) {
    s.app->setScreenUpdating(false);
    s.draw.barPlace = saveAddinBarState(s, true);
    {
        CommandBarPtr bar = addinBar(s);
        bar->controls()->item(4)->setEnabled(false);
        bar->setPosition(msoBarFloating);
        bar->setProtection(msoBarNoCustomize | msoBarNoResize | msoBarNoChangeVisible | msoBarNoChangeDock);
    }
    {
        CommandBarsPtr bars = s.app->commandBars();
        const int32_t count = bars->count();
        for (int32_t i = 1; i <= count; ++i) {
            CommandBarPtr bar = bars->item(i);
            if (normalBar(bar)) bar->setEnabled(false);
        }
    }
    addinBar(s)->setEnabled(true);

    s.draw.saveFormulaBar = s.app->displayFormulaBar();
    s.app->setDisplayFormulaBar(s.settings.number(keys::FormulaBar) != 0.0);
    s.draw.saveFullScreen = s.app->displayFullScreen();
    s.app->setDisplayFullScreen(false);

    s.draw.knownTextState = {};
    s.draw.knownTextEnabled = {};
    s.draw.knownLockState.reset();
    bars::createDrawMenuBar(s);
    bars::createDrawToolbars(s);
    applyDefaultAids(s);
    connectUpdates(s);
    s.app->setScreenUpdating(true);
}

void exitDrawModeBars(addin::AddinState& s) noexcept {
    if (auto failure = putHostBack(s)) {
        try {
            s.showError(*failure);
        } catch (...) {
        }
    }
}

}  // namespace qm::draw
