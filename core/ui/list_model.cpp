// The list view's data: rows, keys, sub-items, checks, the selection and the sort.
#include "core/ui/list_model.h"

#include <algorithm>
#include <numeric>

#include "core/host/error.h"

namespace qm::ui {

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

size_t ListModel::index(int row) const {
    if (row < 1 || row > count()) {
        throw host::HostError(kIndexOutOfBounds, "Index out of bounds (" + name_ + " row " + std::to_string(row) + ")");
    }
    return static_cast<size_t>(row - 1);
}

void ListModel::checkColumn(int column) const {
    if (column < 0 || column >= columnCount()) throw host::HostError(kIndexOutOfBounds, "Index out of bounds");
}

void ListModel::checkSubItemColumn(int column) const {
    if (column < 1 || column >= columnCount()) {
        throw host::HostError(kInvalidPropertyValue, "Invalid property value (" + name_ + " sub-item " + std::to_string(column) + ")");
    }
}

void ListModel::setColumnWidth(int column, double width) {
    checkColumn(column);
    columns_[static_cast<size_t>(column)].width = width;
}

double ListModel::columnWidth(int column) const {
    checkColumn(column);
    return columns_[static_cast<size_t>(column)].width;
}

std::string ListModel::columnHeader(int column) const {
    checkColumn(column);
    return columns_[static_cast<size_t>(column)].header;
}

void ListModel::clear() {
    rows_.clear();
    selected_.reset();
}

std::optional<int> ListModel::findKey(const std::string& key) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].key == key) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

size_t ListModel::insertItem(int position, const std::string& text, const std::string& key) {
    if (position < 1 || position > count() + 1) {
        throw host::HostError(kIndexOutOfBounds, "Index out of bounds (" + name_ + " insert at " + std::to_string(position) + ")");
    }
    if (!key.empty() && findKey(key)) throw host::HostError(kKeyNotUnique, "Key is not unique in collection");
    const auto at = static_cast<size_t>(position - 1);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), Row{text, key, {}, false});
    if (selected_ && *selected_ >= at) ++*selected_;
    return at;
}

size_t ListModel::removeItem(int row) {
    const size_t at = index(row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
    if (selected_ == at) {
        selected_.reset();
    } else if (selected_ && *selected_ > at) {
        --*selected_;
    }
    return at;
}

void ListModel::setSubItem(int row, int column, const std::string& text) {
    Row& r = rows_[index(row)];
    checkSubItemColumn(column);
    const auto at = static_cast<size_t>(column - 1);
    if (r.subItems.size() <= at) r.subItems.resize(at + 1);
    r.subItems[at] = text;
}

std::string ListModel::subItem(int row, int column) const {
    const Row& r = rows_[index(row)];
    checkSubItemColumn(column);
    const auto at = static_cast<size_t>(column - 1);
    return at < r.subItems.size() ? r.subItems[at] : std::string();
}

bool ListModel::setChecked(int row, bool v) {
    Row& r = rows_[index(row)];
    if (r.checked == v) return false;
    r.checked = v;
    return true;
}

std::optional<int> ListModel::selectedRow() const {
    if (!selected_) return std::nullopt;
    return static_cast<int>(*selected_) + 1;
}

void ListModel::sortOnce(int column, bool descending) {
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

}  // namespace qm::ui
