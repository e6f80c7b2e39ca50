// The Object List window: the sheet's drawing objects frontmost first with visibility
// boxes and stacking-order buttons, the position panel (centimetres and degrees), the
// node grid of a freeform with its in-place editor, and a preview of the object.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/addin/state.h"
#include "core/dialogs/common.h"
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

    // The object of the selected row, found again by the text before " ( ".
    host::ShapePtr getSelectedShape();

    ui::Form& form() { return *form_; }

private:
    // ---- list and stacking order
    void load();
    void fillList();
    std::string rowText(host::Shape& shape);
    void rowClick(int row);
    void rowClickSelected();
    void itemCheck(int row);
    void moveRow(int button);
    // ---- position panel
    void showPositions(host::Shape& shape);
    void positionKeyPress(int index, int& keyAscii);
    void validatePosition(int index);
    void spinChange(int index);
    double pointsPerCentimetre();
    std::string formatPosition(int index, double value) const;
    // ---- layout and splitters
    void layout();
    void splitterVMove(double x);
    void splitterHMove(double y);
    // ---- node panel
    void refreshNodePanel();
    void toggleNodePanel();
    bool cellEditable();
    void openNodeEditor(const std::string& text, bool selectAll);
    void gridDoubleClick();
    void gridKeyPress(int& keyAscii);
    void gridSelChange();
    void nodeKeyPress(int& keyAscii);
    void commitNode();
    // ---- preview
    void drawPreview(const host::ShapePtr& shape, int32_t nodeCount);
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
    std::string nodeEditorTag_;  // row, tab, column of the cell being edited
    double sngSplitStartX_ = 0;
    double sngSplitStartY_ = 0;
    host::ShapePtr spacer_;  // the preview's invisible spacer rectangle while it exists
};

// The 4 x 4 picture of a splitter bar: alternating grey and white columns (the vertical
// bar) or rows (the horizontal one), stretched to the bar.
std::vector<uint8_t> splitterPicture(bool vertical);

// The Object List command: host-ready test, hand over the sheet's objects, show modally.
void objectsListClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

}  // namespace qm::objects
