// Event-bound button variables.
#include "core/addin/buttons.h"

namespace qm::addin {

const char* buttonName(Btn b) {
    static constexpr const char* kNames[kButtonCount] = {
        "QM_BUTTON_Mode",           "QM_BUTTON_SavePicture",       "QM_BUTTON_ObjectsList",
        "QM_BUTTON_Setting",        "QM_BUTTON_Help",              "QM_BUTTON_DeveloperSite",
        "QM_BUTTON_Mode_Copy",      "QM_BUTTON_SavePicture_Copy",  "QM_BUTTON_ObjectsList_Copy",
        "QM_BUTTON_Setting_Copy",   "QM_BUTTON_Help_Copy",         "QM_BUTTON_SavePicture2",
        "QM_BUTTON_ExitQMMode",     "QM_BUTTON_ObjectsList2",      "QM_BUTTON_GridView",
        "QM_BUTTON_BackColor_Non",  "QM_BUTTON_BackColor_Color",   "QM_BUTTON_OnePoint",
        "QM_BUTTON_Help2",          "QM_BUTTON_TextAutoSize",      "QM_BUTTON_TextValignTop",
        "QM_BUTTON_TextValignCenter", "QM_BUTTON_TextValignBottom", "QM_BUTTON_TextValignJustify",
        "QM_BUTTON_ObjectSelectLock"};
    return kNames[static_cast<size_t>(b)];
}

void EventButton::assign(host::CommandBarControlPtr control, host::ClickHandler handler) {
    release();
    if (!control) return;
    // Subscribe before taking the reference, so a failing subscription leaves the
    // variable empty rather than holding a control whose clicks go nowhere.
    click_ = control->onClick(std::move(handler));
    control_ = std::move(control);
}

void EventButton::release() noexcept {
    click_.reset();
    control_.reset();
}

}  // namespace qm::addin
