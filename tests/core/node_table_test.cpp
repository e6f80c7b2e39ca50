// The Object List's node table as text and its undo history.
#include <gtest/gtest.h>

#include "core/host/error.h"
#include "core/objects/history.h"
#include "core/objects/node_table.h"

namespace qm::objects {
namespace {

using Points = std::vector<std::pair<double, double>>;

TEST(NodeTable, TextIsTabbedCellsWithCrLfAfterEveryRowAndReadsBack) {
    const std::string text = tableText({{"", "X(cm)", "Y(cm)", "Editing", "Segment"}, {"001", "0.71", "-7.06", "Auto", "Line"}});
    EXPECT_EQ(text, "\tX(cm)\tY(cm)\tEditing\tSegment\r\n001\t0.71\t-7.06\tAuto\tLine\r\n");
    EXPECT_EQ(parseNodeTable(text), (Points{{0.71, -7.06}}));
}

TEST(NodeTable, TwoOrFiveColumnsWithOrWithoutHeaderAndAnyLineEnd) {
    EXPECT_EQ(parseNodeTable("1\t2\r\n3\t4"), (Points{{1, 2}, {3, 4}}));
    EXPECT_EQ(parseNodeTable("X\tY\n1\t2\n3\t4\n"), (Points{{1, 2}, {3, 4}}));
    EXPECT_EQ(parseNodeTable("1\t2\r3\t4\r"), (Points{{1, 2}, {3, 4}}));
    EXPECT_EQ(parseNodeTable("1\t 1.5 \t+2\tCorner\tCurve\r\n2\t1e1\t-0.25\t\t\r\n"), (Points{{1.5, 2}, {10, -0.25}}));
}

TEST(NodeTable, AnythingElseIsNoTableAtAll) {
    EXPECT_FALSE(parseNodeTable(""));
    EXPECT_FALSE(parseNodeTable("\r\n"));
    EXPECT_FALSE(parseNodeTable("X\tY\r\n"));                // a header and no rows
    EXPECT_FALSE(parseNodeTable("1\t2\t3\r\n"));              // three columns
    EXPECT_FALSE(parseNodeTable("1\t2\r\n1\t2\t3\tA\tB\r\n"));  // rows of two shapes
    EXPECT_FALSE(parseNodeTable("1\t2\r\n3\tx\r\n"));         // a letter
    EXPECT_FALSE(parseNodeTable("1\t2\r\n3\t4cm\r\n"));       // a number and more
    EXPECT_FALSE(parseNodeTable("1\t2\r\n3\t\r\n"));          // an empty cell
    EXPECT_FALSE(parseNodeTable("X\t2\r\n3\t4\r\n"));         // half a header is a bad row
    EXPECT_FALSE(parseNodeTable("1\t1e400\r\n"));             // too long for a number
    EXPECT_FALSE(parseNodeTable("1\tinf\r\n"));
    EXPECT_FALSE(parseNodeTable("nan\t1\r\n"));
    EXPECT_FALSE(parseNodeTable("1\t2\r\n\r\n3\t4\r\n"));     // an empty row between
    EXPECT_FALSE(parseNodeTable("1\t2\r\n\r\n"));             // an empty row after the last
}

Step position(int index, float before, float after) { return {nullptr, PositionChange{index, before, after}}; }

float afterOf(const Step* s) { return std::get<PositionChange>(s->change).after; }

TEST(History, UndoRedoAndANewChangeDropsTheRedoSteps) {
    History h;
    EXPECT_EQ(h.undoable(), nullptr);
    h.record(position(0, 1, 2));
    h.record(position(1, 3, 4));
    h.undone();
    ASSERT_NE(h.redoable(), nullptr);
    EXPECT_EQ(afterOf(h.redoable()), 4);
    h.redone();
    h.undone();
    h.record(position(2, 5, 6));
    EXPECT_EQ(h.redoable(), nullptr);
    EXPECT_EQ(h.undoCount(), 2u);
}

TEST(History, ConsecutiveSpinsOfOneBoxAndRowAreOneStep) {
    History h;
    h.record(position(2, 10, 11), true, 1);
    h.record(position(2, 11, 12), true, 1);
    h.record(position(2, 12, 13), true, 1);
    ASSERT_EQ(h.undoCount(), 1u);
    EXPECT_EQ(std::get<PositionChange>(h.undoable()->change).before, 10);
    EXPECT_EQ(afterOf(h.undoable()), 13);
    // Another box, another row, a typed value, or an undo between: a step of its own.
    h.record(position(3, 1, 2), true, 1);
    h.record(position(3, 2, 3), true, 2);
    h.record(position(3, 3, 4), false, 2);
    h.record(position(3, 4, 5), true, 2);
    EXPECT_EQ(h.undoCount(), 5u);
    h.undone();
    h.record(position(3, 4, 6), true, 2);
    EXPECT_EQ(h.undoCount(), 5u);
    EXPECT_EQ(h.redoCount(), 0u);
}

TEST(History, SpinsBackToTheStartLeaveNoStep) {
    History h;
    h.record(position(0, 1, 2));
    h.record(position(2, 10, 11), true, 1);
    h.record(position(2, 11, 10), true, 1);
    EXPECT_EQ(h.undoCount(), 1u);
    EXPECT_EQ(afterOf(h.undoable()), 2);
}

TEST(History, AStepThatCannotBeAppliedGoesWithEveryStepBeforeIt) {
    History h;
    for (int i = 0; i < 4; ++i) h.record(position(0, static_cast<float>(i), static_cast<float>(i + 1)));
    h.undone();
    h.undone();
    h.dropUndoable();  // steps 1 and 2 go; 3 and 4 can still be redone
    EXPECT_EQ(h.undoCount(), 0u);
    EXPECT_EQ(h.redoCount(), 2u);
    h.dropRedoable();  // step 3 goes
    EXPECT_EQ(afterOf(h.redoable()), 4);
    h.redone();
    EXPECT_EQ(h.undoCount(), 1u);
}

// Nodes that record their moves and refuse the n-th.
class Nodes : public host::ShapeNodes {
public:
    int refuse = 0;
    std::vector<host::NodePoint> points = {{0, 0}, {1, 1}, {2, 2}};
    int32_t count() override { return static_cast<int32_t>(points.size()); }
    host::ShapeNodePtr item(int32_t) override { return nullptr; }
    void setPosition(int32_t index, float x, float y) override {
        if (++calls == refuse) host::raise(host::err::kUnspecified);
        points[static_cast<size_t>(index - 1)] = {x, y};
    }
    int calls = 0;
};

TEST(MoveNodes, ARefusedNodePutsBackTheNodesMovedBeforeIt) {
    const std::vector<NodeMove> moves = {{1, {0, 0}, {5, 5}}, {2, {1, 1}, {6, 6}}, {3, {2, 2}, {7, 7}}};
    Nodes nodes;
    nodes.refuse = 3;
    EXPECT_THROW(moveNodes(nodes, moves, false), host::HostError);
    EXPECT_EQ(nodes.points[0].x, 0);
    EXPECT_EQ(nodes.points[1].x, 1);
    nodes.refuse = 0;
    moveNodes(nodes, moves, false);
    EXPECT_EQ(nodes.points[2].y, 7);
    // Backward: the last node first; refused at the second, the third goes forward again.
    nodes.calls = 0;
    nodes.refuse = 2;
    EXPECT_THROW(moveNodes(nodes, moves, true), host::HostError);
    EXPECT_EQ(nodes.points[2].x, 7);
    EXPECT_EQ(nodes.points[1].x, 6);
}

}  // namespace
}  // namespace qm::objects
