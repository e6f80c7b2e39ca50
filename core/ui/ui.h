// Interfaces of the window controls the add-in's windows are built from. Each window is a
// presenter written against these; two toolkits implement them: headless (tests and the
// scenario runner) and Win32 (real windows inside the host).
//
// The semantics are those of the classic Windows form model the windows were designed for:
// setting a value from code raises the control's change event at once (text, scroll value,
// check box value, list item check); validation runs when focus leaves a control for one
// that causes validation; a key press handler can swallow the key by setting it to 0; the
// form's cancel button is clicked by Escape. Geometry is in twips (1/1440 inch) in the
// coordinates of the control's container; colours are 0x00BBGGRR.
//
// An event handler that a user's input ran (a click, a key, a drag) and that fails goes to
// the form's onError: the window stays open and usable. Events raised by code pass their
// failures to that code.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/platform.h"

namespace qm::ui {

struct Bounds {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct Font {
    std::string name = "MS UI Gothic";
    double size = 9;
    bool bold = false;
    bool italic = false;
    int charset = 128;  // SHIFTJIS_CHARSET: Japanese captions must never show as boxes
};

// System colours as the form model writes them (high bit set: an index, not an RGB).
inline constexpr uint32_t kColorButtonFace = 0x8000000F;
inline constexpr uint32_t kColorButtonShadow = 0x80000010;
inline constexpr uint32_t kColorButtonText = 0x80000012;
inline constexpr uint32_t kColorWindow = 0x80000005;

enum class MousePointer { Default, SizeWE, SizeNS };

// Mouse buttons as the form model numbers them.
inline constexpr int kLeftButton = 1;

// Key codes the windows filter.
namespace key {
inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
}  // namespace key

// Keys as they go down (virtual-key codes), for the keys that type no character.
namespace vk {
inline constexpr int kTab = 9;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
}  // namespace vk
// The Shift and Ctrl keys held with a key going down.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;

class Control {
public:
    virtual ~Control() = default;
    virtual const std::string& name() const = 0;  // "txtPosition(2)"

    virtual Bounds bounds() const = 0;
    virtual void move(const Bounds& b) = 0;
    void setLeft(double v) { auto b = bounds(); b.left = v; move(b); }
    void setTop(double v) { auto b = bounds(); b.top = v; move(b); }
    void setWidth(double v) { auto b = bounds(); b.width = v; move(b); }
    void setHeight(double v) { auto b = bounds(); b.height = v; move(b); }
    double left() const { return bounds().left; }
    double top() const { return bounds().top; }
    double width() const { return bounds().width; }
    double height() const { return bounds().height; }

    virtual bool visible() const = 0;
    virtual void setVisible(bool v) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool v) = 0;
    virtual void setTabStop(bool v) = 0;
    virtual bool tabStop() const = 0;
    // Whether the focus arriving here runs the validation of the text box it left (on by
    // default). When it does not, that validation waits for the next control that does:
    // a spinner's arrows then act on the text typed in its box.
    virtual void setCausesValidation(bool v) = 0;
    virtual bool causesValidation() const = 0;
    // Moves the focus here, running the validation of the control that loses it.
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual void setFont(const Font& f) = 0;
    virtual void bringToFront() = 0;

    std::function<void()> onGotFocus;
};

// Something controls can be placed in: the form, a frame or a picture box.
class Container {
public:
    virtual ~Container() = default;
};

class Label : public Control {
public:
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual void setForeColor(uint32_t color) = 0;
    virtual uint32_t foreColor() const = 0;
    std::function<void()> onClick;
};

class Button : public Control {
public:
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    // The cancel button is clicked by Escape wherever the focus is.
    virtual void setCancel(bool v) = 0;
    virtual bool cancel() const = 0;
    // The default button is clicked by Enter.
    virtual void setDefault(bool v) = 0;
    // Face colour of a button drawn in a colour of its own (the colour button).
    virtual void setFaceColor(uint32_t color) = 0;
    virtual uint32_t faceColor() const = 0;
    std::function<void()> onClick;
};

class CheckBox : public Control {
public:
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual int value() const = 0;        // 0 unchecked, 1 checked
    virtual void setValue(int v) = 0;     // raises onClick when the value changes
    std::function<void()> onClick;
};

class Frame : public Control, public Container {
public:
    virtual void setCaption(const std::string& text) = 0;
    virtual std::string caption() const = 0;
};

class TextBox : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& t) = 0;  // raises onChange
    virtual int selStart() const = 0;
    virtual void setSelStart(int v) = 0;
    virtual int selLength() const = 0;
    virtual void setSelLength(int v) = 0;
    virtual void setBackColor(uint32_t color) = 0;
    virtual uint32_t backColor() const = 0;
    std::function<void()> onChange;
    // The character code before the box receives it; set it to 0 to swallow the key.
    std::function<void(int& keyAscii)> onKeyPress;
    // A key going down in the box (vk codes, shift kShiftMask), before the box acts on it;
    // set it to 0 to keep the box from acting. Characters then come through onKeyPress.
    std::function<void(int& keyCode, int shift)> onKeyDown;
    // Focus is leaving; setting cancel keeps it here.
    std::function<void(bool& cancel)> onValidate;
};

// A vertical scroll bar used as a spinner: the upper arrow lowers Value by SmallChange.
class ScrollBar : public Control {
public:
    virtual int min() const = 0;
    virtual int max() const = 0;
    virtual void setRange(int min, int max) = 0;
    virtual int value() const = 0;
    virtual void setValue(int v) = 0;  // raises onChange when the value changes
    std::function<void()> onChange;
};

// A list view in report mode with a check box per row. Rows count from 1.
class ListView : public Control {
public:
    virtual void addColumn(const std::string& header, double width) = 0;
    virtual void setColumnWidth(int column, double width) = 0;  // column from 0
    virtual double columnWidth(int column) const = 0;
    virtual void clear() = 0;
    virtual int count() const = 0;
    // Inserts a row at `position` (1 .. count + 1) with `key` (unique, or empty).
    virtual void insertItem(int position, const std::string& text, const std::string& key = {}) = 0;
    virtual void removeItem(int row) = 0;
    virtual std::string itemText(int row) const = 0;
    virtual std::string itemKey(int row) const = 0;
    virtual void setSubItem(int row, int column, const std::string& text) = 0;  // column from 1
    virtual std::string subItem(int row, int column) const = 0;
    virtual bool checked(int row) const = 0;
    virtual void setChecked(int row, bool v) = 0;  // raises onItemCheck when it changes
    virtual std::optional<int> selectedRow() const = 0;
    virtual void selectRow(int row) = 0;  // no event, as when code selects
    // Sorts the rows once by a sub-item column's text; later inserts are not sorted.
    virtual void sortOnce(int column, bool descending) = 0;
    std::function<void(int row)> onItemClick;
    std::function<void(int row)> onItemCheck;
};

// Grid cell alignments, as the flex grid numbers them.
enum class CellAlign { LeftCenter = 1, CenterCenter = 4, RightCenter = 7 };

// A grid with fixed rows and columns. Rows and columns count from 0, fixed ones included.
class Grid : public Control {
public:
    virtual int rows() const = 0;
    virtual void setRows(int n) = 0;
    virtual int cols() const = 0;
    virtual void setCols(int n) = 0;
    virtual void setFixed(int rows, int cols) = 0;
    virtual std::string textMatrix(int row, int col) const = 0;
    virtual void setTextMatrix(int row, int col, const std::string& text) = 0;
    virtual void clearTexts() = 0;
    virtual double colWidth(int col) const = 0;
    virtual void setColWidth(int col, double width) = 0;
    virtual double rowHeight(int row) const = 0;
    virtual double colPos(int col) const = 0;  // left of the column inside the grid
    virtual double rowPos(int row) const = 0;
    virtual void setColAlignment(int col, CellAlign a) = 0;
    virtual void setFixedAlignment(int col, CellAlign a) = 0;
    virtual void setBackColor(uint32_t color) = 0;  // background of the non-fixed cells
    virtual uint32_t backColor() const = 0;
    virtual void setCellBackColor(int row, int col, uint32_t color) = 0;
    virtual uint32_t cellBackColor(int row, int col) const = 0;  // the grid's when not set
    virtual int topRow() const = 0;
    virtual void setTopRow(int row) = 0;
    virtual int leftCol() const = 0;
    virtual void setLeftCol(int col) = 0;
    virtual int row() const = 0;  // current cell
    virtual int col() const = 0;
    virtual void setCurrentCell(int row, int col) = 0;  // raises onSelChange when it moves
    std::function<void()> onSelChange;
    std::function<void()> onDblClick;
    std::function<void(int& keyAscii)> onKeyPress;
};

// A picture box: a container, and a drawing surface with its own scale.
class PictureBox : public Control, public Container {
public:
    virtual void setBorder(bool v) = 0;
    virtual void setBackColor(uint32_t color) = 0;
    virtual uint32_t backColor() const = 0;
    // Scale in twips, or a user scale whose inner area spans width x height units.
    virtual void setScaleTwips() = 0;
    virtual void setUserScale(double left, double top, double width, double height) = 0;
    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;
    virtual void clear() = 0;
    virtual void setDrawFont(const Font& f) = 0;
    virtual void setDrawColor(uint32_t color) = 0;
    virtual double textWidth(const std::string& text) const = 0;   // in the current scale
    virtual double textHeight(const std::string& text) const = 0;
    virtual void printText(double x, double y, const std::string& text) = 0;
    virtual void fillBox(double x1, double y1, double x2, double y2, uint32_t color) = 0;
    // Paints an EMF or BMP picture stretched into the rectangle.
    virtual void paintPicture(const platform::Picture& picture, double x, double y, double width,
                              double height) = 0;
};

// An image control: a stretched picture and mouse events (the splitter bars).
class Image : public Control {
public:
    virtual void setPicture(const std::vector<uint8_t>& bmp) = 0;
    virtual void setMousePointer(MousePointer p) = 0;
    // Button (kLeftButton ...), x and y in the image's own coordinates.
    std::function<void(int button, double x, double y)> onMouseDown;
    std::function<void(int button, double x, double y)> onMouseMove;
    std::function<void(int button, double x, double y)> onMouseUp;
};

enum class FormStyle { Dialog, SizableToolWindow };

struct FormSpec {
    std::string name;  // "frmObjects"
    FormStyle style = FormStyle::Dialog;
    double clientWidth = 0;
    double clientHeight = 0;
    Font font;
};

class Form : public Container {
public:
    virtual ~Form() = default;
    virtual const std::string& name() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual std::string caption() const = 0;
    // Outer size (frame included) and the client area's size.
    virtual double width() const = 0;
    virtual double height() const = 0;
    virtual void setWidth(double w) = 0;   // raises onResize
    virtual void setHeight(double h) = 0;  // raises onResize
    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;
    virtual bool minimized() const = 0;
    virtual uint32_t backColor() const = 0;
    // Twips per screen pixel (15 at 96 dpi).
    virtual double twipsPerPixelX() const = 0;
    // Width of a text in the window's font, in twips.
    virtual double textWidth(const std::string& text) const = 0;

    // Controls, created while the window is built; `parent` null means the form itself.
    virtual Label& addLabel(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual Button& addButton(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual CheckBox& addCheckBox(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual Frame& addFrame(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual TextBox& addTextBox(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual ScrollBar& addScrollBar(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual ListView& addListView(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual Grid& addGrid(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual PictureBox& addPictureBox(const std::string& name, Container* parent, const Bounds& b) = 0;
    virtual Image& addImage(const std::string& name, Container* parent, const Bounds& b) = 0;

    // Runs the window modally; returns once it is unloaded.
    virtual void showModal() = 0;
    // Closes the window (onUnload runs once, however it closes).
    virtual void unload() = 0;
    virtual bool loaded() const = 0;
    // Lets pending window messages run (the list is drawn once after filling).
    virtual void doEvents() = 0;

    std::function<void()> onResize;
    std::function<void()> onUnload;
    // A key going down anywhere in the window (vk codes, shift kShiftMask | kCtrlMask),
    // before the focused control sees it; set it to 0 to keep it from the control (and
    // from the character it would type). The window's own keyboard commands.
    std::function<void(int& keyCode, int shift)> onKeyDown;
    // A failure that an event handler run by the user's input did not deal with; the window
    // stays open and usable. The handler may rethrow what is not its to show. Without one a
    // headless window lets the failure pass to its driver, a real one writes it to the
    // debugger's output.
    std::function<void(std::exception_ptr)> onError;
};

// Makes windows.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    virtual std::unique_ptr<Form> createForm(const FormSpec& layout) = 0;
};

}  // namespace qm::ui
