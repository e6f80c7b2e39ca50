// The Object List window: the sheet's drawing objects frontmost first with visibility
// boxes and stacking-order buttons, the position panel (centimetres and degrees), the
// node grid of a freeform with its in-place editor, and a preview of the object.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/addin/state.h"
#include "core/dialogs/common.h"
#include "core/objects/history.h"
#include "core/ui/ui.h"

namespace qm::objects {

class ObjectListWindow {
public:
    // Builds the window (not yet shown). The opener hands over the sheet's drawing objects
    // and the host application before it loads.
    explicit ObjectListWindow(addin::AddinState& s);
    ~ObjectListWindow();
    ObjectListWindow(const ObjectListWindow&) = delete;
    ObjectListWindow& operator=(const ObjectListWindow&) = delete;

    host::ShapesPtr objShapes;
    host::ApplicationPtr objExcelApp;

    // Loads the window and runs it modally; returns when it is closed.
    void show();
    void unload();

    // The object of the selected row, found again by its name (the row text before the
    // last " ( "); of several objects with that name, the one whose place among them, from
    // the front, is the row's place among their rows.
    host::ShapePtr getSelectedShape();

    ui::Form& form() { return *form_; }

private:
    // ---- list and stacking order
    void load();
    // The list read again from the host, sorted frontmost first.
    void refillList();
    // Selects the row found, else the first; with no rows the panels are hidden. Returns
    // the row selected.
    std::optional<int> selectListedRow(std::optional<int> found);
    void fillList();
    void listObject(int32_t index);
    // The rows of objects with that name (the host finds names in any case), top first,
    // and the listed objects of that name, frontmost first.
    std::vector<int> namesakeRows(const std::string& name) const;
    std::vector<host::ShapePtr> namesakes(const std::string& name);
    std::string rowText(host::Shape& shape);
    // The row of that object, whose row text is `text`: of several rows with that text,
    // the one at the object's place among its namesakes.
    std::optional<int> findRow(host::Shape& shape, const std::string& text);
    void rowClick(int row);
    void rowClickSelected();
    void itemCheck(int row);
    void moveRow(int button);
    // ---- position panel
    void showPositions(host::Shape& shape);
    void positionKeyPress(int index, int& keyAscii);
    // `spin`: the value came from the box's spinner (its clicks join one undo step).
    void validatePosition(int index, bool spin = false);
    void spinChange(int index);
    double pointsPerCentimetre();
    std::string formatPosition(int index, double value) const;
    // ---- layout and splitters
    void layout();
    // Keeps the open cell editor over its cell and the preview fitted to its frame while
    // the layout changes.
    void followLayout();
    void splitterVMove(double x);
    void splitterHMove(double y);
    // ---- node panel
    void refreshNodePanel();
    void toggleNodePanel();
    bool cellEditable();
    void openNodeEditor(const std::string& text, bool selectAll);
    void placeNodeEditor();
    void gridDoubleClick();
    void gridKeyPress(int& keyAscii);
    void gridSelChange();
    void nodeKeyPress(int& keyAscii);
    void commitNode();
    // The editor closes without writing; the focus stays where it is.
    void hideNodeEditor();
    // ---- undo, redo and the node table as text
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z anywhere in the window, Ctrl+C and Ctrl+V in the grid.
    void keyCommand(int& keyCode, int shift);
    // Undoes (redoes) the last step: the object as it was, shown and its row selected; a
    // step that cannot be applied beeps and goes with every step before it.
    void stepHistory(bool backward);
    void applyStep(Step& step, bool backward);
    // The list read again and the object's row selected, its values shown.
    void showObject(host::Shape& shape);
    // An open cell editor closes without writing; the grid keeps the focus it had.
    void closeNodeEditor();
    void copyNodes();
    void pasteNodes();
    // ---- preview
    // What the preview shows, read from the host once and drawn again at each size.
    struct Preview {
        std::string name;
        std::string note;
        double width = 0;  // the canvas in points: the object's extent and the margins
        double height = 0;
        std::optional<platform::Picture> picture;
        double pictureLeft = 0, pictureTop = 0, pictureWidth = 0, pictureHeight = 0;
        struct Marker {
            double x, y;  // on the canvas
        };
        std::vector<Marker> markers;
    };
    void drawPreview(const host::ShapePtr& shape, const std::vector<host::NodePoint>& points);
    void paintPreview(const Preview& p);
    void clearPreview();

    addin::AddinState& s_;
    std::unique_ptr<ui::Form> form_;

    ui::ListView* lstShapes_;
    ui::PictureBox* picContener_[2];
    ui::Button* cmdToFront_;
    ui::Button* cmdForward_;
    ui::Button* cmdBackward_;
    ui::Button* cmdToBack_;
    std::array<ui::Label*, 5> lblPosition_;
    std::array<ui::TextBox*, 5> txtPosition_;
    std::array<ui::ScrollBar*, 5> vscPosition_;
    ui::Button* cmdClose_;
    ui::Button* cmdNodeShow_;
    ui::Image* imgV_;
    ui::Grid* fxgNodes_;
    ui::Image* imgH_;
    ui::PictureBox* picNode_[2];
    ui::TextBox* txtNode_;

    std::unique_ptr<dialogs::LoadedRegistration> registration_;
    bool bFilling_ = false;
    std::string strUnitCm_;
    std::string strUnitDeg_;
    std::optional<std::pair<int, int>> nodeEditorCell_;  // row and column of the cell being edited
    std::string nodeEditorText_;  // what the editor held when it opened
    std::array<std::string, 5> shownPosition_;  // the texts the position boxes were given
    double sngSplitStartX_ = 0;
    double sngSplitStartY_ = 0;
    host::ShapePtr spacer_;  // the preview's invisible spacer rectangle while it exists
    std::optional<Preview> preview_;
    History history_;
    // The points of the nodes the grid shows, as the host gave them: one per row filled
    // (fewer than the object has when the refresh did not finish).
    std::vector<host::NodePoint> shownNodes_;
};

// The value as the single-precision number the host takes, or nothing when it does not
// fit one: nothing infinite is ever written to the host.
std::optional<float> hostSingle(double value);

// The 4 x 4 picture of a splitter bar: alternating grey and white columns (the vertical
// bar) or rows (the horizontal one), stretched to the bar.
std::vector<uint8_t> splitterPicture(bool vertical);

// The Object List command: host-ready test, hand over the sheet's objects, show modally.
void objectsListClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

}  // namespace qm::objects
