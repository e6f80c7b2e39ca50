// The command bars the host has when it starts: its menu bars, the toolbars a new user
// sees, the hidden toolbars and palettes, and two context menus.
#include <vector>

#include "sim/world.h"

namespace qm::sim::detail {
namespace {

using namespace host;

struct BarTemplate {
    const char* name;
    int32_t type;
    int32_t position;
    int32_t row;
    bool visible;
    std::vector<int32_t> items;  // control numbers; a negative number begins a group
};

}  // namespace

void World::addBuiltinBars() {
    const std::vector<BarTemplate> templates = {
        {"Worksheet Menu Bar", msoBarTypeMenuBar, msoBarTop, 1, true,
         {30002, 30003, 30004, 30005, 30006, 30007, 30011, 30009, 30010}},
        {"Chart Menu Bar", msoBarTypeMenuBar, msoBarTop, 1, false,
         {30002, 30003, 30004, 30005, 30022, 30007, 30009, 30010}},
        {"Standard", msoBarTypeNormal, msoBarTop, 2, true, {18, 23, 3, -4, 109, -2, -21, 19, 22, -128, 129, -682}},
        {"Formatting", msoBarTypeNormal, msoBarTop, 3, true, {1728, 1731, -113, 114, 115, -120, 122, 121, -401}},
        {"Borders", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Chart", msoBarTypeNormal, msoBarFloating, 0, false, {682}},
        {"Reviewing", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Forms", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Visual Basic", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Web", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Control Toolbox", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Drawing", msoBarTypeNormal, msoBarBottom, 1, true,
         {30099, -182, 30094, -130, 243, 1111, 1119, 139, 1031, 1764, 1032, 2619, -1691, 1692, 401, -1988, 692, 693,
          -394, 339}},
        {"WordArt", msoBarTypeNormal, msoBarFloating, 0, false, {1031, -2094, 1606, 1058, -1063, 1061, 1059, 1060}},
        {"Picture", msoBarTypeNormal, msoBarFloating, 0, false,
         {2619, -1403, 1064, 1065, 1066, 1067, -732, 6382, -2827, 1362}},
        {"Shadow Settings", msoBarTypeNormal, msoBarFloating, 0, false, {2175, -1068, 1069, 1070, 1071, -1693}},
        {"3-D Settings", msoBarTypeNormal, msoBarFloating, 0, false,
         {1374, -1375, 1376, 1377, 1378, -1379, 1380, 1382, 1383, 1694}},
        // The palettes the colour and pattern buttons tear off.
        {"Pattern", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Font Color", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Fill Color", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Line Color", msoBarTypeNormal, msoBarFloating, 0, false, {}},
        {"Cell", msoBarTypePopup, msoBarPopup, 0, false, {21, 19, 22, 755, -855}},
        {"Shapes", msoBarTypePopup, msoBarPopup, 0, false, {21, 19, 22, -164, 165, 338, -166, 167, -962}},
    };
    int32_t offset = 0;
    for (const auto& t : templates) {
        auto bar = addBar(t.name, t.type, t.position, false, true);
        bar->visible = t.visible;
        bar->rowIndex = t.row;
        if (bar->position == msoBarFloating) {
            // Hidden toolbars float in a cascade until the user moves them.
            bar->left += offset;
            bar->top += offset;
            offset += 20;
        }
        for (const int32_t item : t.items) {
            auto ctrl = newBuiltinControl(item < 0 ? -item : item, false);
            if (!ctrl) continue;
            ctrl->beginGroup = item < 0;
            appendControl(bar, ctrl);
        }
    }
}

}  // namespace qm::sim::detail
