// The click routing table: which handler each button variable's Click reaches. Copies on
// the add-in toolbar and the Draw-mode menu items reach their command's main handler.
#include "core/addin/handlers.h"
#include "core/dialogs/one_point.h"
#include "core/dialogs/setting.h"
#include "core/draw/commands.h"
#include "core/draw/draw_mode.h"
#include "core/draw/drawing_sheet.h"
#include "core/draw/save_picture.h"
#include "core/draw/shape_commands.h"
#include "core/objects/object_list.h"

namespace qm::addin {

ClickFn clickHandlerOf(Btn b) {
    switch (b) {
        case Btn::Mode:
        case Btn::Mode_Copy: return &draw::modeClick;
        case Btn::ExitQMMode: return &draw::exitQMModeClick;
        case Btn::Help:
        case Btn::Help_Copy:
        case Btn::Help2: return &draw::helpClick;
        case Btn::SavePicture:
        case Btn::SavePicture_Copy:
        case Btn::SavePicture2: return &draw::savePictureClick;
        case Btn::Setting:
        case Btn::Setting_Copy: return &dialogs::settingClick;
        case Btn::ObjectsList:
        case Btn::ObjectsList_Copy:
        case Btn::ObjectsList2: return &objects::objectsListClick;
        case Btn::DeveloperSite: return &draw::developerSiteClick;
        case Btn::GridView: return &draw::gridViewClick;
        case Btn::BackColor_Non: return &draw::backColorNonClick;
        case Btn::BackColor_Color: return &draw::backColorColorClick;
        case Btn::OnePoint: return &dialogs::onePointClick;
        case Btn::TextAutoSize: return &draw::textAutoSizeClick;
        case Btn::TextValignTop: return &draw::textValignTopClick;
        case Btn::TextValignCenter: return &draw::textValignCenterClick;
        case Btn::TextValignBottom: return &draw::textValignBottomClick;
        case Btn::TextValignJustify: return &draw::textValignJustifyClick;
        case Btn::ObjectSelectLock: return &draw::objectSelectLockClick;
        case Btn::Count: break;
    }
    return nullptr;
}

}  // namespace qm::addin
