// The Object List window's layout and splitters, its node grid with the in-place editor,
// and the preview of the selected object.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/addin/errors.h"
#include "core/host/constants.h"
#include "core/objects/object_list.h"
#include "core/picture/bmp.h"
#include "core/picture/clipboard_snapshot.h"
#include "core/text/number.h"

namespace qm::objects {
namespace {

using namespace host;

constexpr double kMinListOrGrid = 1000;
constexpr double kMinHeight = 5000;
constexpr double kMinWidthFolded = 3000;
constexpr double kMinWidthShown = 5000;
constexpr double kPi = 3.14159265358979;

const char* editingText(int32_t t) {
    switch (t) {
        case msoEditingAuto: return "Auto";
        case msoEditingCorner: return "Corner";
        case msoEditingSmooth: return "Smooth";
        case msoEditingSymmetric: return "Symmetric";
        default: return "Unknown";
    }
}

const char* segmentText(int32_t t) {
    switch (t) {
        case msoSegmentLine: return "Line";
        case msoSegmentCurve: return "Curve";
        default: return "Unknown";
    }
}

// The least extent of a freeform's preview, in points.
constexpr double kLeastExtent = 10;

// A length as the single-precision number the host takes; error 6 when it does not fit.
float single(double v) {
    const std::optional<float> f = hostSingle(v);
    if (!f) host::raise(host::err::kOverflow);
    return *f;
}

// A coordinate in single precision for a comparison, saturated rather than infinite.
float comparable(double v) { return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX))); }

constexpr uint32_t kNodeMarker = 0xFF0000;             // RGB(0, 0, 255)
constexpr uint32_t kFrameText = 70 | 70 << 8 | 70 << 16;  // RGB(70, 70, 70)

}  // namespace

std::vector<uint8_t> splitterPicture(bool vertical) {
    picture::Image img = picture::solidImage(4, 4, 0xFFFFFF);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            if ((vertical ? x : y) % 2 == 0) img.at(x, y) = 0x808080;
        }
    }
    return picture::encodeBmp(img);
}

// ---------------------------------------------------------------- layout

void ObjectListWindow::layout() {
    ui::Form& f = *form_;
    if (f.minimized()) return;
    if (f.height() < kMinHeight) f.setHeight(kMinHeight);
    const bool shown = cmdNodeShow_->caption() == "3";
    const double P = picContener_[0]->width();
    const double N = cmdNodeShow_->width();
    const double px4 = std::round(4 * f.twipsPerPixelX());
    if (!shown) {
        if (f.width() < kMinWidthFolded) f.setWidth(kMinWidthFolded);
    } else if (f.width() < kMinWidthShown) {
        f.setWidth(kMinWidthShown);
    }
    const double SW = f.scaleWidth();
    const double SH = f.scaleHeight();
    double listWidth = SW - P - N - 100;
    if (shown) {
        double G = fxgNodes_->width();
        if (listWidth - G < kMinListOrGrid) {
            fxgNodes_->setWidth(listWidth - kMinListOrGrid);
            G = fxgNodes_->width();
        }
        listWidth -= G;
    }
    lstShapes_->move({0, 0, listWidth, SH});
    lstShapes_->setColumnWidth(0, lstShapes_->width() - 50);
    picContener_[0]->move({lstShapes_->width() + 50, 0, P, picContener_[0]->height()});
    cmdNodeShow_->move({picContener_[0]->left() + P, (SH - cmdNodeShow_->height()) / 2, N, cmdNodeShow_->height()});
    imgV_->move({cmdNodeShow_->left() + (N - px4) / 2, 50, px4, SH - 100});
    cmdClose_->move({picContener_[0]->left() + P - cmdClose_->width(), SH - cmdClose_->height() - 50,
                     cmdClose_->width(), cmdClose_->height()});
    if (!shown) {
        fxgNodes_->setVisible(false);
        picNode_[0]->setVisible(false);
        imgH_->setVisible(false);
        imgV_->setVisible(false);
        return;
    }
    if (SH - picNode_[0]->height() - 50 < kMinListOrGrid) picNode_[0]->setHeight(SH - 50 - kMinListOrGrid);
    fxgNodes_->move({cmdNodeShow_->left() + N + 50, 0, fxgNodes_->width(), SH - picNode_[0]->height() - 50});
    imgH_->move({fxgNodes_->left(), fxgNodes_->top() + fxgNodes_->height() + 25 - px4 / 2, fxgNodes_->width(), px4});
    picNode_[0]->move({fxgNodes_->left(), fxgNodes_->height() + 50, fxgNodes_->width(), picNode_[0]->height()});
    fxgNodes_->setVisible(true);
    picNode_[0]->setVisible(true);
    imgH_->setVisible(true);
    imgV_->setVisible(true);
    followLayout();
}

void ObjectListWindow::followLayout() {
    if (txtNode_->visible()) placeNodeEditor();
    if (preview_) paintPreview(*preview_);
}

void ObjectListWindow::splitterVMove(double x) {
    const double P = picContener_[0]->width();
    const double SW = form_->scaleWidth();
    double d = sngSplitStartX_ - x;
    const double L = imgV_->left() - d;
    if (L < P + kMinListOrGrid) d = imgV_->left() - (P + kMinListOrGrid);
    if (L > SW - kMinListOrGrid) d = imgV_->left() - (SW - kMinListOrGrid);
    imgV_->setLeft(imgV_->left() - d);
    lstShapes_->setWidth(lstShapes_->width() - d);
    picContener_[0]->setLeft(picContener_[0]->left() - d);
    cmdClose_->setLeft(cmdClose_->left() - d);
    cmdNodeShow_->setLeft(cmdNodeShow_->left() - d);
    for (ui::Control* c : std::initializer_list<ui::Control*>{fxgNodes_, imgH_, picNode_[0]}) {
        ui::Bounds b = c->bounds();
        b.left -= d;
        b.width += d;
        c->move(b);
    }
    followLayout();
}

void ObjectListWindow::splitterHMove(double y) {
    const double SH = form_->scaleHeight();
    double d = sngSplitStartY_ - y;
    const double T = imgH_->top() - d;
    if (T < kMinListOrGrid) d = imgH_->top() - kMinListOrGrid;
    if (T > SH - kMinListOrGrid) d = imgH_->top() - (SH - kMinListOrGrid);
    imgH_->setTop(imgH_->top() - d);
    fxgNodes_->setHeight(fxgNodes_->height() - d);
    ui::Bounds b = picNode_[0]->bounds();
    b.top -= d;
    b.height += d;
    picNode_[0]->move(b);
    followLayout();
}

// ---------------------------------------------------------------- node panel

void ObjectListWindow::toggleNodePanel() {
    if (cmdNodeShow_->caption() == "3") {
        cmdNodeShow_->setCaption("4");
        form_->setWidth(form_->width() - fxgNodes_->width());
    } else {
        cmdNodeShow_->setCaption("3");
        form_->setWidth(form_->width() + fxgNodes_->width());
    }
    if (cmdNodeShow_->caption() == "3") refreshNodePanel();
}

void ObjectListWindow::refreshNodePanel() {
    if (cmdNodeShow_->caption() == "4") return;
    ui::Grid& g = *fxgNodes_;
    const int topRow = g.topRow();
    const int leftCol = g.leftCol();
    const int row = g.row();
    const int col = g.col();
    // Hidden while it is filled, the grid would lose the keyboard focus for good.
    const bool focused = g.hasFocus();
    g.setVisible(false);
    shownNodes_.clear();
    try {
        g.setRows(2);
        g.setCols(5);
        g.setColAlignment(0, ui::CellAlign::CenterCenter);
        g.setColAlignment(1, ui::CellAlign::RightCenter);
        g.setColAlignment(2, ui::CellAlign::RightCenter);
        g.setColAlignment(3, ui::CellAlign::LeftCenter);
        g.setColAlignment(4, ui::CellAlign::LeftCenter);
        for (int c = 0; c < 5; ++c) g.setFixedAlignment(c, ui::CellAlign::CenterCenter);
        g.clearTexts();
        g.setTextMatrix(0, 1, "X(cm)");
        g.setTextMatrix(0, 2, "Y(cm)");
        g.setTextMatrix(0, 3, "Editing");
        g.setTextMatrix(0, 4, "Segment");
        g.setColWidth(0, form_->textWidth("000") + 200);
        g.setColWidth(1, form_->textWidth("9999.99") + 200);
        g.setColWidth(2, form_->textWidth("9999.99") + 200);
        g.setColWidth(3, form_->textWidth("Editing") + 200);
        g.setColWidth(4, form_->textWidth("Segment") + 200);

        ShapePtr shape = getSelectedShape();
        int32_t nodeCount = 0;
        ShapeNodesPtr nodes;
        addin::ignoreErrors([&] {
            if (must(shape).type() == msoFreeform) {
                nodes = shape->nodes();
                nodeCount = must(nodes).count();
            }
        });
        if (nodeCount == 0) {
            g.setBackColor(form_->backColor());
            for (int c = 1; c <= 4; ++c) g.setTextMatrix(1, c, std::string(20, '-'));
        }
        if (nodeCount > 0) {
            g.setBackColor(txtNode_->backColor());
            const double ppc = pointsPerCentimetre();
            for (int32_t i = 1; i <= nodeCount; ++i) {
                g.setRows(i + 1);
                ShapeNodePtr node = nodes->item(i);
                const NodePoint p = must(node).points();
                g.setTextMatrix(i, 0, text::zeroPadded(i, 3));
                g.setTextMatrix(i, 1, text::fixedText(p.x / ppc, 2));
                g.setTextMatrix(i, 2, text::fixedText(p.y / ppc, 2));
                g.setTextMatrix(i, 3, editingText(node->editingType()));
                g.setTextMatrix(i, 4, segmentText(node->segmentType()));
                g.setCellBackColor(i, 3, form_->backColor());
                g.setCellBackColor(i, 4, form_->backColor());
                shownNodes_.push_back(p);
            }
        }
        drawPreview(shape, shownNodes_);
        g.setTabStop(nodeCount > 0);
        if (topRow < g.rows() && leftCol < g.cols()) {
            g.setLeftCol(leftCol);
            g.setTopRow(topRow);
        }
        // The current cell stays where it was (the node just edited): the next digit typed
        // edits that node again. An editor left open (a splitter was dragged) stays so.
        if (row < g.rows() && col < g.cols()) {
            const bool filling = bFilling_;
            bFilling_ = true;
            g.setCurrentCell(row, col);
            bFilling_ = filling;
        }
    } catch (const std::exception&) {
        // The refresh ends at the failure: no half-drawn preview and no spacer left on the
        // sheet; the grid shows what it has.
        clearPreview();
    }
    g.setVisible(true);
    if (focused) addin::ignoreErrors([&] { g.setFocus(); });
}

bool ObjectListWindow::cellEditable() {
    const ui::Grid& g = *fxgNodes_;
    return g.cellBackColor(g.row(), g.col()) != form_->backColor();
}

void ObjectListWindow::openNodeEditor(const std::string& text, bool selectAll) {
    const ui::Grid& g = *fxgNodes_;
    nodeEditorCell_ = {g.row(), g.col()};
    // Committed with the cell's own text, the editor writes nothing.
    nodeEditorText_ = g.textMatrix(g.row(), g.col());
    placeNodeEditor();
    txtNode_->setVisible(true);
    cmdClose_->setCancel(false);  // Escape must reach the editor
    txtNode_->bringToFront();
    bFilling_ = true;
    txtNode_->setText(text);
    txtNode_->setSelStart(selectAll ? 0 : static_cast<int>(text.size()));
    txtNode_->setSelLength(selectAll ? static_cast<int>(text.size()) : 0);
    addin::ignoreErrors([&] { txtNode_->setFocus(); });
    bFilling_ = false;
}

// Over the cell being edited, where the grid draws it now (scrolled, moved or resized).
void ObjectListWindow::placeNodeEditor() {
    const ui::Grid& g = *fxgNodes_;
    if (!nodeEditorCell_) return;
    const auto [row, col] = *nodeEditorCell_;
    if (row >= g.rows() || col >= g.cols()) return;
    txtNode_->move({g.left() + g.colPos(col), g.top() + g.rowPos(row), g.colWidth(col), g.rowHeight(row)});
}

void ObjectListWindow::gridDoubleClick() {
    if (!cellEditable()) return;
    openNodeEditor(fxgNodes_->textMatrix(fxgNodes_->row(), fxgNodes_->col()), true);
}

void ObjectListWindow::gridKeyPress(int& keyAscii) {
    if (!cellEditable() || keyAscii < '0' || keyAscii > '9') return;
    const std::string typed(1, static_cast<char>(keyAscii));
    keyAscii = 0;
    openNodeEditor(typed, false);
}

void ObjectListWindow::gridSelChange() {
    if (bFilling_) return;  // the refresh puts the current cell back
    if (txtNode_->visible()) commitNode();
    cmdClose_->setCancel(true);
    txtNode_->setVisible(false);
}

void ObjectListWindow::nodeKeyPress(int& keyAscii) {
    if (keyAscii == ui::key::kEnter) {
        commitNode();
        return;
    }
    if (keyAscii == ui::key::kEscape) {
        hideNodeEditor();
        keyAscii = 0;
        return;
    }
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != '.' && keyAscii != ui::key::kBackspace) keyAscii = 0;
}

void ObjectListWindow::hideNodeEditor() {
    bFilling_ = true;
    txtNode_->setVisible(false);
    bFilling_ = false;
    cmdClose_->setCancel(true);
}

void ObjectListWindow::commitNode() {
    if (bFilling_) return;
    if (txtNode_->text() == nodeEditorText_) {
        hideNodeEditor();  // nothing typed: the node keeps its exact place
        return;
    }
    // A number too large for the host is not written; the refresh shows the node where it is.
    const std::optional<double> value = text::tryVal(txtNode_->text());
    if (value && nodeEditorCell_) {
        const int index = nodeEditorCell_->first;
        const int col = nodeEditorCell_->second;
        addin::ignoreErrors([&] {
            ShapePtr shape = getSelectedShape();
            ShapeNodesPtr nodes = must(shape).nodes();
            const NodePoint p = must(must(nodes).item(index)).points();
            const std::optional<float> v = hostSingle(*value * pointsPerCentimetre());
            if (!v || (col != 1 && col != 2)) return;
            const NodePoint after = col == 1 ? NodePoint{*v, p.y} : NodePoint{p.x, *v};
            if (after.x == p.x && after.y == p.y) return;
            nodes->setPosition(index, after.x, after.y);
            history_.record({shape, NodesChange{{NodeMove{index, p, after}}}});
        });
    }
    bFilling_ = true;
    rowClickSelected();
    bFilling_ = false;
    cmdClose_->setCancel(true);
}

// ---------------------------------------------------------------- preview

void ObjectListWindow::clearPreview() {
    preview_.reset();
    addin::ignoreErrors([&] { picNode_[0]->clear(); });
    addin::ignoreErrors([&] { picNode_[1]->clear(); });
    if (spacer_) {
        addin::ignoreErrors([&] { spacer_->remove(); });
        spacer_.reset();
    }
}

namespace {

// Switches a freeform's 3D and shadow off for its picture and back on afterwards, and
// shows a hidden object for the copy and hides it again, on every path out.
class PreviewRestore {
public:
    explicit PreviewRestore(Shape& shape) : shape_(shape) {}
    ~PreviewRestore() {
        if (threeD_) addin::ignoreErrors([&] { shape_.setFormatVisible(ShapeFormat::ThreeD, msoTrue); });
        if (shadow_) addin::ignoreErrors([&] { shape_.setFormatVisible(ShapeFormat::Shadow, msoTrue); });
        if (hidden_) addin::ignoreErrors([&] { shape_.setVisible(msoFalse); });
    }
    PreviewRestore(const PreviewRestore&) = delete;
    PreviewRestore& operator=(const PreviewRestore&) = delete;

    void showForCopy() {
        if (shape_.visible() != 0) return;
        shape_.setVisible(msoTrue);
        hidden_ = true;
    }
    // Returns the note text for what was released.
    std::string releaseEffects() {
        std::string note;
        if (shape_.formatVisible(ShapeFormat::ThreeD) != 0) {
            shape_.setFormatVisible(ShapeFormat::ThreeD, msoFalse);
            threeD_ = true;
            note = "Release 3D";
        }
        if (shape_.formatVisible(ShapeFormat::Shadow) != 0) {
            shape_.setFormatVisible(ShapeFormat::Shadow, msoFalse);
            shadow_ = true;
            note = note.empty() ? "Release Shadow" : note + "&Shadow";
        }
        return note;
    }
    // The effects are back on once the picture is taken, before the object is hidden.
    void restoreEffects() {
        if (threeD_) shape_.setFormatVisible(ShapeFormat::ThreeD, msoTrue);
        threeD_ = false;
        if (shadow_) shape_.setFormatVisible(ShapeFormat::Shadow, msoTrue);
        shadow_ = false;
    }

private:
    Shape& shape_;
    bool hidden_ = false;
    bool threeD_ = false;
    bool shadow_ = false;
};

std::optional<platform::Picture> takePicture(platform::Clipboard& clipboard) {
    for (int32_t format : {platform::cf::kEnhMetafile, platform::cf::kBitmap}) {
        if (clipboard.hasFormat(format)) {
            if (auto p = clipboard.getPicture(format)) return p;
        }
    }
    return std::nullopt;
}

}  // namespace

// Reads what the preview shows from the host (the picture through the clipboard), then
// paints it.
void ObjectListWindow::drawPreview(const ShapePtr& shapePtr, const std::vector<NodePoint>& nodePoints) {
    preview_.reset();
    picNode_[0]->clear();
    picNode_[1]->clear();
    if (!shapePtr) return;
    Shape& shape = *shapePtr;

    const double left = shape.left();
    const double top = shape.top();
    const double width = shape.width();
    const double height = shape.height();
    const double cx = left + width / 2;
    const double cy = top + height / 2;
    const double a = text::tryVal(txtPosition_[4]->text()).value_or(0) * kPi / 180.0;
    double bw = std::fabs(width * std::cos(a)) + std::fabs(height * std::sin(a));
    double bh = std::fabs(height * std::cos(a)) + std::fabs(width * std::sin(a));

    // The nodes as the grid read them a moment ago.
    const std::vector<NodePoint>& points = nodePoints;
    const bool hasNodes = !points.empty();
    double ew = bw;
    double eh = bh;
    if (hasNodes) {
        double minX = cx, maxX = cx, minY = cy, maxY = cy;
        for (const NodePoint& p : points) {
            minX = std::min(minX, static_cast<double>(p.x));
            maxX = std::max(maxX, static_cast<double>(p.x));
            minY = std::min(minY, static_cast<double>(p.y));
            maxY = std::max(maxY, static_cast<double>(p.y));
        }
        ew = 2 * std::max(maxX - cx, cx - minX);
        eh = 2 * std::max(maxY - cy, cy - minY);
        // Nodes on one line (or at one point) would leave the picture and the canvas no
        // height (width): the line and the numbers of its nodes need room.
        const double least = std::max(kLeastExtent, std::max(ew, eh) / 4);
        ew = std::max(ew, least);
        eh = std::max(eh, least);
        bw = std::max(bw, least);
        bh = std::max(bh, least);
    }

    Preview p;
    p.width = ew + 10;
    p.height = eh + 10;
    const double uw = p.width;
    const double uh = p.height;
    p.name = shape.name();

    // The user's clipboard comes back as it was, however the preview ends.
    picture::ClipboardGuard clipboardGuard(s_.os.clipboard);
    PreviewRestore restore(shape);
    restore.showForCopy();
    if (!hasNodes) {
        s_.os.clipboard.clear();
        shape.copyPicture();
        p.picture = takePicture(s_.os.clipboard);
        p.pictureLeft = (uw - bw) / 2;
        p.pictureTop = (uh - bh) / 2;
        p.pictureWidth = bw;
        p.pictureHeight = bh;
    } else {
        p.note = restore.releaseEffects();
        double boxLeft = cx - bw / 2, boxTop = cy - bh / 2, boxWidth = bw, boxHeight = bh;
        double overLeft = 0, overTop = 0;
        if (boxLeft < 0) {
            boxWidth += boxLeft;
            overLeft = boxLeft;
            boxLeft = 0;
        }
        if (boxTop < 0) {
            boxHeight += boxTop;
            overTop = boxTop;
            boxTop = 0;
        }
        spacer_ = must(objShapes).addShape(msoShapeRectangle, single(boxLeft), single(boxTop), single(boxWidth),
                                           single(boxHeight));
        spacer_->setFormatVisible(ShapeFormat::Fill, msoFalse);
        spacer_->setFormatVisible(ShapeFormat::Line, msoFalse);
        addin::ignoreErrors([&] {
            if (spacer_->formatVisible(ShapeFormat::Shadow) != 0) spacer_->setFormatVisible(ShapeFormat::Shadow, msoFalse);
        });
        addin::ignoreErrors([&] {
            if (spacer_->formatVisible(ShapeFormat::ThreeD) != 0) spacer_->setFormatVisible(ShapeFormat::ThreeD, msoFalse);
        });
        objShapes->range({shape.name(), spacer_->name()})->select(true);
        s_.os.clipboard.clear();
        must(must(objExcelApp).selection()).copy();
        p.picture = takePicture(s_.os.clipboard);
        p.pictureLeft = (uw - bw) / 2 - overLeft;
        p.pictureTop = (uh - bh) / 2 - overTop;
        p.pictureWidth = boxWidth;
        p.pictureHeight = boxHeight;
        spacer_->remove();
        spacer_.reset();
        shape.select(true);
        restore.restoreEffects();
    }
    for (const NodePoint& n : points) p.markers.push_back({uw / 2 + (n.x - cx), uh / 2 + (n.y - cy)});
    preview_ = std::move(p);
    paintPreview(*preview_);
}

// Fits the canvas into the frame and draws the preview on it; runs again whenever the
// frame changes size.
void ObjectListWindow::paintPreview(const Preview& p) {
    ui::PictureBox& frame = *picNode_[0];
    ui::PictureBox& canvas = *picNode_[1];
    frame.clear();
    canvas.clear();
    frame.setScaleTwips();
    frame.setDrawFont({"MS UI Gothic", 8, true, true, 128});
    frame.setDrawColor(kFrameText);
    canvas.setDrawFont({"MS UI Gothic", 8, false, false, 128});
    canvas.setDrawColor(0);

    // The canvas keeps the preview's proportions inside the frame, between its two lines
    // of text; a frame too small for it gets a canvas of no size.
    const double lineHeight = frame.textHeight("Ag") + 20;
    const double availW = std::max(0.0, frame.scaleWidth());
    const double availH = std::max(0.0, frame.scaleHeight() - 2 * lineHeight);
    double cw, ch;
    if (p.height * availW < p.width * availH) {
        cw = availW;
        ch = p.height * availW / p.width;
    } else {
        ch = availH;
        cw = p.width * availH / p.height;
    }
    canvas.move({(frame.scaleWidth() - cw) / 2, (availH - ch) / 2 + lineHeight, cw, ch});
    canvas.setUserScale(0, 0, p.width, p.height);
    frame.printText(10, 10, p.name);
    if (p.picture) canvas.paintPicture(*p.picture, p.pictureLeft, p.pictureTop, p.pictureWidth, p.pictureHeight);
    if (!p.note.empty()) {
        frame.printText(frame.scaleWidth() - 10 - frame.textWidth(p.note), frame.scaleHeight() - 10 - frame.textHeight(p.note),
                        p.note);
    }
    int number = 0;
    for (const Preview::Marker& m : p.markers) {
        canvas.fillBox(m.x - 1, m.y - 1, m.x + 1, m.y + 1, kNodeMarker);
        const std::string text = " " + std::to_string(++number);
        // Toward the canvas centre, compared in single precision.
        const double tx = comparable(m.x) < comparable(p.width / 2) ? m.x + 1 : m.x - 1 - canvas.textWidth(text);
        const double ty = comparable(m.y) < comparable(p.height / 2) ? m.y + 1 : m.y - 1 - canvas.textHeight(text);
        canvas.printText(tx, ty, text);
    }
}

}  // namespace qm::objects
