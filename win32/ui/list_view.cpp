// The Win32 list view.
#include "win32/ui/list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <numeric>

#include "core/host/error.h"
#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

constexpr int32_t kInvalidPropertyValue = 380;

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// Sets a flag for one scope.
class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~Flag() { flag_ = before_; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
    bool before_;
};

}  // namespace

ListView::ListView(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::ListView, std::move(name), b) {
    createWindow(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
                 WS_EX_CLIENTEDGE, L"");
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

size_t ListView::index(int row) const {
    if (row < 1 || row > count()) {
        throw qm::host::HostError(kIndexOutOfBounds, "Index out of bounds (" + name_ + " row " + std::to_string(row) + ")");
    }
    return static_cast<size_t>(row - 1);
}

void ListView::addColumn(const std::string& header, double width) {
    columns_.push_back({header, width});
    if (!hwnd_) return;
    std::wstring text = toUtf16(header);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = text.data();
    col.cx = form().toolkit().pixelsX(width);
    col.iSubItem = static_cast<int>(columns_.size()) - 1;
    ListView_InsertColumn(hwnd_, col.iSubItem, &col);
}

void ListView::setColumnWidth(int column, double width) {
    if (column < 0 || column >= static_cast<int>(columns_.size())) throw qm::host::HostError(kIndexOutOfBounds, "Index out of bounds");
    columns_[static_cast<size_t>(column)].width = width;
    if (hwnd_) ListView_SetColumnWidth(hwnd_, column, std::max(0, form().toolkit().pixelsX(width)));
}

double ListView::columnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(columns_.size())) throw qm::host::HostError(kIndexOutOfBounds, "Index out of bounds");
    return columns_[static_cast<size_t>(column)].width;
}

void ListView::clear() {
    rows_.clear();
    selected_.reset();
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ListView_DeleteAllItems(hwnd_);
}

void ListView::showRow(size_t at, bool insert) {
    if (!hwnd_) return;
    Flag syncing(syncing_);
    const Row& r = rows_[at];
    std::wstring text = toUtf16(r.text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(at);
    item.pszText = text.data();
    if (insert) {
        ListView_InsertItem(hwnd_, &item);
    } else {
        ListView_SetItem(hwnd_, &item);
    }
    for (size_t c = 0; c < r.subItems.size(); ++c) {
        std::wstring sub = toUtf16(r.subItems[c]);
        ListView_SetItemText(hwnd_, static_cast<int>(at), static_cast<int>(c) + 1, sub.data());
    }
    ListView_SetItemState(hwnd_, static_cast<int>(at), INDEXTOSTATEIMAGEMASK(r.checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

void ListView::showSelection() {
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected_) {
        const int at = static_cast<int>(*selected_);
        ListView_SetItemState(hwnd_, at, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(hwnd_, at, FALSE);
    }
}

void ListView::rebuild() {
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(hwnd_);
    for (size_t i = 0; i < rows_.size(); ++i) showRow(i, true);
    showSelection();
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::insertItem(int position, const std::string& text, const std::string& key) {
    if (position < 1 || position > count() + 1) {
        throw qm::host::HostError(kIndexOutOfBounds,
                                  "Index out of bounds (" + name_ + " insert at " + std::to_string(position) + ")");
    }
    if (!key.empty()) {
        for (const Row& r : rows_) {
            if (r.key == key) throw qm::host::HostError(kKeyNotUnique, "Key is not unique in collection");
        }
    }
    const auto at = static_cast<size_t>(position - 1);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), Row{text, key, {}, false});
    if (selected_ && *selected_ >= at) ++*selected_;
    showRow(at, true);
}

void ListView::removeItem(int row) {
    const size_t at = index(row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
    if (selected_ == at) {
        selected_.reset();
    } else if (selected_ && *selected_ > at) {
        --*selected_;
    }
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ListView_DeleteItem(hwnd_, static_cast<int>(at));
    showSelection();
}

std::string ListView::itemText(int row) const { return rows_[index(row)].text; }

std::string ListView::itemKey(int row) const { return rows_[index(row)].key; }

void ListView::setSubItem(int row, int column, const std::string& text) {
    const size_t at = index(row);
    if (column < 1 || column >= static_cast<int>(columns_.size())) {
        throw qm::host::HostError(kInvalidPropertyValue,
                                  "Invalid property value (" + name_ + " sub-item " + std::to_string(column) + ")");
    }
    Row& r = rows_[at];
    const auto sub = static_cast<size_t>(column - 1);
    if (r.subItems.size() <= sub) r.subItems.resize(sub + 1);
    r.subItems[sub] = text;
    if (!hwnd_) return;
    Flag syncing(syncing_);
    std::wstring wide = toUtf16(text);
    ListView_SetItemText(hwnd_, static_cast<int>(at), column, wide.data());
}

std::string ListView::subItem(int row, int column) const {
    const Row& r = rows_[index(row)];
    if (column < 1 || column >= static_cast<int>(columns_.size())) {
        throw qm::host::HostError(kInvalidPropertyValue,
                                  "Invalid property value (" + name_ + " sub-item " + std::to_string(column) + ")");
    }
    const auto sub = static_cast<size_t>(column - 1);
    return sub < r.subItems.size() ? r.subItems[sub] : std::string();
}

bool ListView::checked(int row) const { return rows_[index(row)].checked; }

void ListView::setChecked(int row, bool v) {
    const size_t at = index(row);
    if (rows_[at].checked == v) return;
    rows_[at].checked = v;
    if (hwnd_) {
        Flag syncing(syncing_);
        ListView_SetItemState(hwnd_, static_cast<int>(at), INDEXTOSTATEIMAGEMASK(v ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    fireEvent(onItemCheck, row);
}

std::optional<int> ListView::selectedRow() const {
    if (!selected_) return std::nullopt;
    return static_cast<int>(*selected_) + 1;
}

void ListView::selectRow(int row) {
    selected_ = index(row);
    showSelection();
}

void ListView::sortOnce(int column, bool descending) {
    if (column < 0 || (column > 0 && column >= static_cast<int>(columns_.size()))) {
        throw qm::host::HostError(kInvalidPropertyValue,
                                  "Invalid property value (" + name_ + " sort column " + std::to_string(column) + ")");
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
    rebuild();
}

void ListView::itemChanged(const NMLISTVIEW& change) {
    if (syncing_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0 || change.iItem >= count()) return;
    const auto at = static_cast<size_t>(change.iItem);
    const UINT oldImage = (change.uOldState & LVIS_STATEIMAGEMASK) >> 12;
    const UINT newImage = (change.uNewState & LVIS_STATEIMAGEMASK) >> 12;
    // Image 1 is the empty box, 2 the ticked one; 0 is the item's state before the list
    // view gave it a box, so a change from 0 is not the user's.
    if (oldImage != newImage && oldImage != 0 && (newImage == 1 || newImage == 2)) {
        const bool checkedNow = newImage == 2;
        if (rows_[at].checked != checkedNow) {
            rows_[at].checked = checkedNow;
            fireEvent(onItemCheck, change.iItem + 1);
        }
    }
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
        selected_ = at;
        // A row chosen with the keyboard is a click on it too; a mouse click is raised
        // once its handling is over.
        if (!clicking_ && acceptsInput()) fireEvent(onItemClick, change.iItem + 1);
    }
}

bool ListView::notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == LVN_ITEMCHANGED) itemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam));
        result = 0;
        return true;
    }
    return Widget::notification(msg, wParam, lParam, result);
}

LRESULT ListView::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return Widget::message(msg, wParam, lParam);
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ListView_SubItemHitTest(hwnd_, &hit);
    const int item = hit.iItem;
    if (item < 0 || item >= count()) {
        // A click beside the rows takes the focus but keeps the selection: the window
        // always works on a selected row.
        form().userFocus(*this);
        return 0;
    }
    const bool onBox = (hit.flags & LVHT_ONITEMSTATEICON) != 0;
    // The focus moves first (validation may refuse the click), then the list view
    // toggles the box (onItemCheck, no item click) or selects the row.
    if (!form().userFocus(*this)) return 0;
    clicking_ = true;
    LRESULT r = 0;
    try {
        r = defaultProc(msg, wParam, lParam);
    } catch (...) {
        clicking_ = false;
        throw;
    }
    clicking_ = false;
    // onGotFocus may have refilled the list.
    if (!onBox && hwnd_ && acceptsInput() && item < count()) {
        selected_ = static_cast<size_t>(item);
        fireEvent(onItemClick, item + 1);
    }
    return r;
}

void ListView::describeOwn(automation::Writer& w) const {
    for (const Column& c : columns_) w.record("column").text(c.header).number(c.width);
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].key.empty()) w.record("key").integer(static_cast<long long>(i) + 1).text(rows_[i].key);
    }
}

}  // namespace qm::win32::ui
