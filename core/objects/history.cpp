// The Object List's undo history.
#include "core/objects/history.h"

#include "core/addin/errors.h"

namespace qm::objects {

float positionValue(host::Shape& shape, int index) {
    switch (index) {
        case 0: return shape.left();
        case 1: return shape.top();
        case 2: return shape.width();
        case 3: return shape.height();
        default: return shape.rotation();
    }
}

void setPositionValue(host::Shape& shape, int index, float value) {
    switch (index) {
        case 0: shape.setLeft(value); break;
        case 1: shape.setTop(value); break;
        case 2: shape.setWidth(value); break;
        case 3: shape.setHeight(value); break;
        default: shape.setRotation(value); break;
    }
}

void moveNodes(host::ShapeNodes& nodes, const std::vector<NodeMove>& moves, bool backward) {
    const size_t n = moves.size();
    const auto at = [&](size_t k) -> const NodeMove& { return backward ? moves[n - 1 - k] : moves[k]; };
    size_t done = 0;
    try {
        for (; done < n; ++done) {
            const host::NodePoint p = backward ? at(done).before : at(done).after;
            nodes.setPosition(at(done).index, p.x, p.y);
        }
    } catch (...) {
        for (size_t k = done; k-- > 0;) {
            const host::NodePoint p = backward ? at(k).after : at(k).before;
            addin::ignoreErrors([&] { nodes.setPosition(at(k).index, p.x, p.y); });
        }
        throw;
    }
}

void History::record(Step step, bool spin, int row) {
    redo_.clear();
    const auto* position = std::get_if<PositionChange>(&step.change);
    if (spin && position && spinning_ && *spinning_ == std::make_pair(position->index, row) && !undo_.empty()) {
        auto& joined = std::get<PositionChange>(undo_.back().change);
        joined.after = position->after;
        // Clicks that came back to where they started leave nothing to undo.
        if (joined.after == joined.before) {
            undo_.pop_back();
            spinning_.reset();
        }
        return;
    }
    undo_.push_back(std::move(step));
    if (spin && position) spinning_ = std::make_pair(position->index, row);
    else spinning_.reset();
}

void History::undone() {
    spinning_.reset();
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
}

void History::redone() {
    spinning_.reset();
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
}

void History::dropUndoable() {
    spinning_.reset();
    undo_.clear();
}

void History::dropRedoable() {
    spinning_.reset();
    redo_.pop_back();
    undo_.clear();
}

void History::clear() {
    spinning_.reset();
    undo_.clear();
    redo_.clear();
}

}  // namespace qm::objects
