// The headless list view.
#include "core/ui/headless/list_view.h"

#include <algorithm>
#include <numeric>

#include "core/host/error.h"
#include "core/ui/headless/describe.h"
#include "core/ui/headless/form.h"

namespace qm::ui::headless {

namespace {

constexpr int32_t kInvalidPropertyValue = 380;

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

ListView::ListView(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::ListView, std::move(name), b) {}

size_t ListView::index(int row) const {
    if (row < 1 || row > count()) {
        throw host::HostError(kIndexOutOfBounds, "Index out of bounds (" + name_ + " row " + std::to_string(row) + ")");
    }
    return static_cast<size_t>(row - 1);
}

void ListView::addColumn(const std::string& header, double width) { columns_.push_back({header, width}); }

void ListView::setColumnWidth(int column, double width) {
    if (column < 0 || column >= columnCount()) throw host::HostError(kIndexOutOfBounds, "Index out of bounds");
    columns_[static_cast<size_t>(column)].width = width;
}

double ListView::columnWidth(int column) const {
    if (column < 0 || column >= columnCount()) throw host::HostError(kIndexOutOfBounds, "Index out of bounds");
    return columns_[static_cast<size_t>(column)].width;
}

std::string ListView::columnHeader(int column) const {
    if (column < 0 || column >= columnCount()) throw host::HostError(kIndexOutOfBounds, "Index out of bounds");
    return columns_[static_cast<size_t>(column)].header;
}

void ListView::clear() {
    rows_.clear();
    selected_.reset();
}

std::optional<int> ListView::findKey(const std::string& key) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].key == key) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

void ListView::insertItem(int position, const std::string& text, const std::string& key) {
    if (position < 1 || position > count() + 1) {
        throw host::HostError(kIndexOutOfBounds, "Index out of bounds (" + name_ + " insert at " + std::to_string(position) + ")");
    }
    if (!key.empty() && findKey(key)) throw host::HostError(kKeyNotUnique, "Key is not unique in collection");
    const auto at = static_cast<size_t>(position - 1);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), Row{text, key, {}, false});
    if (selected_ && *selected_ >= at) ++*selected_;
}

void ListView::removeItem(int row) {
    const size_t at = index(row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
    if (selected_ == at) {
        selected_.reset();
    } else if (selected_ && *selected_ > at) {
        --*selected_;
    }
}

std::string ListView::itemText(int row) const { return rows_[index(row)].text; }

std::string ListView::itemKey(int row) const { return rows_[index(row)].key; }

void ListView::setSubItem(int row, int column, const std::string& text) {
    Row& r = rows_[index(row)];
    if (column < 1 || column >= columnCount()) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " sub-item " + std::to_string(column) + ")");
    }
    const auto at = static_cast<size_t>(column - 1);
    if (r.subItems.size() <= at) r.subItems.resize(at + 1);
    r.subItems[at] = text;
}

std::string ListView::subItem(int row, int column) const {
    const Row& r = rows_[index(row)];
    if (column < 1 || column >= columnCount()) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " sub-item " + std::to_string(column) + ")");
    }
    const auto at = static_cast<size_t>(column - 1);
    return at < r.subItems.size() ? r.subItems[at] : std::string();
}

bool ListView::checked(int row) const { return rows_[index(row)].checked; }

void ListView::setChecked(int row, bool v) {
    Row& r = rows_[index(row)];
    if (r.checked == v) return;
    r.checked = v;
    fireEvent(onItemCheck, row);
}

std::optional<int> ListView::selectedRow() const {
    if (!selected_) return std::nullopt;
    return static_cast<int>(*selected_) + 1;
}

void ListView::selectRow(int row) { selected_ = index(row); }

void ListView::sortOnce(int column, bool descending) {
    if (column < 0 || (column > 0 && column >= columnCount())) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " sort column " + std::to_string(column) + ")");
    }
    std::vector<std::string> keys;
    keys.reserve(rows_.size());
    for (const Row& r : rows_) {
        const auto at = static_cast<size_t>(column - 1);
        keys.push_back(lowerAscii(column == 0 ? r.text : (at < r.subItems.size() ? r.subItems[at] : std::string())));
    }
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return descending ? keys[b] < keys[a] : keys[a] < keys[b]; });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::optional<size_t> selected;
    for (size_t i = 0; i < order.size(); ++i) {
        if (selected_ == order[i]) selected = i;
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);
    selected_ = selected;
}

bool ListView::userClickRow(int row) {
    if (row < 1 || row > count() || !focusByUser()) return false;
    // onGotFocus may have refilled the list.
    if (!acceptsInput() || row > count()) return false;
    selected_ = static_cast<size_t>(row - 1);
    fireEvent(onItemClick, row);
    return true;
}

bool ListView::userToggleCheck(int row) {
    if (row < 1 || row > count() || !focusByUser()) return false;
    if (!acceptsInput() || row > count()) return false;
    setChecked(row, !rows_[static_cast<size_t>(row - 1)].checked);
    return true;
}

void ListView::describe(std::string& line, std::vector<std::string>& details) const {
    line += " rows " + std::to_string(count());
    if (selected_) line += " selected " + std::to_string(*selected_ + 1);
    if (!columns_.empty()) {
        std::string cols = "columns";
        for (size_t i = 0; i < columns_.size(); ++i) {
            cols += (i == 0 ? " " : ", ") + quoted(columns_[i].header) + " " + formatNumber(columns_[i].width);
        }
        details.push_back(cols);
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        std::string text = (selected_ == i ? "> " : "  ") + std::to_string(i + 1) + (r.checked ? " [x] " : " [ ] ") + quoted(r.text);
        if (!r.key.empty()) text += " key " + quoted(r.key);
        for (int c = 1; c < columnCount(); ++c) {
            const auto at = static_cast<size_t>(c - 1);
            text += " | " + quoted(at < r.subItems.size() ? r.subItems[at] : std::string());
        }
        details.push_back(text);
    }
}

}  // namespace qm::ui::headless
