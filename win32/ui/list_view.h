// The Win32 list view: report mode with a check box per row. The rows are kept as the
// form model sees them (ListModel: text, key, sub-items, checked, selected, and the list
// view's error numbers) and the control shows them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/ui/list_model.h"
#include "win32/ui/widget.h"

#include <commctrl.h>

namespace qm::win32::ui {

class ListView final : public ControlBase<qm::ui::ListView> {
public:
    static constexpr int32_t kIndexOutOfBounds = qm::ui::ListModel::kIndexOutOfBounds;
    static constexpr int32_t kKeyNotUnique = qm::ui::ListModel::kKeyNotUnique;

    ListView(Form& form, Widget* container, std::string name, const Bounds& b);

    void addColumn(const std::string& header, double width) override;
    void setColumnWidth(int column, double width) override;
    double columnWidth(int column) const override { return model_.columnWidth(column); }
    void clear() override;
    int count() const override { return model_.count(); }
    void insertItem(int position, const std::string& text, const std::string& key = {}) override;
    void removeItem(int row) override;
    std::string itemText(int row) const override { return model_.itemText(row); }
    std::string itemKey(int row) const override { return model_.itemKey(row); }
    void setSubItem(int row, int column, const std::string& text) override;
    std::string subItem(int row, int column) const override { return model_.subItem(row, column); }
    bool checked(int row) const override { return model_.checked(row); }
    void setChecked(int row, bool v) override;
    std::optional<int> selectedRow() const override { return model_.selectedRow(); }
    void selectRow(int row) override;
    void sortOnce(int column, bool descending) override;
    bool notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void describeOwn(automation::Writer& w) const override;

private:
    void showRow(size_t at, bool insert);
    void showSelection();
    void rebuild();
    void itemChanged(const NMLISTVIEW& change);

    qm::ui::ListModel model_;
    bool syncing_ = false;  // the control changes because the code changed the rows
};

}  // namespace qm::win32::ui
