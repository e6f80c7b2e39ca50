// The headless list view: events, user actions and the dump over the list's data.
#include "core/ui/headless/list_view.h"

#include <algorithm>

#include "core/ui/headless/describe.h"
#include "core/ui/headless/form.h"

namespace qm::ui::headless {

ListView::ListView(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::ListView, std::move(name), b), model_(name_) {}

void ListView::setChecked(int row, bool v) {
    if (model_.setChecked(row, v)) fireEvent(onItemCheck, row);
}

void ListView::keyDown(int keyCode, int) {
    if (count() == 0 || (keyCode != vk::kUp && keyCode != vk::kDown)) return;
    const std::optional<int> selected = model_.selectedRow();
    const int row = !selected ? 1 : std::clamp(*selected + (keyCode == vk::kUp ? -1 : 1), 1, count());
    if (row == selected) return;
    model_.selectRow(row);
    fireEvent(onItemClick, row);
}

void ListView::keyPress(int code) {
    if (code != ' ') return;
    if (const std::optional<int> row = model_.selectedRow()) setChecked(*row, !model_.checked(*row));
}

bool ListView::userClickRow(int row) {
    return userInput([&] {
        if (row < 1 || row > count() || !focusByUser()) return false;
        // onGotFocus may have refilled the list.
        if (!acceptsInput() || row > count()) return false;
        model_.selectRow(row);
        fireEvent(onItemClick, row);
        return true;
    });
}

bool ListView::userToggleCheck(int row) {
    return userInput([&] {
        if (row < 1 || row > count() || !focusByUser()) return false;
        if (!acceptsInput() || row > count()) return false;
        setChecked(row, !model_.checked(row));
        return true;
    });
}

void ListView::describe(std::string& line, std::vector<std::string>& details) const {
    const std::optional<int> selected = model_.selectedRow();
    line += " rows " + std::to_string(count());
    if (selected) line += " selected " + std::to_string(*selected);
    const auto& columns = model_.columns();
    if (!columns.empty()) {
        std::string cols = "columns";
        for (size_t i = 0; i < columns.size(); ++i) {
            cols += (i == 0 ? " " : ", ") + quoted(columns[i].header) + " " + formatNumber(columns[i].width);
        }
        details.push_back(cols);
    }
    const auto& rows = model_.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const ListModel::Row& r = rows[i];
        const int row = static_cast<int>(i) + 1;
        std::string text = (selected == row ? "> " : "  ") + std::to_string(row) + (r.checked ? " [x] " : " [ ] ") + quoted(r.text);
        if (!r.key.empty()) text += " key " + quoted(r.key);
        for (int c = 1; c < columnCount(); ++c) {
            const auto at = static_cast<size_t>(c - 1);
            text += " | " + quoted(at < r.subItems.size() ? r.subItems[at] : std::string());
        }
        details.push_back(text);
    }
}

}  // namespace qm::ui::headless
