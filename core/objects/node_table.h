// The node grid as text that round-trips with worksheet cells: tabs between columns and
// CR LF after each row, as a spreadsheet copies cells, and back.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qm::objects {

// The rows of cells as clipboard text: each row's cells joined by tabs, each row ended
// by CR LF.
std::string tableText(const std::vector<std::vector<std::string>>& rows);

// The coordinates a pasted node table gives, in centimetres, one pair per row. The text
// holds either two columns (X, Y) or five (number, X, Y, editing, segment; only X and Y
// are read), every row the same, and may start with a header row (its X and Y cells are
// not numbers); a last line break is no row. Nothing when any row does not fit that
// shape or any X or Y cell is not a whole finite number: a paste never moves half the
// nodes.
std::optional<std::vector<std::pair<double, double>>> parseNodeTable(const std::string& text);

}  // namespace qm::objects
