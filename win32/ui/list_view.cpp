// The Win32 list view: the list's data (ListModel) shown by the common control, and the
// control's changes and clicks turned into the form model's events.
#include "win32/ui/list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

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
    : ControlBase(form, container, Kind::ListView, std::move(name), b), model_(name_) {
    createWindow(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
                 WS_EX_CLIENTEDGE, L"");
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

void ListView::addColumn(const std::string& header, double width) {
    model_.addColumn(header, width);
    if (!hwnd_) return;
    std::wstring text = toUtf16(header);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = text.data();
    col.cx = form().toolkit().pixelsX(width);
    col.iSubItem = model_.columnCount() - 1;
    ListView_InsertColumn(hwnd_, col.iSubItem, &col);
}

void ListView::setColumnWidth(int column, double width) {
    model_.setColumnWidth(column, width);
    if (hwnd_) ListView_SetColumnWidth(hwnd_, column, std::max(0, form().toolkit().pixelsX(width)));
}

void ListView::clear() {
    model_.clear();
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ListView_DeleteAllItems(hwnd_);
}

void ListView::showRow(size_t at, bool insert) {
    if (!hwnd_) return;
    Flag syncing(syncing_);
    const qm::ui::ListModel::Row& r = model_.rows()[at];
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
    if (const auto selected = model_.selectedRow()) {
        const int at = *selected - 1;
        ListView_SetItemState(hwnd_, at, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(hwnd_, at, FALSE);
    }
}

void ListView::rebuild() {
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(hwnd_);
    for (size_t i = 0; i < model_.rows().size(); ++i) showRow(i, true);
    showSelection();
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::insertItem(int position, const std::string& text, const std::string& key) {
    showRow(model_.insertItem(position, text, key), true);
}

void ListView::removeItem(int row) {
    const size_t at = model_.removeItem(row);
    if (!hwnd_) return;
    Flag syncing(syncing_);
    ListView_DeleteItem(hwnd_, static_cast<int>(at));
    showSelection();
}

void ListView::setSubItem(int row, int column, const std::string& text) {
    model_.setSubItem(row, column, text);
    if (!hwnd_) return;
    Flag syncing(syncing_);
    std::wstring wide = toUtf16(text);
    ListView_SetItemText(hwnd_, row - 1, column, wide.data());
}

void ListView::setChecked(int row, bool v) {
    if (!model_.setChecked(row, v)) return;
    if (hwnd_) {
        Flag syncing(syncing_);
        ListView_SetItemState(hwnd_, row - 1, INDEXTOSTATEIMAGEMASK(v ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    fireEvent(onItemCheck, row);
}

void ListView::selectRow(int row) {
    model_.selectRow(row);
    showSelection();
}

void ListView::sortOnce(int column, bool descending) {
    model_.sortOnce(column, descending);
    rebuild();
}

void ListView::itemChanged(const NMLISTVIEW& change) {
    if (syncing_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0 || change.iItem >= count()) return;
    const UINT oldImage = (change.uOldState & LVIS_STATEIMAGEMASK) >> 12;
    const UINT newImage = (change.uNewState & LVIS_STATEIMAGEMASK) >> 12;
    // Image 1 is the empty box, 2 the ticked one; 0 is the item's state before the list
    // view gave it a box, so a change from 0 is not the user's.
    if (oldImage != newImage && oldImage != 0 && (newImage == 1 || newImage == 2)) {
        if (model_.setChecked(change.iItem + 1, newImage == 2)) fireEvent(onItemCheck, change.iItem + 1);
    }
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
        model_.selectRow(change.iItem + 1);
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
        model_.selectRow(item + 1);
        fireEvent(onItemClick, item + 1);
    }
    return r;
}

void ListView::describeOwn(automation::Writer& w) const {
    for (const auto& c : model_.columns()) w.record("column").text(c.header).number(c.width);
    const auto& rows = model_.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].key.empty()) w.record("key").integer(static_cast<long long>(i) + 1).text(rows[i].key);
    }
}

}  // namespace qm::win32::ui
