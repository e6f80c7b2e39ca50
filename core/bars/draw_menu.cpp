// The Draw-mode menu bar.
#include "core/bars/draw_menu.h"

#include "core/draw/drawing_sheet.h"
#include "core/host/constants.h"

namespace qm::bars {
namespace {

using addin::Btn;
using namespace host;

CommandBarControlPtr addPopup(const CommandBarControlsPtr& controls, const std::string& caption) {
    CommandBarControlPtr popup = controls->add({.type = msoControlPopup});
    popup->setCaption(caption);
    return popup;
}

// One of the add-in's buttons; face 0 leaves the host's default (no image).
CommandBarControlPtr addOwnButton(addin::AddinState& s, const CommandBarControlPtr& popup, Btn variable,
                                  int32_t caption, int32_t face, bool beginGroup) {
    CommandBarControlPtr b = popup->controls()->add({.type = msoControlButton});
    s.bind(variable, b);
    b->setCaption(s.text(caption));
    if (face) b->setFaceId(face);
    b->setOnAction(s.onAction);
    if (beginGroup) b->setBeginGroup(true);
    return b;
}

void addHostControls(const CommandBarControlPtr& popup, std::initializer_list<std::pair<int32_t, bool>> items) {
    for (auto [id, beginGroup] : items) {
        CommandBarControlPtr c = popup->controls()->add({.id = id});
        if (beginGroup) c->setBeginGroup(true);
    }
}

}  // namespace

void createDrawMenuBar(addin::AddinState& s) {
    CommandBarPtr bar = s.app->commandBars()->add(
        {.name = kMenuBarName, .position = msoBarTop, .menuBar = true, .temporary = true});
    CommandBarControlsPtr top = bar->controls();

    CommandBarControlPtr file = addPopup(top, s.text(40));
    addOwnButton(s, file, Btn::SavePicture2, 41, 271, false);
    addHostControls(file, {{18, true}, {23, false}, {3, true}, {748, false}, {247, true}, {109, false}, {4, false}});
    addOwnButton(s, file, Btn::ExitQMMode, 42, 3160, true);

    CommandBarControlPtr edit = addPopup(top, s.text(43));
    addHostControls(edit, {{128, false}, {129, false}, {21, true}, {19, false}, {22, false}, {755, false}});
    addOwnButton(s, edit, Btn::ObjectsList2, 44, 1709, true);

    CommandBarControlPtr view = addPopup(top, s.text(45));
    addHostControls(view, {{925, false}});
    addOwnButton(s, view, Btn::GridView, 46, 0, false);
    draw::syncGridViewButton(s);
    CommandBarControlPtr backColor = addPopup(view->controls(), s.text(47));
    addOwnButton(s, backColor, Btn::BackColor_Non, 48, 0, false);
    addOwnButton(s, backColor, Btn::BackColor_Color, 49, 0, false);

    CommandBarControlPtr help = addPopup(top, s.text(50));
    addOwnButton(s, help, Btn::OnePoint, 51, 343, false);
    addOwnButton(s, help, Btn::Help2, 52, 3278, true);

    bar->setVisible(true);
    bar->setEnabled(true);
}

}  // namespace qm::bars
