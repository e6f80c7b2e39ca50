// Connection and disconnection of the add-in.
#include "core/addin/connect.h"

#include "core/addin/errors.h"
#include "core/bars/addin_menu.h"
#include "core/draw/draw_mode.h"
#include "core/draw/drawing_sheet.h"
#include "core/draw/toolbar_memory.h"
#include "core/text/number.h"

namespace qm::addin {

Connect::Connect(platform::Services& services, ui::Toolkit& toolkit, Config config)
    : config_(std::move(config)), state_(services, toolkit, config_) {}

Connect::~Connect() { releaseAll(); }

void Connect::onConnection(const host::ApplicationPtr& application, host::AddIn& addInInst) {
    if (text::val(application->version()) >= 12.0) {
        state_.message(kRefusalText, platform::mb::kCritical);
        addInInst.setConnect(false);
        return;
    }
    bars::AddinMenuBuild built;
    try {
        state_.onAction = "!<" + addInInst.progId() + ">";
        state_.text = text::Text(text::languageBaseFor(text::getOSLanguage(state_.os.locale)));
        state_.addinBarName = text::loadResText(state_.text.base());
        state_.app = application;
        state_.appSheetChange = application->onSheetChange(
            [this](const host::SheetPtr&, const host::RangePtr&) noexcept {
                try {
                    draw::syncGridViewButton(state_);
                } catch (...) {
                }
            });
        bars::createAddinMenu(state_, built);
        draw::restoreAddinBarState(state_);
    } catch (...) {
        // The host will not disconnect an add-in whose connection failed: take down what
        // was built and let go of every host reference, or the half-built menu would stay
        // and the host could not shut down cleanly.
        bars::removeAfterFailedConnection(built);
        built = {};
        releaseAll();
        throw;
    }
    bars::removeOldSiteItem(built);
}

void Connect::onDisconnection() noexcept {
    if (!state_.app) return;
    // Each step on its own: whatever fails, the host gets its bars back and loses ours.
    if (state_.drawMode) {
        draw::exitDrawModeBars(state_);
        state_.drawMode = false;
    }
    (void)addin::captureError([&] { (void)draw::saveAddinBarState(state_, false); });
    bars::deleteAddinMenu(state_);
    try {
        state_.forms.unloadAll();
    } catch (...) {
    }
    releaseAll();
}

void Connect::releaseAll() noexcept {
    // The order of release: the add-in menu's buttons, their copies, then the rest.
    static constexpr Btn kOrder[] = {Btn::Mode,        Btn::SavePicture,      Btn::ObjectsList,
                                     Btn::Setting,     Btn::Help,             Btn::Mode_Copy,
                                     Btn::SavePicture_Copy, Btn::ObjectsList_Copy, Btn::Setting_Copy,
                                     Btn::Help_Copy};
    for (Btn b : kOrder) state_.button(b).release();
    for (EventButton& b : state_.buttons) b.release();
    state_.draw = DrawState{};
    state_.appSheetChange.reset();
    state_.app.reset();
}

}  // namespace qm::addin
