// The headless list view: the list's data (ListModel: 35600 for an index out of bounds,
// 35602 for a duplicate key, 380 for a sub-item past the columns) with the events, the
// user's clicks and the lines the window dump shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui/headless/widget.h"
#include "core/ui/list_model.h"

namespace qm::ui::headless {

class ListView final : public ControlBase<ui::ListView> {
public:
    static constexpr int32_t kIndexOutOfBounds = ListModel::kIndexOutOfBounds;
    static constexpr int32_t kKeyNotUnique = ListModel::kKeyNotUnique;

    ListView(Form& form, Widget* container, std::string name, const Bounds& b);

    void addColumn(const std::string& header, double width) override { model_.addColumn(header, width); }
    void setColumnWidth(int column, double width) override { model_.setColumnWidth(column, width); }
    double columnWidth(int column) const override { return model_.columnWidth(column); }
    int columnCount() const { return model_.columnCount(); }
    std::string columnHeader(int column) const { return model_.columnHeader(column); }
    void clear() override { model_.clear(); }
    int count() const override { return model_.count(); }
    void insertItem(int position, const std::string& text, const std::string& key = {}) override {
        model_.insertItem(position, text, key);
    }
    void removeItem(int row) override { model_.removeItem(row); }
    std::string itemText(int row) const override { return model_.itemText(row); }
    std::string itemKey(int row) const override { return model_.itemKey(row); }
    void setSubItem(int row, int column, const std::string& text) override { model_.setSubItem(row, column, text); }
    std::string subItem(int row, int column) const override { return model_.subItem(row, column); }
    bool checked(int row) const override { return model_.checked(row); }
    void setChecked(int row, bool v) override;
    std::optional<int> selectedRow() const override { return model_.selectedRow(); }
    void selectRow(int row) override { model_.selectRow(row); }
    void sortOnce(int column, bool descending) override { model_.sortOnce(column, descending); }
    std::optional<int> findKey(const std::string& key) const { return model_.findKey(key); }
    // Up and Down choose the row before or after the selected one, as a click on it; the
    // space bar ticks or clears the selected row.
    void keyDown(int keyCode, int shift) override;
    void keyPress(int code) override;
    void describe(std::string& line, std::vector<std::string>& details) const override;

    // A click on a row: focus (with validation), the row selected, then onItemClick.
    bool userClickRow(int row);
    // A click on a row's check box: focus, the box toggles, onItemCheck (no item click).
    bool userToggleCheck(int row);

private:
    ListModel model_;
};

}  // namespace qm::ui::headless
