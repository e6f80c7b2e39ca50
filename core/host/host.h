// Interfaces of the host's object models as the add-in calls them: the spreadsheet
// application and its command bars. Two implementations stand behind them: the simulated
// host (in memory) and the late-bound IDispatch adapter over the real Excel.
//
// Conventions: an absent object (Nothing) is a null pointer; every member may throw
// HostError; members a given object lacks (as late binding finds out) throw error 438.
// Collections count from 1. Geometry of shapes is in points, of bars in pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host/error.h"
#include "core/host/subscription.h"

namespace qm::host {

class Application;
class Workbook;
class Sheets;
class Sheet;
class Range;
class Window;
class Selection;
class Shapes;
class Shape;
class ShapeNodes;
class ShapeNode;
class CommandBars;
class CommandBar;
class CommandBarControls;
class CommandBarControl;

using ApplicationPtr = std::shared_ptr<Application>;
using WorkbookPtr = std::shared_ptr<Workbook>;
using SheetsPtr = std::shared_ptr<Sheets>;
using SheetPtr = std::shared_ptr<Sheet>;
using RangePtr = std::shared_ptr<Range>;
using WindowPtr = std::shared_ptr<Window>;
using SelectionPtr = std::shared_ptr<Selection>;
using ShapesPtr = std::shared_ptr<Shapes>;
using ShapePtr = std::shared_ptr<Shape>;
using ShapeNodesPtr = std::shared_ptr<ShapeNodes>;
using ShapeNodePtr = std::shared_ptr<ShapeNode>;
using CommandBarsPtr = std::shared_ptr<CommandBars>;
using CommandBarPtr = std::shared_ptr<CommandBar>;
using CommandBarControlsPtr = std::shared_ptr<CommandBarControls>;
using CommandBarControlPtr = std::shared_ptr<CommandBarControl>;

using SheetChangeHandler = std::function<void(const SheetPtr& sheet, const RangePtr& target)>;
using UpdateHandler = std::function<void()>;
using ClickHandler = std::function<void(const CommandBarControlPtr& ctrl, bool& cancelDefault)>;

// A member call on Nothing is error 91 in the host's language; here it must be too, never
// a null dereference. `must(app->activeSheet()).name()`.
template <class T>
T& must(const std::shared_ptr<T>& object) {
    if (!object) raise(err::kObjectNotSet);
    return *object;
}

// ---------------------------------------------------------------- spreadsheet

class Application {
public:
    virtual ~Application() = default;

    virtual std::string version() = 0;  // "11.0"
    virtual WorkbookPtr activeWorkbook() = 0;
    virtual WindowPtr activeWindow() = 0;
    virtual SheetPtr activeSheet() = 0;
    virtual SelectionPtr selection() = 0;
    virtual CommandBarsPtr commandBars() = 0;

    virtual bool screenUpdating() = 0;
    virtual void setScreenUpdating(bool value) = 0;
    virtual bool displayFormulaBar() = 0;
    virtual void setDisplayFormulaBar(bool value) = 0;
    virtual bool displayFullScreen() = 0;
    virtual void setDisplayFullScreen(bool value) = 0;

    virtual std::string caption() = 0;  // main window title
    virtual double top() = 0;           // main window top, points

    // The host's Save As dialog: the chosen path, or the text "False" when cancelled.
    virtual std::string getSaveAsFilename(const std::string& initialFilename, const std::string& fileFilter,
                                          int32_t filterIndex, const std::string& title) = 0;
    virtual double centimetersToPoints(double centimeters) = 0;

    // Raised after the user edits cells.
    virtual Subscription onSheetChange(SheetChangeHandler handler) = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual SheetsPtr sheets() = 0;
};

class Sheets {
public:
    virtual ~Sheets() = default;
    virtual int32_t count() = 0;
    virtual SheetPtr item(int32_t index) = 0;
    // Adds a worksheet after `after` (or before the active sheet when null); the new
    // sheet becomes the active sheet.
    virtual SheetPtr add(const SheetPtr& after) = 0;
};

// A worksheet, or a chart sheet (which has no cells and no drawing objects of its own
// for the add-in: its members answer 438).
class Sheet {
public:
    virtual ~Sheet() = default;
    virtual std::string typeName() = 0;  // "Worksheet", "Chart"
    virtual std::string name() = 0;
    virtual void setName(const std::string& name) = 0;  // fails when the name is taken
    virtual RangePtr cells() = 0;
    virtual void setBackgroundPicture(const std::string& fileName) = 0;  // "" removes it
    virtual ShapesPtr shapes() = 0;
};

class Range {
public:
    virtual ~Range() = default;
    virtual int32_t count() = 0;
    virtual double columnWidth() = 0;
    virtual void setColumnWidth(double value) = 0;
    virtual double rowHeight() = 0;
    virtual void setRowHeight(double value) = 0;
};

class Window {
public:
    virtual ~Window() = default;
    virtual bool displayGridlines() = 0;
    virtual void setDisplayGridlines(bool value) = 0;
};

// Application.Selection, reached late-bound: cells, one drawing object or several. A
// member the current kind of selection lacks throws 438.
class Selection {
public:
    virtual ~Selection() = default;
    virtual std::string typeName() = 0;  // "Range", "Rectangle", "DrawingObjects" ...
    virtual int32_t count() = 0;
    virtual void copy() = 0;
    virtual bool autoSize() = 0;
    virtual void setAutoSize(bool value) = 0;
    virtual int32_t verticalAlignment() = 0;
    virtual void setVerticalAlignment(int32_t value) = 0;
    virtual ShapePtr shapeRange() = 0;
};

class Shapes {
public:
    virtual ~Shapes() = default;
    virtual int32_t count() = 0;
    virtual ShapePtr item(int32_t index) = 0;
    virtual ShapePtr item(const std::string& name) = 0;
    virtual ShapePtr addShape(int32_t autoShapeType, float left, float top, float width, float height) = 0;
    // A shape range of the named shapes; it answers the members of Shape.
    virtual ShapePtr range(const std::vector<std::string>& names) = 0;
};

enum class ShapeFormat { ThreeD, Shadow, Fill, Line };

// A drawing object, or a shape range (which answers the same members).
class Shape {
public:
    virtual ~Shape() = default;
    virtual std::string name() = 0;
    virtual int32_t type() = 0;
    virtual int32_t autoShapeType() = 0;
    virtual int32_t zOrderPosition() = 0;
    virtual void zOrder(int32_t command) = 0;
    virtual int32_t visible() = 0;  // msoTrue / msoFalse
    virtual void setVisible(int32_t value) = 0;
    virtual void select(bool replace = true) = 0;
    virtual void remove() = 0;  // Delete
    virtual void copyPicture(int32_t appearance = 1, int32_t format = -4147) = 0;
    virtual void incrementRotation(float degrees) = 0;

    virtual float left() = 0;
    virtual void setLeft(float value) = 0;
    virtual float top() = 0;
    virtual void setTop(float value) = 0;
    virtual float width() = 0;
    virtual void setWidth(float value) = 0;
    virtual float height() = 0;
    virtual void setHeight(float value) = 0;
    virtual float rotation() = 0;
    virtual void setRotation(float value) = 0;

    virtual ShapeNodesPtr nodes() = 0;
    // ThreeD.Visible, Shadow.Visible, Fill.Visible, Line.Visible (msoTrue / msoFalse).
    virtual int32_t formatVisible(ShapeFormat format) = 0;
    virtual void setFormatVisible(ShapeFormat format, int32_t value) = 0;
};

class ShapeNodes {
public:
    virtual ~ShapeNodes() = default;
    virtual int32_t count() = 0;
    virtual ShapeNodePtr item(int32_t index) = 0;
    virtual void setPosition(int32_t index, float x, float y) = 0;
};

struct NodePoint {
    float x = 0;
    float y = 0;
};

class ShapeNode {
public:
    virtual ~ShapeNode() = default;
    virtual NodePoint points() = 0;
    virtual int32_t editingType() = 0;
    virtual int32_t segmentType() = 0;
};

// ---------------------------------------------------------------- command bars

struct FindSpec {
    std::optional<int32_t> type = std::nullopt;
    std::optional<int32_t> id = std::nullopt;
    std::optional<std::string> tag = std::nullopt;
    std::optional<bool> visible = std::nullopt;
    std::optional<bool> recursive = std::nullopt;
};

struct ControlSpec {
    std::optional<int32_t> type = std::nullopt;
    std::optional<int32_t> id = std::nullopt;
    std::optional<bool> temporary = std::nullopt;
};

struct BarSpec {
    std::optional<std::string> name = std::nullopt;
    std::optional<int32_t> position = std::nullopt;
    std::optional<bool> menuBar = std::nullopt;
    std::optional<bool> temporary = std::nullopt;
};

class CommandBars {
public:
    virtual ~CommandBars() = default;
    virtual int32_t count() = 0;
    virtual CommandBarPtr item(int32_t index) = 0;  // 1 is the worksheet menu bar
    virtual CommandBarPtr item(const std::string& name) = 0;  // error 5 when absent
    virtual CommandBarPtr add(const BarSpec& wanted) = 0;
    // First control matching on any bar (null when none).
    virtual CommandBarControlPtr findControl(const FindSpec& criteria) = 0;
    // Raised when the host refreshes its bars, for instance after the selection changes.
    virtual Subscription onUpdate(UpdateHandler handler) = 0;
};

class CommandBar {
public:
    virtual ~CommandBar() = default;
    virtual std::string name() = 0;
    virtual std::string nameLocal() = 0;
    virtual int32_t index() = 0;
    virtual int32_t type() = 0;
    virtual bool enabled() = 0;
    virtual void setEnabled(bool value) = 0;
    virtual bool visible() = 0;
    virtual void setVisible(bool value) = 0;
    virtual int32_t position() = 0;
    virtual void setPosition(int32_t value) = 0;
    virtual int32_t rowIndex() = 0;
    virtual void setRowIndex(int32_t value) = 0;
    virtual int32_t left() = 0;
    virtual void setLeft(int32_t value) = 0;
    virtual int32_t top() = 0;
    virtual void setTop(int32_t value) = 0;
    virtual int32_t width() = 0;
    virtual void setWidth(int32_t value) = 0;
    virtual int32_t protection() = 0;
    virtual void setProtection(int32_t value) = 0;
    virtual CommandBarControlsPtr controls() = 0;
    // Searches this bar only unless `criteria.recursive` says otherwise.
    virtual CommandBarControlPtr findControl(const FindSpec& criteria) = 0;
    virtual void remove() = 0;  // Delete
};

class CommandBarControls {
public:
    virtual ~CommandBarControls() = default;
    virtual int32_t count() = 0;
    virtual CommandBarControlPtr item(int32_t index) = 0;
    virtual CommandBarControlPtr add(const ControlSpec& wanted) = 0;  // appended at the end
};

// Any command bar control, reached late-bound: button, popup, combo box. Members that
// the control's kind lacks (Style on a popup, Controls on a button) throw 438.
class CommandBarControl {
public:
    virtual ~CommandBarControl() = default;
    virtual int32_t id() = 0;
    virtual int32_t type() = 0;
    virtual std::string caption() = 0;
    virtual void setCaption(const std::string& value) = 0;
    virtual std::string tag() = 0;
    virtual void setTag(const std::string& value) = 0;
    virtual bool beginGroup() = 0;
    virtual void setBeginGroup(bool value) = 0;
    virtual std::string onAction() = 0;
    virtual void setOnAction(const std::string& value) = 0;
    virtual bool enabled() = 0;
    virtual void setEnabled(bool value) = 0;
    virtual int32_t width() = 0;
    virtual void setWidth(int32_t value) = 0;
    virtual void remove() = 0;  // Delete
    // Copies the control to the end of `bar` (its own bar when null); returns the copy.
    virtual CommandBarControlPtr copy(const CommandBarPtr& bar) = 0;
    virtual void execute() = 0;

    // Buttons.
    virtual int32_t faceId() = 0;
    virtual void setFaceId(int32_t value) = 0;
    virtual void pasteFace() = 0;  // the clipboard's bitmap becomes the face
    virtual int32_t style() = 0;
    virtual void setStyle(int32_t value) = 0;
    virtual int32_t state() = 0;
    virtual void setState(int32_t value) = 0;
    virtual Subscription onClick(ClickHandler handler) = 0;

    // Popups.
    virtual CommandBarControlsPtr controls() = 0;
    virtual CommandBarPtr commandBar() = 0;
};

// The host's record of this add-in, handed to the connection.
class AddIn {
public:
    virtual ~AddIn() = default;
    virtual std::string progId() = 0;
    virtual void setConnect(bool value) = 0;
};

}  // namespace qm::host
