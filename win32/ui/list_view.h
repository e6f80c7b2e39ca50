// The Win32 list view: report mode with a check box per row. The rows are kept here as
// the form model sees them (text, key, sub-items, checked, selected) and the control
// shows them; errors carry the list view's numbers (35600 index out of bounds, 35602
// duplicate key, 380 sub-item past the columns).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win32/ui/widget.h"

#include <commctrl.h>

namespace qm::win32::ui {

class ListView final : public ControlBase<qm::ui::ListView> {
public:
    static constexpr int32_t kIndexOutOfBounds = 35600;
    static constexpr int32_t kKeyNotUnique = 35602;

    ListView(Form& form, Widget* container, std::string name, const Bounds& b);

    void addColumn(const std::string& header, double width) override;
    void setColumnWidth(int column, double width) override;
    double columnWidth(int column) const override;
    void clear() override;
    int count() const override { return static_cast<int>(rows_.size()); }
    void insertItem(int position, const std::string& text, const std::string& key = {}) override;
    void removeItem(int row) override;
    std::string itemText(int row) const override;
    std::string itemKey(int row) const override;
    void setSubItem(int row, int column, const std::string& text) override;
    std::string subItem(int row, int column) const override;
    bool checked(int row) const override;
    void setChecked(int row, bool v) override;
    std::optional<int> selectedRow() const override;
    void selectRow(int row) override;
    void sortOnce(int column, bool descending) override;
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void describeOwn(automation::Writer& w) const override;

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

    size_t index(int row) const;
    void showRow(size_t at, bool insert);
    void showSelection();
    void rebuild();
    void itemChanged(const NMLISTVIEW& change);

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    std::optional<size_t> selected_;
    bool syncing_ = false;  // the control changes because the code changed the rows
};

}  // namespace qm::win32::ui
