// The built-in control catalogue. Captions are the English ones of the host's commands;
// every button shows the face of its own number.
#include "sim/catalogue.h"

#include <algorithm>
#include <array>

#include "core/host/constants.h"

namespace qm::sim {
namespace {

using host::msoControlButton;
using host::msoControlComboBox;
using host::msoControlPopup;
using host::msoControlSplitButtonPopup;

constexpr int32_t kButton = msoControlButton;
constexpr int32_t kPopup = msoControlPopup;
constexpr int32_t kSplit = msoControlSplitButtonPopup;
constexpr int32_t kCombo = msoControlComboBox;

// Menu contents; a negative number begins a group.
constexpr std::array<int32_t, 9> kFileMenu{18, 23, 106, -3, 748, -247, 109, 4, -752};
constexpr std::array<int32_t, 6> kEditMenu{128, 129, -21, 19, 22, 755};
constexpr std::array<int32_t, 2> kViewMenu{925, -178};
constexpr std::array<int32_t, 3> kInsertMenu{852, -682, 2619};
constexpr std::array<int32_t, 2> kFormatMenu{855, 962};
constexpr std::array<int32_t, 2> kToolsMenu{2, -522};
constexpr std::array<int32_t, 1> kDataMenu{928};
constexpr std::array<int32_t, 2> kWindowMenu{303, 298};
constexpr std::array<int32_t, 2> kHelpMenu{984, -927};
constexpr std::array<int32_t, 1> kChartMenu{682};
constexpr std::array<int32_t, 2> kSnapMenu{549, 1402};
constexpr std::array<int32_t, 4> kOrderMenu{166, 167, 170, 171};
constexpr std::array<int32_t, 4> kNudgeMenu{1035, 1036, 1037, 1038};
constexpr std::array<int32_t, 6> kAlignMenu{664, 668, 665, -666, 669, 667};
constexpr std::array<int32_t, 5> kRotateMenu{688, -199, 198, -196, 197};
constexpr std::array<int32_t, 14> kDrawMenu{164, 165, 338, -30095, -30092, 30096, 30097, 30098,
                                            -1033, -206, -2179, -408, 465, 694};
constexpr std::array<int32_t, 6> kLinesMenu{130, 243, 1639, 1041, 200, 409};
constexpr std::array<int32_t, 9> kConnectorsMenu{1042, 2640, 2641, 1043, 2642, 2643, 1044, 2644, 2645};
constexpr std::array<int32_t, 32> kBasicShapesMenu{1111, 1112, 1113, 1114, 1115, 1116, 1117, 1118, 1119, 1120, 1121,
                                                   1124, 1126, 1122, 1130, 1129, 1131, 1132, 1133, 1134, 1141, 1140,
                                                   2634, 2635, 1139, 2636, 2637, 1123, 1135, 1136, 1137, 1138};
constexpr std::array<int32_t, 28> kBlockArrowsMenu{1190, 1191, 1192, 1193, 1194, 1195, 1196, 1197, 1198, 1199,
                                                   1200, 1201, 1202, 1203, 1204, 1205, 1206, 1207, 1208, 1209,
                                                   1210, 1211, 1213, 1218, 1214, 1215, 1216, 1217};
constexpr std::array<int32_t, 28> kFlowchartMenu{1142, 1143, 1144, 1145, 1146, 1147, 1148, 1149, 1152, 1153,
                                                 1150, 1151, 1160, 1161, 1162, 1163, 1154, 1155, 1156, 1157,
                                                 1164, 1165, 1166, 1167, 1168, 1169, 1170, 1158};
constexpr std::array<int32_t, 16> kStarsMenu{1188, 1189, 2638, 1183, 1184, 1185, 1186, 1187,
                                             1180, 1179, 1182, 1181, 1127, 1128, 1125, 2639};
constexpr std::array<int32_t, 20> kCalloutsMenu{1172, 1173, 1174, 1175, 1219, 1176, 1177, 1178, 1220, 1221,
                                                1222, 1223, 1224, 1225, 1226, 1227, 1228, 1229, 1230, 1110};
constexpr std::array<int32_t, 8> kAutoShapesMenu{30101, 30102, 30103, 30104, 30105, 30106, 30107, -30080};

const BuiltinControl kCatalogue[] = {
    // Menus of the menu bars and of the Drawing toolbar.
    {30002, kPopup, "&File", 0, kFileMenu},
    {30003, kPopup, "&Edit", 0, kEditMenu},
    {30004, kPopup, "&View", 0, kViewMenu},
    {30005, kPopup, "&Insert", 0, kInsertMenu},
    {30006, kPopup, "F&ormat", 0, kFormatMenu},
    {30007, kPopup, "&Tools", 0, kToolsMenu},
    {30011, kPopup, "&Data", 0, kDataMenu},
    {30022, kPopup, "&Chart", 0, kChartMenu},
    {30009, kPopup, "&Window", 0, kWindowMenu},
    {30010, kPopup, "&Help", 0, kHelpMenu},
    {30099, kPopup, "D&raw", 0, kDrawMenu},
    {30092, kPopup, "&Snap", 0, kSnapMenu},
    {30095, kPopup, "&Order", 0, kOrderMenu},
    {30096, kPopup, "&Nudge", 0, kNudgeMenu},
    {30097, kPopup, "&Align or Distribute", 0, kAlignMenu},
    {30098, kPopup, "Rotate or Fli&p", 0, kRotateMenu},
    {30094, kPopup, "A&utoShapes", 0, kAutoShapesMenu},
    {30101, kPopup, "&Lines", 0, kLinesMenu},
    {30102, kPopup, "Co&nnectors", 0, kConnectorsMenu},
    {30103, kPopup, "&Basic Shapes", 0, kBasicShapesMenu},
    {30104, kPopup, "Bloc&k Arrows", 0, kBlockArrowsMenu},
    {30105, kPopup, "&Flowchart", 0, kFlowchartMenu},
    {30106, kPopup, "&Stars and Banners", 0, kStarsMenu},
    {30107, kPopup, "&Callouts", 0, kCalloutsMenu},
    {30080, kPopup, "&More AutoShapes", 0, {}},

    // Files, editing, views.
    {2, kButton, "&Spelling...", 0, {}},
    {3, kButton, "&Save", 0, {}},
    {4, kButton, "&Print...", 0, {}},
    {18, kButton, "&New...", 0, {}},
    {19, kButton, "&Copy", 0, {}},
    {21, kButton, "Cu&t", 0, {}},
    {22, kButton, "&Paste", 0, {}},
    {23, kButton, "&Open...", 0, {}},
    {106, kButton, "&Close", 0, {}},
    {109, kButton, "Print Pre&view", 0, {}},
    {128, kButton, "&Undo", 0, {}},
    {129, kButton, "&Redo", 0, {}},
    {178, kButton, "F&ull Screen", 0, {}},
    {247, kButton, "Page Set&up...", 0, {}},
    {298, kButton, "&Arrange...", 0, {}},
    {303, kButton, "&New Window", 0, {}},
    {522, kButton, "&Options...", 0, {}},
    {748, kButton, "Save &As...", 0, {}},
    {752, kButton, "E&xit", 0, {}},
    {755, kButton, "Paste &Special...", 0, {}},
    {852, kButton, "&Worksheet", 0, {}},
    {855, kButton, "C&ells...", 0, {}},
    {925, kButton, "&Normal", 0, {}},
    {927, kButton, "&About Microsoft Excel", 0, {}},
    {928, kButton, "&Sort...", 0, {}},
    {984, kButton, "Microsoft Excel &Help", 0, {}},

    // Text formatting.
    {113, kButton, "&Bold", 0, {}},
    {114, kButton, "&Italic", 0, {}},
    {115, kButton, "&Underline", 0, {}},
    {120, kButton, "Align &Left", 0, {}},
    {121, kButton, "Align &Right", 0, {}},
    {122, kButton, "&Center", 0, {}},
    {139, kButton, "Te&xt Box", 0, {}},
    {318, kButton, "&Vertical Text Box", 0, {}},
    {401, kSplit, "&Font Color", 0, {}},
    {1728, kCombo, "&Font:", 136, {}},
    {1731, kCombo, "Font Si&ze:", 42, {}},
    {2792, kButton, "&Distributed", 0, {}},

    // Arranging drawing objects.
    {164, kButton, "&Group", 0, {}},
    {165, kButton, "&Ungroup", 0, {}},
    {166, kButton, "Bring to Fron&t", 0, {}},
    {167, kButton, "Send to Bac&k", 0, {}},
    {170, kButton, "Bring &Forward", 0, {}},
    {171, kButton, "Send &Backward", 0, {}},
    {182, kButton, "Select &Objects", 0, {}},
    {196, kButton, "Flip &Horizontal", 0, {}},
    {197, kButton, "Flip &Vertical", 0, {}},
    {198, kButton, "Rotate &Left", 0, {}},
    {199, kButton, "Rotate &Right", 0, {}},
    {206, kButton, "C&hange AutoShape", 0, {}},
    {338, kButton, "Regr&oup", 0, {}},
    {408, kButton, "Distribute &Horizontally", 0, {}},
    {465, kButton, "Distribute &Vertically", 0, {}},
    {549, kButton, "Snap to &Grid", 0, {}},
    {664, kButton, "Align &Left", 0, {}},
    {665, kButton, "Align &Right", 0, {}},
    {666, kButton, "Align &Top", 0, {}},
    {667, kButton, "Align &Bottom", 0, {}},
    {668, kButton, "Align &Center", 0, {}},
    {669, kButton, "Align &Middle", 0, {}},
    {688, kButton, "Fr&ee Rotate", 0, {}},
    {1033, kButton, "&Edit Points", 0, {}},
    {1035, kButton, "Nudge &Up", 0, {}},
    {1036, kButton, "Nudge &Down", 0, {}},
    {1037, kButton, "Nudge &Left", 0, {}},
    {1038, kButton, "Nudge &Right", 0, {}},
    {1402, kButton, "Snap to &Shape", 0, {}},
    {2179, kButton, "Set AutoShape &Defaults", 0, {}},

    // Line, fill, shadow and 3-D formats.
    {339, kButton, "3-D Style", 0, {}},
    {394, kButton, "Shadow Style", 0, {}},
    {692, kSplit, "&Dash Style", 0, {}},
    {693, kSplit, "&Arrow Style", 0, {}},
    {694, kButton, "Line &Weight", 0, {}},
    {962, kButton, "F&ormat AutoShape...", 0, {}},
    {1068, kButton, "Nudge Shadow &Up", 0, {}},
    {1069, kButton, "Nudge Shadow &Down", 0, {}},
    {1070, kButton, "Nudge Shadow &Left", 0, {}},
    {1071, kButton, "Nudge Shadow &Right", 0, {}},
    {1374, kButton, "3-D On/Off", 0, {}},
    {1375, kButton, "Tilt Down", 0, {}},
    {1376, kButton, "Tilt Up", 0, {}},
    {1377, kButton, "Tilt Left", 0, {}},
    {1378, kButton, "Tilt Right", 0, {}},
    {1379, kButton, "&Depth", 0, {}},
    {1380, kButton, "D&irection", 0, {}},
    {1382, kButton, "&Lighting", 0, {}},
    {1383, kButton, "&Surface", 0, {}},
    {1691, kSplit, "&Fill Color", 0, {}},
    {1692, kSplit, "&Line Color", 0, {}},
    {1693, kSplit, "Shadow &Color", 0, {}},
    {1694, kSplit, "3-D &Color", 0, {}},
    {1988, kSplit, "Line St&yle", 0, {}},
    {2175, kButton, "Shadow On/Off", 0, {}},

    // Inserted objects, pictures and WordArt.
    {682, kButton, "C&hart...", 0, {}},
    {702, kButton, "&Organization Chart", 0, {}},
    {732, kButton, "&Crop", 0, {}},
    {1031, kButton, "Insert &WordArt", 0, {}},
    {1032, kButton, "Clip &Art...", 0, {}},
    {1058, kButton, "Format Word&Art...", 0, {}},
    {1059, kButton, "WordArt &Vertical Text", 0, {}},
    {1060, kButton, "WordArt &Alignment", 0, {}},
    {1061, kButton, "WordArt &Same Letter Heights", 0, {}},
    {1063, kButton, "WordArt S&hape", 0, {}},
    {1064, kButton, "More &Contrast", 0, {}},
    {1065, kButton, "Less C&ontrast", 0, {}},
    {1066, kButton, "More &Brightness", 0, {}},
    {1067, kButton, "Less B&rightness", 0, {}},
    {1362, kButton, "Set &Transparent Color", 0, {}},
    {1403, kButton, "&Color", 0, {}},
    {1606, kButton, "WordArt &Gallery...", 0, {}},
    {1764, kButton, "Insert &Diagram...", 0, {}},
    {2094, kButton, "Edit Te&xt...", 0, {}},
    {2619, kButton, "Insert &Picture", 0, {}},
    {2827, kButton, "Co&mpress Pictures...", 0, {}},
    {6382, kButton, "Rotate Left 90 Degrees", 0, {}},

    // Drawing tools: lines, connectors and the AutoShapes, in the order of their menus.
    {130, kButton, "Line", 0, {}},
    {200, kButton, "Freeform", 0, {}},
    {243, kButton, "Arrow", 0, {}},
    {409, kButton, "Scribble", 0, {}},
    {1041, kButton, "Curve", 0, {}},
    {1042, kButton, "Straight Connector", 0, {}},
    {1043, kButton, "Elbow Connector", 0, {}},
    {1044, kButton, "Curved Connector", 0, {}},
    {1110, kButton, "Line Callout 4 (Border and Accent Bar)", 0, {}},
    {1111, kButton, "Rectangle", 0, {}},
    {1112, kButton, "Parallelogram", 0, {}},
    {1113, kButton, "Trapezoid", 0, {}},
    {1114, kButton, "Diamond", 0, {}},
    {1115, kButton, "Rounded Rectangle", 0, {}},
    {1116, kButton, "Octagon", 0, {}},
    {1117, kButton, "Isosceles Triangle", 0, {}},
    {1118, kButton, "Right Triangle", 0, {}},
    {1119, kButton, "Oval", 0, {}},
    {1120, kButton, "Hexagon", 0, {}},
    {1121, kButton, "Cross", 0, {}},
    {1122, kButton, "Cube", 0, {}},
    {1123, kButton, "Plaque", 0, {}},
    {1124, kButton, "Regular Pentagon", 0, {}},
    {1125, kButton, "Wave", 0, {}},
    {1126, kButton, "Can", 0, {}},
    {1127, kButton, "Vertical Scroll", 0, {}},
    {1128, kButton, "Horizontal Scroll", 0, {}},
    {1129, kButton, "Folded Corner", 0, {}},
    {1130, kButton, "Bevel", 0, {}},
    {1131, kButton, "Smiley Face", 0, {}},
    {1132, kButton, "Donut", 0, {}},
    {1133, kButton, "No Symbol", 0, {}},
    {1134, kButton, "Block Arc", 0, {}},
    {1135, kButton, "Left Bracket", 0, {}},
    {1136, kButton, "Right Bracket", 0, {}},
    {1137, kButton, "Left Brace", 0, {}},
    {1138, kButton, "Right Brace", 0, {}},
    {1139, kButton, "Arc", 0, {}},
    {1140, kButton, "Lightning Bolt", 0, {}},
    {1141, kButton, "Heart", 0, {}},
    {1142, kButton, "Flowchart: Process", 0, {}},
    {1143, kButton, "Flowchart: Alternate Process", 0, {}},
    {1144, kButton, "Flowchart: Decision", 0, {}},
    {1145, kButton, "Flowchart: Data", 0, {}},
    {1146, kButton, "Flowchart: Predefined Process", 0, {}},
    {1147, kButton, "Flowchart: Internal Storage", 0, {}},
    {1148, kButton, "Flowchart: Document", 0, {}},
    {1149, kButton, "Flowchart: Multidocument", 0, {}},
    {1150, kButton, "Flowchart: Manual Input", 0, {}},
    {1151, kButton, "Flowchart: Manual Operation", 0, {}},
    {1152, kButton, "Flowchart: Terminator", 0, {}},
    {1153, kButton, "Flowchart: Preparation", 0, {}},
    {1154, kButton, "Flowchart: Summing Junction", 0, {}},
    {1155, kButton, "Flowchart: Or", 0, {}},
    {1156, kButton, "Flowchart: Collate", 0, {}},
    {1157, kButton, "Flowchart: Sort", 0, {}},
    {1158, kButton, "Flowchart: Display", 0, {}},
    {1160, kButton, "Flowchart: Connector", 0, {}},
    {1161, kButton, "Flowchart: Off-page Connector", 0, {}},
    {1162, kButton, "Flowchart: Card", 0, {}},
    {1163, kButton, "Flowchart: Punched Tape", 0, {}},
    {1164, kButton, "Flowchart: Extract", 0, {}},
    {1165, kButton, "Flowchart: Merge", 0, {}},
    {1166, kButton, "Flowchart: Stored Data", 0, {}},
    {1167, kButton, "Flowchart: Delay", 0, {}},
    {1168, kButton, "Flowchart: Sequential Access Storage", 0, {}},
    {1169, kButton, "Flowchart: Magnetic Disk", 0, {}},
    {1170, kButton, "Flowchart: Direct Access Storage", 0, {}},
    {1171, kButton, "AutoShape", 0, {}},
    {1172, kButton, "Rectangular Callout", 0, {}},
    {1173, kButton, "Rounded Rectangular Callout", 0, {}},
    {1174, kButton, "Oval Callout", 0, {}},
    {1175, kButton, "Cloud Callout", 0, {}},
    {1176, kButton, "Line Callout 2", 0, {}},
    {1177, kButton, "Line Callout 3", 0, {}},
    {1178, kButton, "Line Callout 4", 0, {}},
    {1179, kButton, "Down Ribbon", 0, {}},
    {1180, kButton, "Up Ribbon", 0, {}},
    {1181, kButton, "Curved Down Ribbon", 0, {}},
    {1182, kButton, "Curved Up Ribbon", 0, {}},
    {1183, kButton, "5-Point Star", 0, {}},
    {1184, kButton, "8-Point Star", 0, {}},
    {1185, kButton, "16-Point Star", 0, {}},
    {1186, kButton, "24-Point Star", 0, {}},
    {1187, kButton, "32-Point Star", 0, {}},
    {1188, kButton, "Explosion 1", 0, {}},
    {1189, kButton, "Explosion 2", 0, {}},
    {1190, kButton, "Right Arrow", 0, {}},
    {1191, kButton, "Left Arrow", 0, {}},
    {1192, kButton, "Up Arrow", 0, {}},
    {1193, kButton, "Down Arrow", 0, {}},
    {1194, kButton, "Left-Right Arrow", 0, {}},
    {1195, kButton, "Up-Down Arrow", 0, {}},
    {1196, kButton, "Quad Arrow", 0, {}},
    {1197, kButton, "Left-Right-Up Arrow", 0, {}},
    {1198, kButton, "Bent Arrow", 0, {}},
    {1199, kButton, "U-Turn Arrow", 0, {}},
    {1200, kButton, "Left-Up Arrow", 0, {}},
    {1201, kButton, "Bent-Up Arrow", 0, {}},
    {1202, kButton, "Curved Right Arrow", 0, {}},
    {1203, kButton, "Curved Left Arrow", 0, {}},
    {1204, kButton, "Curved Up Arrow", 0, {}},
    {1205, kButton, "Curved Down Arrow", 0, {}},
    {1206, kButton, "Striped Right Arrow", 0, {}},
    {1207, kButton, "Notched Right Arrow", 0, {}},
    {1208, kButton, "Pentagon", 0, {}},
    {1209, kButton, "Chevron", 0, {}},
    {1210, kButton, "Right Arrow Callout", 0, {}},
    {1211, kButton, "Left Arrow Callout", 0, {}},
    {1213, kButton, "Up Arrow Callout", 0, {}},
    {1214, kButton, "Left-Right Arrow Callout", 0, {}},
    {1215, kButton, "Up-Down Arrow Callout", 0, {}},
    {1216, kButton, "Quad Arrow Callout", 0, {}},
    {1217, kButton, "Circular Arrow", 0, {}},
    {1218, kButton, "Down Arrow Callout", 0, {}},
    {1219, kButton, "Line Callout 1", 0, {}},
    {1220, kButton, "Line Callout 1 (Accent Bar)", 0, {}},
    {1221, kButton, "Line Callout 2 (Accent Bar)", 0, {}},
    {1222, kButton, "Line Callout 3 (Accent Bar)", 0, {}},
    {1223, kButton, "Line Callout 4 (Accent Bar)", 0, {}},
    {1224, kButton, "Line Callout 1 (No Border)", 0, {}},
    {1225, kButton, "Line Callout 2 (No Border)", 0, {}},
    {1226, kButton, "Line Callout 3 (No Border)", 0, {}},
    {1227, kButton, "Line Callout 4 (No Border)", 0, {}},
    {1228, kButton, "Line Callout 1 (Border and Accent Bar)", 0, {}},
    {1229, kButton, "Line Callout 2 (Border and Accent Bar)", 0, {}},
    {1230, kButton, "Line Callout 3 (Border and Accent Bar)", 0, {}},
    {1639, kButton, "Double Arrow", 0, {}},
    {2634, kButton, "Sun", 0, {}},
    {2635, kButton, "Moon", 0, {}},
    {2636, kButton, "Double Bracket", 0, {}},
    {2637, kButton, "Double Brace", 0, {}},
    {2638, kButton, "4-Point Star", 0, {}},
    {2639, kButton, "Double Wave", 0, {}},
    {2640, kButton, "Straight Arrow Connector", 0, {}},
    {2641, kButton, "Straight Double-Arrow Connector", 0, {}},
    {2642, kButton, "Elbow Arrow Connector", 0, {}},
    {2643, kButton, "Elbow Double-Arrow Connector", 0, {}},
    {2644, kButton, "Curved Arrow Connector", 0, {}},
    {2645, kButton, "Curved Double-Arrow Connector", 0, {}},
};

}  // namespace

const BuiltinControl* findBuiltinControl(int32_t id) {
    const auto it = std::find_if(std::begin(kCatalogue), std::end(kCatalogue),
                                 [id](const BuiltinControl& c) { return c.id == id; });
    return it == std::end(kCatalogue) ? nullptr : &*it;
}

std::vector<int32_t> builtinControlNumbers() {
    std::vector<int32_t> ids;
    for (const auto& c : kCatalogue) ids.push_back(c.id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace qm::sim
