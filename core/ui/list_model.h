// The list view's data, kept once for both toolkits: columns, and report-mode rows with a
// text, a key, sub-items and a check box each, and the selected row. Errors carry the list
// view's own numbers. The controls add events and what the user sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::ui {

class ListModel {
public:
    static constexpr int32_t kIndexOutOfBounds = 35600;
    static constexpr int32_t kKeyNotUnique = 35602;
    // A sub-item or sort column past the columns.
    static constexpr int32_t kInvalidPropertyValue = 380;

    struct Column {
        std::string header;
        double width = 0;
    };
    struct Row {
        std::string text;
        std::string key;
        std::vector<std::string> subItems;  // [0] is column 1
        bool checked = false;
    };

    // `name` is the control's, for error descriptions.
    explicit ListModel(std::string name) : name_(std::move(name)) {}

    void addColumn(const std::string& header, double width) { columns_.push_back({header, width}); }
    // Columns count from 0.
    void setColumnWidth(int column, double width);
    double columnWidth(int column) const;
    std::string columnHeader(int column) const;
    int columnCount() const noexcept { return static_cast<int>(columns_.size()); }
    const std::vector<Column>& columns() const noexcept { return columns_; }

    // Rows count from 1.
    int count() const noexcept { return static_cast<int>(rows_.size()); }
    const std::vector<Row>& rows() const noexcept { return rows_; }
    // The row's place in rows(); error 35600 unless 1 <= row <= count().
    size_t index(int row) const;
    void clear();
    // Inserts at `position` (1 .. count + 1) with `key` (unique, or empty); returns the
    // new row's place in rows(). A selection at or after it moves down with its row.
    size_t insertItem(int position, const std::string& text, const std::string& key = {});
    // Rows after the removed one move up; a selection of the removed row is cleared.
    // Returns the place the row had.
    size_t removeItem(int row);
    std::string itemText(int row) const { return rows_[index(row)].text; }
    std::string itemKey(int row) const { return rows_[index(row)].key; }
    // Column 1 .. columnCount() - 1; a sub-item never set is empty.
    void setSubItem(int row, int column, const std::string& text);
    std::string subItem(int row, int column) const;
    bool checked(int row) const { return rows_[index(row)].checked; }
    // True when the check changed (the control raises ItemCheck then).
    bool setChecked(int row, bool v);
    std::optional<int> selectedRow() const;
    void selectRow(int row) { selected_ = index(row); }
    // Column 0 sorts by the item text, 1.. by a sub-item; text compares without regard to
    // ASCII case, and equal texts keep their order. The selection stays on its item.
    void sortOnce(int column, bool descending);
    std::optional<int> findKey(const std::string& key) const;  // the row with that key

private:
    void checkSubItemColumn(int column) const;
    void checkColumn(int column) const;

    std::string name_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    std::optional<size_t> selected_;
};

}  // namespace qm::ui
