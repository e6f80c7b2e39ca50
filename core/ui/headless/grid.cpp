// The headless flex grid: events, user actions and the dump over the grid's data.
#include "core/ui/headless/grid.h"

#include "core/ui/headless/describe.h"
#include "core/ui/headless/form.h"

namespace qm::ui::headless {

namespace {

const char* alignName(CellAlign a) {
    switch (a) {
        case CellAlign::LeftCenter: return "left";
        case CellAlign::CenterCenter: return "center";
        case CellAlign::RightCenter: return "right";
    }
    return "?";
}

}  // namespace

Grid::Grid(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Grid, std::move(name), b), model_(name_) {}

void Grid::setCurrentCell(int row, int col) {
    if (model_.setCurrentCell(row, col)) fireEvent(onSelChange);
}

void Grid::keyPress(int code) {
    int keyAscii = code;
    fireEvent(onKeyPress, keyAscii);
}

void Grid::keyDown(int keyCode, int) {
    if (const auto cell = model_.cellAfterKey(keyCode)) setCurrentCell(cell->first, cell->second);
}

bool Grid::userClickCell(int row, int col) {
    return userInput([&] {
        if (!model_.contains(row, col) || !focusByUser()) return false;
        if (!acceptsInput()) return false;
        // A click on a fixed cell leaves the current cell alone; the focus handlers may have
        // shrunk the grid meanwhile.
        if (model_.contains(row, col) && !model_.isFixed(row, col)) setCurrentCell(row, col);
        return true;
    });
}

bool Grid::userDoubleClickCell(int row, int col) {
    if (!userClickCell(row, col)) return false;
    return userInput([&] {
        if (!acceptsInput()) return false;
        fireEvent(onDblClick);
        return true;
    });
}

bool Grid::userKey(int code) {
    return userInput([&] { return keyByUser(code); });
}

void Grid::describe(std::string& line, std::vector<std::string>& details) const {
    const GridModel& m = model_;
    line += " rows " + std::to_string(m.rows()) + " cols " + std::to_string(m.cols()) + " fixed " +
            std::to_string(m.fixedRows()) + "," + std::to_string(m.fixedCols()) + " top " + std::to_string(m.topRow()) +
            " left " + std::to_string(m.leftCol()) + " cell " + std::to_string(m.row()) + "," + std::to_string(m.col());
    if (m.backColor() != kColorWindow) line += " back " + formatColor(m.backColor());

    std::string widths = "widths";
    for (int c = 0; c < m.cols(); ++c) widths += " " + formatNumber(m.colWidth(c));
    details.push_back(widths);
    if (m.rowHeightsSet()) {
        std::string heights = "heights";
        for (int r = 0; r < m.rows(); ++r) heights += " " + formatNumber(m.rowHeight(r));
        details.push_back(heights);
    }
    std::string aligns;
    for (int c = 0; c < m.cols(); ++c) {
        if (const auto a = m.colAlignment(c)) aligns += " " + std::to_string(c) + "=" + alignName(*a);
        if (const auto a = m.fixedAlignment(c)) aligns += " fixed" + std::to_string(c) + "=" + alignName(*a);
    }
    if (!aligns.empty()) details.push_back("align" + aligns);
    for (int r = 0; r < m.rows(); ++r) {
        std::string text = std::to_string(r) + ":";
        for (int c = 0; c < m.cols(); ++c) {
            const GridModel::Cell& x = m.cell(r, c);
            text += (c == 0 ? " " : " | ") + quoted(x.text);
            if (x.backColor) text += " back " + formatColor(*x.backColor);
        }
        details.push_back(text);
    }
}

}  // namespace qm::ui::headless
