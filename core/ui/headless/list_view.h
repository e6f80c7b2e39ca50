// The headless list view: report-mode rows with a check box each, keys, sub-items and a
// selected row. Errors carry the list view's own numbers: 35600 for an index out of
// bounds, 35602 for a duplicate key, 380 for a sub-item past the columns.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui/headless/widget.h"

namespace qm::ui::headless {

class ListView final : public ControlBase<ui::ListView> {
public:
    static constexpr int32_t kIndexOutOfBounds = 35600;
    static constexpr int32_t kKeyNotUnique = 35602;

    ListView(Form& form, Widget* container, std::string name, const Bounds& b);

    void addColumn(const std::string& header, double width) override;
    void setColumnWidth(int column, double width) override;
    double columnWidth(int column) const override;
    int columnCount() const { return static_cast<int>(columns_.size()); }
    std::string columnHeader(int column) const;
    void clear() override;
    int count() const override { return static_cast<int>(rows_.size()); }
    void insertItem(int position, const std::string& text, const std::string& key = {}) override;
    // Rows after the removed one move up; a selection of the removed row is cleared.
    void removeItem(int row) override;
    std::string itemText(int row) const override;
    std::string itemKey(int row) const override;
    // Column 1 .. columnCount() - 1.
    void setSubItem(int row, int column, const std::string& text) override;
    std::string subItem(int row, int column) const override;
    bool checked(int row) const override;
    void setChecked(int row, bool v) override;
    std::optional<int> selectedRow() const override;
    void selectRow(int row) override;
    // Column 0 sorts by the item text, 1.. by a sub-item; text compares without regard to
    // ASCII case, and equal texts keep their order. The selection stays on its item.
    void sortOnce(int column, bool descending) override;
    std::optional<int> findKey(const std::string& key) const;  // the row with that key
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // A click on a row: focus (with validation), the row selected, then onItemClick.
    bool userClickRow(int row);
    // A click on a row's check box: focus, the box toggles, onItemCheck (no item click).
    bool userToggleCheck(int row);

private:
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

    size_t index(int row) const;  // throws 35600 unless 1 <= row <= count

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    std::optional<size_t> selected_;
};

}  // namespace qm::ui::headless
