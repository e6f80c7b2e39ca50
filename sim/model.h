// The simulated host's model: plain data for workbooks, sheets, drawing objects, bars and
// controls, read directly by tests and the scenario runner (the add-in sees only handles).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/host/constants.h"
#include "core/host/host.h"

namespace qm::sim {

struct BarNode;
struct ControlNode;
struct WorkbookNode;
struct SheetNode;
struct DrawingObject;

using BarNodePtr = std::shared_ptr<BarNode>;
using ControlNodePtr = std::shared_ptr<ControlNode>;
using WorkbookNodePtr = std::shared_ptr<WorkbookNode>;
using SheetNodePtr = std::shared_ptr<SheetNode>;
using DrawingObjectPtr = std::shared_ptr<DrawingObject>;

// ---------------------------------------------------------------- command bars

// A face pasted from the clipboard: the BMP file and its pixel size.
struct PastedFace {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bytes;
};

// One Click subscription of a control; inactive once disconnected.
struct ClickSubscriber {
    bool active = true;
    host::ClickHandler handler;
};

struct ControlNode {
    int32_t id = 1;  // built-in control number, 1 for custom controls
    int32_t type = host::msoControlButton;
    std::string caption;
    std::string tag;
    std::string onAction;
    bool beginGroup = false;
    bool enabled = true;  // as set; built-in numbers may be disabled by context too
    bool visible = true;
    bool temporary = false;
    bool builtin = false;
    std::optional<int32_t> width;  // set explicitly
    int32_t defaultWidth = 0;      // combo boxes: the width when none was set
    int32_t faceId = 0;
    std::optional<PastedFace> pastedFace;
    int32_t style = host::msoButtonAutomatic;
    int32_t state = host::msoButtonUp;
    BarNodePtr subBar;  // popups and split buttons
    std::weak_ptr<BarNode> parent;
    bool deleted = false;
    std::vector<std::shared_ptr<ClickSubscriber>> clickSubscribers;

    bool isButton() const { return type == host::msoControlButton; }
    bool hasSubBar() const { return static_cast<bool>(subBar); }
    // A face to show: a built-in face number or a pasted picture.
    bool hasFace() const { return faceId != 0 || pastedFace.has_value(); }
};

struct BarNode {
    std::string name;
    int32_t type = host::msoBarTypeNormal;
    bool enabled = true;
    bool visible = false;  // the stored flag; a disabled bar reads as hidden
    int32_t position = host::msoBarFloating;
    int32_t rowIndex = 0;
    int32_t left = 0;  // floating bars
    int32_t top = 0;
    std::optional<int32_t> widthRequest;
    int32_t protection = host::msoBarNoProtection;
    bool builtin = false;
    bool temporary = false;
    bool deleted = false;
    std::vector<ControlNodePtr> controls;
    std::weak_ptr<ControlNode> owner;  // set for the sub-bar of a popup control

    bool isSubBar() const { return !owner.expired(); }
};

// ---------------------------------------------------------------- spreadsheet

enum class ShapeKind {
    AutoShape,    // type 1
    TextBox,      // 17
    Line,         // 9
    Freeform,     // 5
    Group,        // 6
    Picture,      // 13
    Chart,        // 3
    Comment,      // 4
    FormControl,  // 8
    OleControl,   // 12
};

// One vertex of a freeform, in points from the sheet's top-left corner.
struct PathNode {
    float x = 0;
    float y = 0;
    int32_t editingType = host::msoEditingAuto;
    int32_t segmentType = host::msoSegmentLine;
};

struct DrawingObject {
    std::string name;
    ShapeKind kind = ShapeKind::AutoShape;
    int32_t autoShapeType = host::msoShapeRectangle;  // meaningful for AutoShapes
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    float rotation = 0;
    bool visible = true;
    bool threeD = false;
    bool shadow = false;
    bool fill = true;
    bool line = true;
    int32_t fillColor = 0xFFFFFF;
    int32_t lineColor = 0x000000;
    std::string text;
    int32_t verticalAlignment = host::xlTop;
    bool autoSize = false;
    std::vector<PathNode> nodes;               // freeforms
    std::vector<DrawingObjectPtr> members;     // groups
    std::weak_ptr<SheetNode> sheet;
    bool deleted = false;
    // The object's place in its sheet's drawing layer (1 = backmost, 0 = not in it), valid
    // while layerVersion equals the sheet's.
    int32_t layerPosition = 0;
    uint64_t layerVersion = 0;
};

// A solid-colour or patterned background picture taken from a BMP file.
struct BackgroundPicture {
    std::string fileName;
    int32_t width = 0;
    int32_t height = 0;
    std::optional<int32_t> solidColor;  // 0x00BBGGRR when every pixel has this colour
};

// A cell address, 1-based.
struct CellRef {
    int32_t row = 1;
    int32_t column = 1;
    auto operator<=>(const CellRef&) const = default;
};

// A rectangular block of cells; the whole sheet when `all` is set.
struct CellArea {
    CellRef first;
    CellRef last;
    bool all = false;
};

inline constexpr int32_t kSheetRows = 65536;
inline constexpr int32_t kSheetColumns = 256;

struct SheetNode {
    std::string name;
    bool chart = false;
    std::weak_ptr<WorkbookNode> book;
    double columnWidth = 8.43;  // standard width of every column not set on its own
    double rowHeight = 12.75;   // points
    std::map<int32_t, double> columnWidths;
    std::map<int32_t, double> rowHeights;
    int32_t verticalAlignment = host::xlBottom;  // cells not set on their own
    std::map<CellRef, int32_t> cellAlignment;
    std::map<CellRef, std::string> cellText;
    std::optional<BackgroundPicture> background;
    bool gridlines = true;  // the workbook window's DisplayGridlines for this sheet
    std::vector<DrawingObjectPtr> shapes;  // drawing layer, back to front
    uint64_t layerVersion = 1;             // changes with every change of `shapes`
    int32_t nextObjectNumber = 1;          // numbers default names ("Rectangle 3")

    // The sheet's selection: shapes when any are selected, else the range.
    CellArea selectedRange{{1, 1}, {1, 1}, false};
    std::vector<std::weak_ptr<DrawingObject>> selectedShapes;
    bool nothingSelected = false;
};

struct WorkbookNode {
    std::string name;
    std::vector<SheetNodePtr> sheets;
    std::weak_ptr<SheetNode> activeSheet;
};

}  // namespace qm::sim

namespace qm::sim {

// ---------------------------------------------------------------- test-side descriptions

// A drawing object as a test or the scenario runner places it on a sheet.
struct ShapeInit {
    ShapeKind kind = ShapeKind::AutoShape;
    int32_t autoShapeType = host::msoShapeRectangle;
    std::string name = {};  // empty: the host's default name ("Rectangle 3")
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    float rotation = 0;
    std::string text = {};
    std::vector<PathNode> nodes = {};         // freeforms: the box follows the nodes
    std::vector<std::string> members = {};    // groups: names of existing top-level objects
};

// A command bar as a test adds it beside the built-in ones.
struct BarInit {
    std::string name = {};
    int32_t type = host::msoBarTypeNormal;
    int32_t position = host::msoBarFloating;
    int32_t row = 0;  // docked bars; 0 or -1: a new last row
    bool visible = false;
    bool enabled = true;
    bool temporary = false;
    bool builtin = false;
};

// The arguments of one GetSaveAsFilename call.
struct SaveAsRequest {
    std::string initialFilename = {};
    std::string fileFilter = {};
    int32_t filterIndex = 0;
    std::string title = {};
};

// What dumpBars lists.
struct DumpOptions {
    std::optional<std::string> bar = std::nullopt;  // one bar by name, or every bar
    bool controls = true;
    bool visibleOnly = false;
};

}  // namespace qm::sim
