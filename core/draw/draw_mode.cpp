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

// Every toolbar and menu bar (not the pop-up bars) enabled or disabled.
void enableNormalBars(addin::AddinState& s, bool enabled) {
    CommandBarsPtr bars = s.app->commandBars();
    const int32_t count = bars->count();
    for (int32_t i = 1; i <= count; ++i) {
        CommandBarPtr bar = bars->item(i);
        const int32_t type = bar->type();
        if (type == msoBarTypeNormal || type == msoBarTypeMenuBar) bar->setEnabled(enabled);
    }
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
void applyDefaultAids(addin::AddinState& s) {
    CommandBarPtr position;
    addin::ignoreErrors([&] { position = s.app->commandBars()->item("QM_POSITION"); });
    CommandBarControlPtr controls[3];
    for (int i = 0; i < 3; ++i) {
        s.draw.*kAids[i].saved = std::nullopt;
        addin::ignoreErrors([&] {
            controls[i] = must(position).findControl({.id = kAids[i].id});
            s.draw.*kAids[i].saved = must(controls[i]).state();
        });
    }
    for (int i = 0; i < 3; ++i) {
        addin::ignoreErrors([&] {
            if (s.settings.number(*kAids[i].setting) == 1.0 && must(controls[i]).state() == msoButtonUp) {
                controls[i]->execute();
            }
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

// Entry failed part-way: the host must never be left with its bars disabled.
void undoFailedEntry(addin::AddinState& s, const HostError& e) {
    s.showError(e);
    s.drawMode = false;
    addin::ignoreErrors([&] { must(s.button(Btn::Mode).get()).setState(msoButtonUp); });
    addin::ignoreErrors([&] { must(s.button(Btn::Mode_Copy).get()).setState(msoButtonUp); });
    exitDrawModeBars(s);
    addin::ignoreErrors([&] { s.app->setScreenUpdating(true); });
}

}  // namespace

void modeClick(addin::AddinState& s, const CommandBarControlPtr& ctrl, bool&) {
    if (!addin::hostReady(s)) return;
    if (must(ctrl).state() != msoButtonUp) {
        setModeButtons(s, msoButtonUp);
        s.drawMode = false;
        exitDrawModeBars(s);
        return;
    }
    const int answer = s.message(text::loadResText(s.text.base() + 500),
                                 platform::mb::kYesNoCancel | platform::mb::kQuestion);
    if (answer == platform::mb::kResultCancel) return;
    if (answer == platform::mb::kResultYes) createDrawingSheet(s);
    setModeButtons(s, msoButtonDown);
    s.drawMode = true;
    if (auto e = addin::captureError([&] { drawModeSetup(s); })) {
        undoFailedEntry(s, *e);
        return;
    }
    if (s.settings.number(keys::OnePoint) == 1.0) dialogs::showOnePointAdvice(s);
}

void exitQMModeClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    bool cancelDefault = false;
    modeClick(s, s.button(Btn::Mode).get(), cancelDefault);
}

void drawModeSetup(addin::AddinState& s) {
    s.app->setScreenUpdating(false);
    saveAddinBarState(s, true);
    {
        CommandBarPtr bar = addinBar(s);
        bar->controls()->item(4)->setEnabled(false);
        bar->setPosition(msoBarFloating);
        bar->setProtection(msoBarNoCustomize | msoBarNoResize | msoBarNoChangeVisible | msoBarNoChangeDock);
    }
    enableNormalBars(s, false);
    addinBar(s)->setEnabled(true);

    s.draw.saveFormulaBar = s.app->displayFormulaBar();
    s.draw.displaySaved = true;
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
    try {
        auto failure = addin::captureError([&] {
            s.app->setScreenUpdating(false);
            s.draw.appBarUpdate.reset();
            s.draw.btnBold.reset();
            s.draw.btnSelectObjects.reset();
            s.draw.appBar.reset();

            for (const Aid& aid : kAids) {
                const std::optional<int32_t> saved = s.draw.*aid.saved;
                if (!saved) continue;
                addin::ignoreErrors([&] {
                    CommandBarControlPtr c = s.app->commandBars()->findControl({.id = aid.id});
                    if (c && c->state() != *saved) c->execute();
                });
            }
            if (s.draw.haveShownBars) {
                for (const addin::ShownBar& rec : s.draw.shownBars) {
                    if (rec.name.empty()) continue;
                    addin::ignoreErrors([&] { s.app->commandBars()->item(rec.name)->setPosition(rec.position); });
                    addin::ignoreErrors([&] { s.app->commandBars()->item(rec.name)->setVisible(rec.visible); });
                }
                s.draw.shownBars.clear();
                s.draw.haveShownBars = false;
            }
            for (const std::string& name : bars::drawModeBarNames()) {
                addin::ignoreErrors([&] { s.app->commandBars()->item(name)->remove(); });
            }
            {
                CommandBarPtr bar = addinBar(s);
                bar->setVisible(false);
                bar->setEnabled(false);
            }
            enableNormalBars(s, true);
            for (Btn b : {Btn::ExitQMMode, Btn::ObjectsList2, Btn::GridView, Btn::BackColor_Non, Btn::BackColor_Color,
                          Btn::SavePicture2, Btn::OnePoint, Btn::Help2, Btn::TextAutoSize, Btn::TextValignTop,
                          Btn::TextValignCenter, Btn::TextValignBottom, Btn::TextValignJustify,
                          Btn::ObjectSelectLock}) {
                s.button(b).release();
            }
            {
                CommandBarPtr bar = addinBar(s);
                bar->controls()->item(4)->setEnabled(true);
                bar->setProtection(msoBarNoCustomize);
            }
            restoreAddinBarState(s);
            addinBar(s)->setEnabled(true);
            if (s.draw.displaySaved) {
                s.app->setDisplayFormulaBar(s.draw.saveFormulaBar);
                s.app->setDisplayFullScreen(s.draw.saveFullScreen);
                s.draw.displaySaved = false;
            }
            s.app->setScreenUpdating(true);
        });
        if (failure) s.showError(*failure);
    } catch (...) {
    }
}

}  // namespace qm::draw
