// The Object List's undo history: each change the window made to the sheet, with the
// values the object had before it (read from the host, exact) and after it. It lives
// while the window is open; the window is modal, so nothing else changes the sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/host/host.h"

namespace qm::objects {

// Left, top, width, height (points) or rotation (degrees): index 0 to 4, as the boxes.
struct PositionChange {
    int index = 0;
    float before = 0;
    float after = 0;
};

struct VisibilityChange {
    int32_t before = 0;  // msoTrue / msoFalse
    int32_t after = 0;
};

// A stacking button: redone by its command, undone by stepping the object back to the
// place it had.
struct StackingChange {
    int32_t command = 0;
    int32_t before = 0;  // ZOrderPosition
};

struct NodeMove {
    int32_t index = 0;  // from 1
    host::NodePoint before;
    host::NodePoint after;
};

// One node typed in the editor, or every node of a paste.
struct NodesChange {
    std::vector<NodeMove> moves;
};

// The value of box `index` (PositionChange) as the host holds it, and setting it.
float positionValue(host::Shape& shape, int index);
void setPositionValue(host::Shape& shape, int index, float value);

// Moves the nodes to their points after the change (before it, backward: last node
// first). When the host refuses one, the nodes already moved go back and the failure
// passes on: never half the nodes.
void moveNodes(host::ShapeNodes& nodes, const std::vector<NodeMove>& moves, bool backward);

using Change = std::variant<PositionChange, VisibilityChange, StackingChange, NodesChange>;

struct Step {
    host::ShapePtr shape;
    Change change;
};

class History {
public:
    // A new change: the redo steps go. A spinner's change of the same box of the object of
    // the same row as the step before, with nothing done in between, joins that step.
    void record(Step step, bool spin = false, int row = 0);
    // The step Ctrl+Z undoes (Ctrl+Y redoes); null when there is none.
    Step* undoable() { return undo_.empty() ? nullptr : &undo_.back(); }
    Step* redoable() { return redo_.empty() ? nullptr : &redo_.back(); }
    // After the step was applied.
    void undone();
    void redone();
    // A step that could not be applied goes, with every step done before it.
    void dropUndoable();
    void dropRedoable();
    void clear();
    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }

private:
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    // The box and row of the spinner whose clicks the last step holds, while they may
    // still join it.
    std::optional<std::pair<int, int>> spinning_;
};

}  // namespace qm::objects
