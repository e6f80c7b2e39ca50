// The Object List window's keyboard commands: undo and redo of its changes, and the node
// grid copied to and pasted from the clipboard as a table of text.
#include <cstdlib>

#include "core/addin/errors.h"
#include "core/host/constants.h"
#include "core/objects/node_table.h"
#include "core/objects/object_list.h"
#include "core/picture/clipboard_snapshot.h"
#include "core/text/number.h"

namespace qm::objects {

using namespace host;

namespace {

// Steps the object to a stacking place with the commands that move it by one place.
void stackAt(Shape& shape, int32_t place) {
    const int32_t now = shape.zOrderPosition();
    const int32_t command = now < place ? msoBringForward : msoSendBackward;
    for (int32_t moved = 0, n = std::abs(place - now); moved < n; ++moved) {
        try {
            shape.zOrder(command);
        } catch (...) {
            // Back where it was, so that a refused step changes nothing.
            const int32_t back = command == msoBringForward ? msoSendBackward : msoBringForward;
            for (int32_t k = 0; k < moved; ++k) addin::ignoreErrors([&] { shape.zOrder(back); });
            throw;
        }
    }
}

}  // namespace

void ObjectListWindow::keyCommand(int& keyCode, int shift) {
    if ((shift & ui::kCtrlMask) == 0) return;
    const bool shifted = (shift & ui::kShiftMask) != 0;
    if (keyCode == 'Z' && !shifted) {
        stepHistory(true);
    } else if ((keyCode == 'Y' && !shifted) || (keyCode == 'Z' && shifted)) {
        stepHistory(false);
    } else if (keyCode == 'C' && !shifted && fxgNodes_->hasFocus()) {
        copyNodes();
    } else if (keyCode == 'V' && !shifted && fxgNodes_->hasFocus()) {
        pasteNodes();
    } else {
        return;
    }
    keyCode = 0;
}

void ObjectListWindow::stepHistory(bool backward) {
    Step* step = backward ? history_.undoable() : history_.redoable();
    if (!step) {
        s_.os.sound.beep();
        return;
    }
    if (!addin::ignoreErrors([&] { applyStep(*step, backward); })) {
        s_.os.sound.beep();
        if (backward) history_.dropUndoable();
        else history_.dropRedoable();
        return;
    }
    const ShapePtr shape = step->shape;
    if (backward) history_.undone();
    else history_.redone();
    closeNodeEditor();
    showObject(*shape);
}

void ObjectListWindow::applyStep(Step& step, bool backward) {
    Shape& shape = must(step.shape);
    if (const auto* c = std::get_if<PositionChange>(&step.change)) {
        setPositionValue(shape, c->index, backward ? c->before : c->after);
    } else if (const auto* v = std::get_if<VisibilityChange>(&step.change)) {
        shape.setVisible(backward ? v->before : v->after);
    } else if (const auto* z = std::get_if<StackingChange>(&step.change)) {
        if (backward) stackAt(shape, z->before);
        else shape.zOrder(z->command);
    } else if (const auto* n = std::get_if<NodesChange>(&step.change)) {
        ShapeNodesPtr nodes = shape.nodes();
        moveNodes(must(nodes), n->moves, backward);
    }
}

void ObjectListWindow::showObject(Shape& shape) {
    std::string text;
    addin::ignoreErrors([&] { text = rowText(shape); });
    refillList();
    const std::optional<int> row = selectListedRow(text.empty() ? std::nullopt : findRow(shape, text));
    if (!row) return;
    bFilling_ = true;
    rowClick(*row);
    bFilling_ = false;
}

void ObjectListWindow::closeNodeEditor() {
    if (!txtNode_->visible()) return;
    bFilling_ = true;  // the editor losing the focus writes nothing
    if (txtNode_->hasFocus()) addin::ignoreErrors([&] { fxgNodes_->setFocus(); });
    hideNodeEditor();
}

void ObjectListWindow::copyNodes() {
    if (shownNodes_.empty()) {
        s_.os.sound.beep();
        return;
    }
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r <= static_cast<int>(shownNodes_.size()); ++r) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (int c = 0; c < fxgNodes_->cols(); ++c) cells.push_back(fxgNodes_->textMatrix(r, c));
    }
    // The table replaces what the user had copied; when it cannot be placed, that stays.
    platform::Clipboard& clipboard = s_.os.clipboard;
    const picture::ClipboardSnapshot before = picture::ClipboardSnapshot::take(clipboard);
    if (!addin::ignoreErrors([&] {
            clipboard.clear();
            clipboard.setText(tableText(rows), platform::cf::kText);
        })) {
        before.restore(clipboard);
        s_.os.sound.beep();
    }
}

void ObjectListWindow::pasteNodes() {
    std::optional<std::string> text;
    if (!shownNodes_.empty()) addin::ignoreErrors([&] { text = s_.os.clipboard.getText(platform::cf::kText); });
    const auto table = text ? parseNodeTable(*text) : std::nullopt;
    if (!table) {
        s_.os.sound.beep();
        return;
    }
    // Every node is checked before the first is moved.
    bool refused = false;
    bool moved = false;
    const bool done = addin::ignoreErrors([&] {
        ShapePtr shape = getSelectedShape();
        ShapeNodesPtr nodes = must(shape).nodes();
        const int32_t count = must(nodes).count();
        if (count != static_cast<int32_t>(table->size()) || static_cast<size_t>(count) != shownNodes_.size()) {
            refused = true;
            return;
        }
        const double ppc = pointsPerCentimetre();
        std::vector<NodeMove> moves;
        for (int32_t i = 1; i <= count; ++i) {
            const NodePoint before = shownNodes_[static_cast<size_t>(i - 1)];
            const auto& [xCm, yCm] = (*table)[static_cast<size_t>(i - 1)];
            // A coordinate given as the grid shows it keeps the node's exact one.
            const auto coordinate = [&](double cm, int col, float exact) -> std::optional<float> {
                if (cm == text::val(fxgNodes_->textMatrix(i, col))) return exact;
                return hostSingle(cm * ppc);
            };
            const std::optional<float> x = coordinate(xCm, 1, before.x);
            const std::optional<float> y = coordinate(yCm, 2, before.y);
            if (!x || !y) {
                refused = true;
                return;
            }
            if (*x != before.x || *y != before.y) moves.push_back({i, before, {*x, *y}});
        }
        if (moves.empty()) return;
        moveNodes(*nodes, moves, false);
        history_.record({shape, NodesChange{std::move(moves)}});
        moved = true;
    });
    if (!done || refused) {
        s_.os.sound.beep();
        return;
    }
    if (!moved) return;
    bFilling_ = true;
    rowClickSelected();
    bFilling_ = false;
}

}  // namespace qm::objects
