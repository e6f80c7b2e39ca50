// The node grid as clipboard text and back.
#include "core/objects/node_table.h"

#include <charconv>
#include <cmath>

#include "core/text/strings.h"

namespace qm::objects {

namespace {

// A cell's number: the whole cell (blanks around it aside) in the C locale, finite.
std::optional<double> cellNumber(std::string_view text) {
    const std::string trimmed = text::trim(text);
    std::string_view cell = trimmed;
    if (!cell.empty() && cell.front() == '+') cell.remove_prefix(1);
    if (cell.empty()) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != cell.data() + cell.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::string tableText(const std::vector<std::vector<std::string>>& rows) {
    std::string out;
    for (const auto& row : rows) out += text::join(row, "\t") + "\r\n";
    return out;
}

std::optional<std::vector<std::pair<double, double>>> parseNodeTable(const std::string& text) {
    std::vector<std::string> rows = text::splitLines(text);
    if (rows.back().empty()) rows.pop_back();  // a last line break is no row
    if (rows.empty()) return std::nullopt;
    std::optional<size_t> columns;
    std::vector<std::pair<double, double>> points;
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string> cells = text::split(rows[r], '\t');
        if (cells.size() != 2 && cells.size() != 5) return std::nullopt;
        if (columns && *columns != cells.size()) return std::nullopt;
        columns = cells.size();
        const size_t xAt = cells.size() == 5 ? 1 : 0;
        const std::optional<double> x = cellNumber(cells[xAt]);
        const std::optional<double> y = cellNumber(cells[xAt + 1]);
        if (r == 0 && !x && !y) continue;  // the header row
        if (!x || !y) return std::nullopt;
        points.emplace_back(*x, *y);
    }
    if (points.empty()) return std::nullopt;
    return points;
}

}  // namespace qm::objects
