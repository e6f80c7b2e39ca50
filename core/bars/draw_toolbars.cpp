// The Draw-mode toolbars.
#include "core/bars/draw_toolbars.h"

#include <cmath>
#include <cstdlib>

#include "core/addin/errors.h"
#include "core/bars/draw_menu.h"
#include "core/host/constants.h"
#include "core/picture/clipboard_snapshot.h"
#include "core/resources/artwork.h"
#include "core/text/number.h"
#include "core/text/strings.h"

namespace qm::bars {
namespace {

using addin::Btn;
using namespace host;

struct OwnButton {
    const char* tag;
    Btn variable;
    int32_t caption;
    int face;  // bitmap resource
};

constexpr OwnButton kOwnButtons[] = {
    {"TEXT1", Btn::TextAutoSize, 71, 10},      {"TEXT2", Btn::TextValignTop, 72, 11},
    {"TEXT3", Btn::TextValignCenter, 73, 12},  {"TEXT4", Btn::TextValignBottom, 74, 13},
    {"TEXT5", Btn::TextValignJustify, 75, 14}, {"POSITION1", Btn::ObjectSelectLock, 76, 15},
};

const OwnButton* ownButton(const std::string& tag) {
    for (const OwnButton& b : kOwnButtons) {
        if (tag == b.tag) return &b;
    }
    return nullptr;
}

constexpr const char* kShapesBar = "QM_SHAPES";

// The trap of the toolbar procedure: while active, a host error ends the bar with the
// error message; while off, it passes to the caller.
struct TrapExit {
    HostError error;
};

class Trap {
public:
    void on() { active_ = true; }
    void off() { active_ = false; }
    template <class F>
    void operator()(F&& step) {
        if (!active_) {
            step();
            return;
        }
        try {
            step();
        } catch (const HostError& e) {
            throw TrapExit{e};
        }
    }

private:
    bool active_ = false;
};

void addOwnButton(addin::AddinState& s, const CommandBarPtr& bar, const OwnButton& own, bool beginGroup) {
    CommandBarControlPtr b = bar->controls()->add({.type = msoControlButton});
    s.bind(own.variable, b);
    b->setCaption(s.text(own.caption));
    s.os.clipboard.clear();
    s.os.clipboard.setPicture({platform::cf::kBitmap, resources::bitmap(own.face)}, platform::cf::kBitmap);
    b->pasteFace();
    s.os.clipboard.clear();
    b->setStyle(msoButtonIcon);
    b->setOnAction(s.onAction);
    if (beginGroup) b->setBeginGroup(true);
}

void addHostControl(addin::AddinState& s, const CommandBarPtr& bar, const ListEntry& entry, Trap& trap) {
    CommandBarControlPtr c;
    addin::ignoreErrors([&] { c = bar->controls()->add({.id = entry.id}); });
    trap.on();
    if (c) {
        trap([&] {
            if (entry.beginGroup) c->setBeginGroup(true);
            if (entry.id == 2179) {
                c->setStyle(msoButtonCaption);
                c->setCaption(s.text(70));
            } else if (entry.id == 2094) {
                c->setStyle(msoButtonCaption);
            } else if (c->type() == msoControlButton) {
                c->setStyle(msoButtonIcon);
            }
            if (entry.id == 1728) c->setWidth(200);
        });
        c.reset();
    }
    trap.off();
}

void placeShapesPalette(addin::AddinState& s, const CommandBarPtr& bar) {
    CommandBarControlsPtr controls = bar->controls();
    controls->item(controls->count())->setWidth(240);
    bar->setWidth(1);
    auto rect = s.os.windows.findWindowRect("XLMAIN", s.app->caption());
    if (rect && rect->right != 0) {
        bar->setLeft(rect->right - bar->width() - 30);
        bar->setTop(rect->top + 130);
    } else {
        CommandBarPtr menu = s.app->commandBars()->item(kMenuBarName);
        bar->setLeft(menu->left() + menu->width() - bar->width() - 30);
        bar->setTop(text::roundToLong(s.app->top() + 130));
    }
}

}  // namespace

std::vector<ListEntry> parseControlList(const std::string& list) {
    std::vector<ListEntry> out;
    for (const std::string& item : text::split(list, ',')) {
        const double v = text::val(item);
        ListEntry e;
        e.beginGroup = v < 0;
        if (std::fabs(v) == 1.0) {
            e.own = true;
            const size_t colon = item.find(':');
            e.tag = colon == std::string::npos ? std::string() : text::upperAscii(item.substr(colon + 1));
        } else {
            e.id = static_cast<int32_t>(std::fabs(v));
        }
        out.push_back(std::move(e));
    }
    return out;
}

const std::vector<ToolbarDef>& toolbarCatalogue() {
    static const std::vector<ToolbarDef> kCatalogue = {
        {kShapesBar, 62, msoBarFloating, 0,
         "-130,243,1639,1041,200,409,"
         "-1042,2640,2641,1043,2642,2643,1044,2644,2645,"
         "-1172,1173,1174,1175,1219,1176,1177,1178,1220,1221,1222,1223,1224,1225,1226,1227,1228,1229,"
         "1230,1110,"
         "-1111,1112,1113,1114,1115,1116,1117,1118,1119,1120,1121,1124,1126,1122,1130,1129,1131,1132,1133,"
         "1134,1141,1140,2634,2635,1139,2636,2637,1123,1135,1136,1137,1138,"
         "-1190,1191,1192,1193,1194,1195,1196,1197,1198,1199,1200,1201,1202,1203,1204,1205,1206,1207,1208,"
         "1209,1210,1211,1213,1218,1214,1215,1216,1217,"
         "-1142,1143,1144,1145,1146,1147,1148,1149,1152,1153,1150,1151,1160,1161,1162,1163,1154,1155,1156,"
         "1157,1164,1165,1166,1167,1168,1169,1170,1158,"
         "-1188,1189,2638,1183,1184,1185,1186,1187,1180,1179,1182,1181,1127,1128,1125,2639,"
         "-30080"},
        {"QM_TEXT", 60, msoBarTop, 1,
         "-139,318,-1728,1731,-113,114,115,-1:TEXT1,-120,122,121,2792,-1:TEXT2,1:TEXT3,1:TEXT4,1:TEXT5,-401"},
        {"QM_OTHER", 64, msoBarTop, 2, "-682,702,1764,1032"},
        {"QM_IMAGES", 63, msoBarTop, 2, "-2619,-1403,1064,1065,1066,1067,-732,6382,2827,1362"},
        {"QM_WORDART", 61, msoBarTop, 2, "-1031,-2094,-1606,1058,-1063,1061,1059,1060"},
        {"QM_STYLE", 65, msoBarLeft, 0, "-962,-692,693,694,-1691,1988,1692,-2179"},
        {"QM_POSITION", 66, msoBarBottom, 1,
         "-182,1:POSITION1,-549,1402,-1035,1036,1037,1038,-664,668,665,666,669,667,408,465,-688,199,198,196,"
         "197,-166,167,170,171,-164,165,338,-206,-1033"},
        {"QM_3D", 68, msoBarBottom, 2, "-339,-1374,-1375,1376,1377,1378,-1379,1380,1382,1383,1694"},
        {"QM_SHADOW", 67, msoBarBottom, 2, "-394,-2175,-1068,1069,1070,1071,-1693"},
    };
    return kCatalogue;
}

const std::vector<std::string>& drawModeBarNames() {
    static const std::vector<std::string> kNames = {kMenuBarName, "QM_SHAPES", "QM_TEXT",   "QM_WORDART",
                                                    "QM_IMAGES",  "QM_OTHER",  "QM_SHADOW", "QM_3D",
                                                    "QM_STYLE",   "QM_POSITION"};
    return kNames;
}

void createDrawToolbar(addin::AddinState& s, const std::string& caption, const std::string& name,
                       const std::string& list, int32_t position, int32_t row) {
    addin::ignoreErrors([&] { s.app->commandBars()->item(name)->remove(); });
    Trap trap;
    trap.on();
    try {
        CommandBarPtr bar;
        trap([&] {
            bar = s.app->commandBars()->add({.name = name, .position = position, .menuBar = false, .temporary = true});
        });
        if (!caption.empty() && s.settings.number(settings::keys::ShowBarname) == 1.0) {
            trap([&] {
                CommandBarControlPtr label = bar->controls()->add({.type = msoControlButton, .temporary = true});
                label->setCaption("< " + caption + " >");
                label->setEnabled(false);
                label->setStyle(msoButtonCaption);
                if (name == kShapesBar) label->setWidth(240);
            });
        }
        for (const ListEntry& entry : parseControlList(list)) {
            if (!entry.own) {
                addHostControl(s, bar, entry, trap);
            } else if (const OwnButton* own = ownButton(entry.tag)) {
                trap([&] { addOwnButton(s, bar, *own, entry.beginGroup); });
            } else {
                s.message("Err", platform::mb::kOkOnly);
            }
        }
        trap([&] {
            if (row != 0 && position != msoBarFloating) bar->setRowIndex(row);
            bar->setProtection(name == kShapesBar ? msoBarNoCustomize | msoBarNoChangeDock : msoBarNoCustomize);
            if (name == kShapesBar) placeShapesPalette(s, bar);
            bar->setEnabled(true);
            bar->setVisible(true);
        });
    } catch (const TrapExit& t) {
        s.showError(t.error);
    }
}

void createDrawToolbars(addin::AddinState& s) {
    int32_t top = 0;
    int32_t bottom = 0;
    CommandBarsPtr bars = s.app->commandBars();
    const int32_t count = bars->count();
    for (int32_t i = 1; i <= count; ++i) {
        CommandBarPtr bar = bars->item(i);
        const int32_t position = bar->position();
        if (position == msoBarTop) top = std::max(top, bar->rowIndex());
        else if (position == msoBarBottom) bottom = std::max(bottom, bar->rowIndex());
    }
    // The button faces travel through the clipboard; the user's copy comes back afterwards.
    const picture::ClipboardGuard clipboardGuard(s.os.clipboard);
    for (const ToolbarDef& def : toolbarCatalogue()) {
        int32_t row = 0;
        if (def.rowOffset) row = (def.position == msoBarBottom ? bottom : top) + def.rowOffset;
        createDrawToolbar(s, s.text(def.caption), def.name, def.list, def.position, row);
    }
    showChosenBars(s);
}

void showChosenBars(addin::AddinState& s) {
    // A host without one of the palettes skips it, as it skips a missing chosen bar.
    for (const char* palette : {"Pattern", "Font Color", "Fill Color", "Line Color"}) {
        addin::ignoreErrors([&] { s.app->commandBars()->item(palette)->setEnabled(true); });
    }
    const std::vector<std::string> names = text::split(s.settings.get(settings::keys::ShowBarArray), ',');
    s.draw.shownBars.clear();
    for (const std::string& name : names) {
        if (name.empty()) continue;
        CommandBarPtr bar;
        addin::ignoreErrors([&] { bar = s.app->commandBars()->item(name); });
        if (!bar) continue;
        // Disabled by entry, a bar reads as hidden: one that could not be enabled would be
        // recorded hidden and put back hidden, so it is left alone like an unreadable one.
        if (!addin::ignoreErrors([&] { bar->setEnabled(true); })) continue;
        // A bar whose place could not be read is not moved: it could not be put back.
        auto was = addin::tryGet([&] { return addin::ShownBar{name, bar->position(), bar->rowIndex(), bar->visible()}; });
        if (!was) continue;
        s.draw.shownBars.push_back(std::move(*was));
        addin::ignoreErrors([&] { bar->setPosition(msoBarFloating); });
        addin::ignoreErrors([&] { bar->setVisible(true); });
    }
}

}  // namespace qm::bars
