// The Object List window: building it, the list, stacking order and the position panel.
#include "core/objects/object_list.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/addin/errors.h"
#include "core/host/constants.h"
#include "core/objects/type_names.h"
#include "core/text/number.h"
#include "core/text/strings.h"
#include "core/ui/spinner.h"

namespace qm::objects {
namespace {

using namespace host;

// The design size of the client area; the window opens 6000 twips wide, node panel folded.
constexpr double kDesignClientWidth = 10650;
constexpr double kDesignClientHeight = 5265;
constexpr double kOpeningWidth = 6000;

const ui::Font kMarlett{"Marlett", 9, false, false, 2};

// Objects the list leaves out: charts, comments, form controls and OLE controls.
bool listed(int32_t type) {
    return type != msoChart && type != msoComment && type != msoFormControl && type != msoOLEControlObject;
}

std::string indexed(const char* name, int i) { return std::string(name) + "(" + std::to_string(i) + ")"; }

enum { kToFront, kForward, kBackward, kToBack };

// The name part of a row's text: the kind texts never hold " ( ", names may.
std::string rowName(const std::string& text) {
    const auto cut = text.rfind(" ( ");
    return cut == std::string::npos ? text : text.substr(0, cut);
}

}  // namespace

std::optional<float> hostSingle(double value) {
    if (!(std::fabs(value) <= FLT_MAX)) return std::nullopt;
    return static_cast<float>(value);
}

ObjectListWindow::ObjectListWindow(addin::AddinState& s)
    : s_(s),
      form_(s.ui.createForm({"frmObjects", ui::FormStyle::SizableToolWindow, kDesignClientWidth, kDesignClientHeight, {}})) {
    ui::Form& f = *form_;
    lstShapes_ = &f.addListView("lstShapes", nullptr, {105, 105, 3795, 4950});
    picContener_[0] = &f.addPictureBox(indexed("picContener", 0), nullptr, {3990, 105, 1890, 3795});
    cmdToFront_ = &f.addButton("cmdToFront", picContener_[0], {0, 0, 1800, 435});
    cmdForward_ = &f.addButton("cmdForward", picContener_[0], {0, 525, 1800, 435});
    cmdBackward_ = &f.addButton("cmdBackward", picContener_[0], {0, 1050, 1800, 435});
    cmdToBack_ = &f.addButton("cmdToBack", picContener_[0], {0, 1575, 1800, 435});
    picContener_[1] = &f.addPictureBox(indexed("picContener", 1), picContener_[0], {0, 2100, 1800, 1590});
    for (int i = 0; i < 5; ++i) {
        const double top = 315.0 * i;
        lblPosition_[i] = &f.addLabel(indexed("lblPosition", i), picContener_[1], {0, top, 615, 180});
        txtPosition_[i] = &f.addTextBox(indexed("txtPosition", i), picContener_[1], {630, top, 855, 270});
        vscPosition_[i] = &f.addScrollBar(indexed("vscPosition", i), picContener_[1], {1470, top, 330, 270});
        // The spinner holds minus the value in steps, so its upper arrow raises the value.
        vscPosition_[i]->setRange(0, i == 4 ? -359 : -5000);
    }
    cmdClose_ = &f.addButton("cmdClose", nullptr, {4620, 4725, 1230, 435});
    cmdNodeShow_ = &f.addButton("cmdNodeShow", nullptr, {5880, 2205, 225, 1530});
    imgV_ = &f.addImage("imgV", nullptr, {5985, 105, 60, 4890});
    fxgNodes_ = &f.addGrid("fxgNodes", nullptr, {6090, 105, 4425, 2325});
    imgH_ = &f.addImage("imgH", nullptr, {6300, 2520, 4050, 60});
    picNode_[0] = &f.addPictureBox(indexed("picNode", 0), nullptr, {6195, 2625, 4350, 2520});
    picNode_[1] = &f.addPictureBox(indexed("picNode", 1), picNode_[0], {0, 0, 4350, 2520});
    txtNode_ = &f.addTextBox("txtNode", nullptr, {6090, 105, 900, 240});
    txtNode_->setVisible(false);

    lstShapes_->addColumn("Objects", 3700);
    lstShapes_->addColumn("Zorder", 0);
    cmdNodeShow_->setFont(kMarlett);
    cmdNodeShow_->setCaption("4");
    cmdClose_->setCancel(true);
    imgV_->setMousePointer(ui::MousePointer::SizeWE);
    imgH_->setMousePointer(ui::MousePointer::SizeNS);
    imgV_->setPicture(splitterPicture(true));
    imgH_->setPicture(splitterPicture(false));
    fxgNodes_->setFixed(1, 1);
    // The panels hold controls and the preview shows a picture: Tab passes them by.
    for (ui::PictureBox* box : {picContener_[0], picContener_[1], picNode_[0], picNode_[1]}) box->setTabStop(false);

    // Events.
    lstShapes_->onItemClick = [this](int row) { rowClick(row); };
    lstShapes_->onItemCheck = [this](int row) { itemCheck(row); };
    cmdToFront_->onClick = [this] { moveRow(kToFront); };
    cmdForward_->onClick = [this] { moveRow(kForward); };
    cmdBackward_->onClick = [this] { moveRow(kBackward); };
    cmdToBack_->onClick = [this] { moveRow(kToBack); };
    cmdClose_->onClick = [this] { form_->unload(); };
    cmdNodeShow_->onClick = [this] { toggleNodePanel(); };
    for (int i = 0; i < 5; ++i) {
        ui::TextBox* box = txtPosition_[i];
        box->onGotFocus = [box] {
            box->setSelStart(0);
            box->setSelLength(static_cast<int>(box->text().size()));
        };
        box->onKeyPress = [this, i](int& k) { positionKeyPress(i, k); };
        box->onValidate = [this, i](bool&) { validatePosition(i); };
        ui::pairSpinner(*box, *vscPosition_[i]);
        vscPosition_[i]->onGotFocus = [this, i] { addin::ignoreErrors([&] { txtPosition_[i]->setFocus(); }); };
        vscPosition_[i]->onChange = [this, i] { spinChange(i); };
    }
    imgV_->onMouseDown = [this](int button, double x, double) {
        if (button == ui::kLeftButton) sngSplitStartX_ = x;
    };
    imgV_->onMouseMove = [this](int button, double x, double) {
        if (button == ui::kLeftButton) splitterVMove(x);
    };
    imgV_->onMouseUp = [this](int button, double, double) {
        if (button == ui::kLeftButton) refreshNodePanel();
    };
    imgH_->onMouseDown = [this](int button, double, double y) {
        if (button == ui::kLeftButton) sngSplitStartY_ = y;
    };
    imgH_->onMouseMove = [this](int button, double, double y) {
        if (button == ui::kLeftButton) splitterHMove(y);
    };
    imgH_->onMouseUp = [this](int button, double, double) {
        if (button == ui::kLeftButton) refreshNodePanel();
    };
    fxgNodes_->onDblClick = [this] { gridDoubleClick(); };
    fxgNodes_->onKeyPress = [this](int& k) { gridKeyPress(k); };
    fxgNodes_->onSelChange = [this] { gridSelChange(); };
    txtNode_->onKeyPress = [this](int& k) { nodeKeyPress(k); };
    txtNode_->onValidate = [this](bool&) {
        if (!bFilling_) commitNode();
    };
    form_->onResize = [this] { layout(); };
    form_->onKeyDown = [this](int& k, int shift) { keyCommand(k, shift); };
    form_->onUnload = [this] {
        history_.clear();
        objShapes.reset();
        objExcelApp.reset();
    };
}

ObjectListWindow::~ObjectListWindow() = default;

void ObjectListWindow::show() {
    registration_ = std::make_unique<dialogs::LoadedRegistration>(s_, *form_);
    load();
    if (form_->loaded()) form_->showModal();
    registration_.reset();
}

void ObjectListWindow::unload() { form_->unload(); }

void ObjectListWindow::load() {
    form_->setWidth(kOpeningWidth);
    for (ui::PictureBox* box : picContener_) box->setBorder(false);

    form_->setCaption(s_.text(100));
    cmdToFront_->setCaption(s_.text(101));
    cmdForward_->setCaption(s_.text(102));
    cmdBackward_->setCaption(s_.text(103));
    cmdToBack_->setCaption(s_.text(104));
    for (int i = 0; i < 5; ++i) lblPosition_[i]->setCaption(s_.text(105 + i));
    cmdClose_->setCaption(s_.text(110));
    strUnitCm_ = s_.text(111);
    strUnitDeg_ = s_.text(112);

    refillList();
    form_->doEvents();

    // The object selected in the host, when it is exactly one listed drawing object.
    std::string selectedText;
    ShapePtr range;
    addin::ignoreErrors([&] {
        range = must(must(objExcelApp).selection()).shapeRange();
        if (range && listed(range->type())) selectedText = rowText(*range);
    });
    if (const std::optional<int> row = selectListedRow(selectedText.empty() ? std::nullopt : findRow(*range, selectedText))) {
        rowClick(*row);
    }
}

void ObjectListWindow::refillList() {
    lstShapes_->setVisible(false);
    lstShapes_->clear();
    fillList();
    lstShapes_->sortOnce(1, true);
    lstShapes_->setVisible(true);
}

std::optional<int> ObjectListWindow::selectListedRow(std::optional<int> found) {
    if (!found && lstShapes_->count() > 0) found = 1;
    if (!found) {
        picContener_[0]->setVisible(false);
        return std::nullopt;
    }
    lstShapes_->selectRow(*found);
    return found;
}

std::string ObjectListWindow::rowText(Shape& shape) { return shape.name() + " ( " + getShapeTypeName(shape) + " )"; }

std::optional<int> ObjectListWindow::findRow(Shape& shape, const std::string& text) {
    const std::vector<int> rows = namesakeRows(rowName(text));
    std::optional<int> found;
    if (rows.size() > 1) {
        addin::ignoreErrors([&] {
            const int32_t z = shape.zOrderPosition();
            const std::vector<ShapePtr> objects = namesakes(rowName(text));
            for (size_t i = 0; i < objects.size() && i < rows.size() && !found; ++i) {
                if (objects[i]->zOrderPosition() == z && lstShapes_->itemText(rows[i]) == text) found = rows[i];
            }
        });
    }
    for (int row = 1; row <= lstShapes_->count() && !found; ++row) {
        if (lstShapes_->itemText(row) == text) found = row;
    }
    return found;
}

// Host failures while the list is filled are ignored: the window opens with every object
// that could be listed.
void ObjectListWindow::fillList() {
    if (!objShapes) return;
    const int32_t count = addin::tryGet([&] { return objShapes->count(); }).value_or(0);
    for (int32_t i = 1; i <= count; ++i) listObject(i);
}

void ObjectListWindow::listObject(int32_t index) {
    // An object whose kind or name cannot be read has no row: it could not be found again.
    ShapePtr shape;
    std::string text;
    if (!addin::ignoreErrors([&] {
            shape = objShapes->item(index);
            if (listed(must(shape).type())) text = rowText(*shape);
        }) ||
        text.empty()) {
        return;
    }
    const int row = lstShapes_->count() + 1;
    lstShapes_->insertItem(row, text);
    // The host's own stacking order is its collection's: the place in it stands in for a
    // stacking position the host could not give.
    const int32_t z = addin::tryGet([&] { return shape->zOrderPosition(); }).value_or(index);
    lstShapes_->setSubItem(row, 1, text::zeroPadded(z, 5));
    const bool visible = addin::tryGet([&] { return shape->visible() != 0; }).value_or(false);
    bFilling_ = true;
    lstShapes_->setChecked(row, visible);
    bFilling_ = false;
}

std::vector<int> ObjectListWindow::namesakeRows(const std::string& name) const {
    std::vector<int> rows;
    for (int r = 1; r <= lstShapes_->count(); ++r) {
        if (text::equalsIgnoreCase(rowName(lstShapes_->itemText(r)), name)) rows.push_back(r);
    }
    return rows;
}

std::vector<ShapePtr> ObjectListWindow::namesakes(const std::string& name) {
    std::vector<ShapePtr> found;
    for (int32_t i = must(objShapes).count(); i >= 1; --i) {
        ShapePtr shape = objShapes->item(i);
        if (text::equalsIgnoreCase(must(shape).name(), name) && listed(shape->type())) found.push_back(std::move(shape));
    }
    return found;
}

ShapePtr ObjectListWindow::getSelectedShape() {
    std::optional<int> row = lstShapes_->selectedRow();
    if (!row || !objShapes) return nullptr;
    const std::string name = rowName(lstShapes_->itemText(*row));
    const std::vector<int> rows = namesakeRows(name);
    if (rows.size() <= 1) return addin::tryGet([&] { return objShapes->item(name); }).value_or(nullptr);
    const auto place = static_cast<size_t>(std::find(rows.begin(), rows.end(), *row) - rows.begin());
    return addin::tryGet([&]() -> ShapePtr {
               std::vector<ShapePtr> objects = namesakes(name);
               return place < objects.size() ? objects[place] : nullptr;
           })
        .value_or(nullptr);
}

void ObjectListWindow::rowClick(int row) {
    const int count = lstShapes_->count();
    cmdToBack_->setEnabled(row != count);
    cmdBackward_->setEnabled(row != count);
    cmdForward_->setEnabled(row != 1);
    cmdToFront_->setEnabled(row != 1);

    ShapePtr shape = getSelectedShape();
    addin::ignoreErrors([&] { must(shape).select(true); });
    bFilling_ = true;
    // A row whose object has gone leaves the position controls as they are.
    if (shape) addin::ignoreErrors([&] { showPositions(*shape); });
    refreshNodePanel();
    txtNode_->setVisible(false);
    cmdClose_->setCancel(true);
    bFilling_ = false;
    picContener_[0]->setVisible(lstShapes_->selectedRow().has_value());
}

void ObjectListWindow::rowClickSelected() {
    if (auto row = lstShapes_->selectedRow()) rowClick(*row);
}

void ObjectListWindow::itemCheck(int row) {
    if (bFilling_) return;
    lstShapes_->selectRow(row);
    addin::ignoreErrors([&] {
        ShapePtr shape = getSelectedShape();
        const int32_t after = lstShapes_->checked(row) ? msoTrue : msoFalse;
        const int32_t before = must(shape).visible() != 0 ? msoTrue : msoFalse;
        if (before == after) return;
        shape->setVisible(after);
        history_.record({shape, VisibilityChange{before, after}});
    });
    // The row is selected now: the buttons, the position boxes and the node panel show
    // its object, so that the next validation acts on what the boxes show.
    rowClick(row);
}

void ObjectListWindow::moveRow(int button) {
    std::optional<int> selected = lstShapes_->selectedRow();
    if (!selected) return;
    const int row = *selected;
    const int count = lstShapes_->count();
    const bool towardFront = button == kToFront || button == kForward;
    if ((towardFront && row == 1) || (!towardFront && row == count)) {
        s_.os.sound.beep();
        return;
    }
    int target = 1;
    int32_t command = msoBringToFront;
    switch (button) {
        case kToFront: target = 1; command = msoBringToFront; break;
        case kForward: target = row - 1; command = msoBringForward; break;
        case kBackward: target = row + 1; command = msoSendBackward; break;
        case kToBack: target = count; command = msoSendToBack; break;
    }
    const bool wasChecked = lstShapes_->checked(row);
    const std::string text = lstShapes_->itemText(row);
    lstShapes_->removeItem(row);
    lstShapes_->insertItem(target, text);
    lstShapes_->selectRow(target);
    bFilling_ = true;
    lstShapes_->setChecked(target, wasChecked);
    bFilling_ = false;
    addin::ignoreErrors([&] {
        ShapePtr shape = getSelectedShape();
        const int32_t before = must(shape).zOrderPosition();
        shape->zOrder(command);
        history_.record({shape, StackingChange{command, before}});
        shape->select(true);
    });
    rowClick(target);
}

// ---------------------------------------------------------------- position panel

double ObjectListWindow::pointsPerCentimetre() { return must(objExcelApp).centimetersToPoints(1); }

std::string ObjectListWindow::formatPosition(int index, double value) const {
    return index == 4 ? text::fixedText(value, 0) + " " + strUnitDeg_ : text::fixedText(value, 2) + " " + strUnitCm_;
}

void ObjectListWindow::showPositions(Shape& shape) {
    const double ppc = pointsPerCentimetre();
    const float values[5] = {shape.left(), shape.top(), shape.width(), shape.height(), shape.rotation()};
    for (int i = 0; i < 5; ++i) {
        addin::ignoreErrors([&] {
            const double steps = i == 4 ? values[i] : values[i] / ppc * 10.0;
            const int32_t position = text::roundToLong(steps);
            const int32_t limit = i == 4 ? 359 : 5000;
            if (position >= 0 && position <= limit) vscPosition_[i]->setValue(-position);
        });
    }
    for (int i = 0; i < 5; ++i) {
        shownPosition_[i] = formatPosition(i, i == 4 ? values[i] : values[i] / ppc);
        txtPosition_[i]->setText(shownPosition_[i]);
    }
}

void ObjectListWindow::positionKeyPress(int index, int& keyAscii) {
    if (keyAscii == ui::key::kEnter) {
        validatePosition(index);
        return;
    }
    if (keyAscii == ui::key::kEscape) {
        bFilling_ = true;
        rowClickSelected();
        txtNode_->setVisible(false);
        bFilling_ = false;
        keyAscii = 0;
        return;
    }
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != '.' && keyAscii != ui::key::kBackspace) keyAscii = 0;
}

void ObjectListWindow::validatePosition(int index, bool spin) {
    if (bFilling_) return;
    ui::TextBox& box = *txtPosition_[index];
    // A box left as the window filled it writes nothing: the shown value is rounded.
    if (box.text() == shownPosition_[index]) return;
    // A number too large for the host is as illegal as a refused one: nothing is written
    // and the refresh shows the object's real values again.
    if (const std::optional<double> typed = text::tryVal(box.text())) {
        addin::ignoreErrors([&] { box.setText(formatPosition(index, *typed)); });
        const std::optional<double> value = text::tryVal(box.text());
        addin::ignoreErrors([&] {
            ShapePtr shape = getSelectedShape();
            Shape& target = must(shape);
            if (!value) return;
            const std::optional<float> single = hostSingle(index == 4 ? *value : *value * pointsPerCentimetre());
            if (!single) return;
            // The exact value before, for undo; the same value is not written again.
            const float before = positionValue(target, index);
            if (before == *single) return;
            setPositionValue(target, index, *single);
            history_.record({shape, PositionChange{index, before, *single}}, spin, lstShapes_->selectedRow().value_or(0));
        });
    }
    bFilling_ = true;
    rowClickSelected();
    bFilling_ = false;
}

void ObjectListWindow::spinChange(int index) {
    if (bFilling_) return;
    const double factor = index == 4 ? 1.0 : 10.0;
    ui::TextBox& box = *txtPosition_[index];
    ui::ScrollBar& spin = *vscPosition_[index];
    addin::ignoreErrors([&] { box.setFocus(); });
    const std::optional<double> typed = text::tryVal(box.text());
    if (!typed) {
        // Text too long to be a number: the click shows the object's values again.
        bFilling_ = true;
        rowClickSelected();
        bFilling_ = false;
        return;
    }
    const double t = *typed;
    const double p = spin.value();
    const double d = std::trunc(std::fabs(std::fabs(p) - std::fabs(t) * factor));
    if (d > 1) {
        // The spin is away from the typed value: bring it there first. Its own change
        // event then writes and applies the value. A value beyond the spin's range
        // cannot be reached; it is applied as typed and the spin stays.
        const double target = std::fabs(t) * factor;
        const double limit = index == 4 ? 359 : 5000;
        if (target <= limit) spin.setValue(-text::roundToLong(target));
    } else {
        bFilling_ = true;
        box.setText(text::shortestText(-p / factor));
        bFilling_ = false;
    }
    validatePosition(index, true);
}

// ---------------------------------------------------------------- the command

void objectsListClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    ObjectListWindow window(s);
    addin::ignoreErrors([&] { window.objShapes = must(s.app->activeSheet()).shapes(); });
    window.objExcelApp = s.app;
    if (!window.objShapes) {
        s.os.sound.beep();
        window.unload();
        return;
    }
    window.show();
}

}  // namespace qm::objects
