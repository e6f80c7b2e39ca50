// Handles onto the spreadsheet side of the simulated host: the application, workbooks,
// sheets, cells, windows and the late-bound selection.
#include <algorithm>
#include <set>

#include "sim/handles.h"
#include "sim/world.h"

namespace qm::sim::detail {

using namespace host;

// ---------------------------------------------------------------- handle base

Handle::Handle(const std::shared_ptr<World>& world, std::string object) : world_(world), object_(std::move(object)) {
    world->handleCreated(object_);
}

Handle::~Handle() {
    if (auto w = world_.lock()) w->handleDestroyed(object_);
}

std::shared_ptr<World> Handle::enter(const char* member) const {
    auto w = world_.lock();
    if (!w) {
        throw HostError(-2147417848, "Automation error: the object invoked has disconnected from its clients.");
    }
    w->enter(object_ + "." + member);
    return w;
}

void Handle::failed(const char* member) const {
    std::string m = member;
    if (!m.empty() && m.back() == '=') m.pop_back();
    throwMethodFailed(object_, m);
}

namespace {

[[noreturn]] void throwInvalidUseOfNull() { throw HostError(94, "Invalid use of Null"); }

constexpr int32_t xlDistributed = -4117;

// ---------------------------------------------------------------- cells

class RangeHandle final : public Range, public Handle {
public:
    RangeHandle(const std::shared_ptr<World>& w, SheetNodePtr sheet, CellArea area)
        : Handle(w, "Range"), sheet_(std::move(sheet)), area_(area) {}

    int32_t count() override {
        enter("Count");
        return static_cast<int32_t>(cellCount(area_));
    }

    double columnWidth() override {
        enter("ColumnWidth");
        std::set<double> widths;
        if (area_.all) {
            widths.insert(sheet_->columnWidth);
            for (const auto& [c, w] : sheet_->columnWidths) widths.insert(w);
        } else {
            for (int32_t c = area_.first.column; c <= area_.last.column; ++c) {
                const auto it = sheet_->columnWidths.find(c);
                widths.insert(it == sheet_->columnWidths.end() ? sheet_->columnWidth : it->second);
            }
        }
        if (widths.size() != 1) throwInvalidUseOfNull();
        return *widths.begin();
    }

    void setColumnWidth(double value) override {
        enter("ColumnWidth=");
        if (!(value >= 0 && value <= 255)) throwUnableToSet("ColumnWidth", "Range");
        if (area_.all) {
            // Every column of the sheet: the standard width changes and no column keeps its own.
            sheet_->columnWidth = value;
            sheet_->columnWidths.clear();
            return;
        }
        for (int32_t c = area_.first.column; c <= area_.last.column; ++c) sheet_->columnWidths[c] = value;
    }

    double rowHeight() override {
        enter("RowHeight");
        std::set<double> heights;
        if (area_.all) {
            heights.insert(sheet_->rowHeight);
            for (const auto& [r, h] : sheet_->rowHeights) heights.insert(h);
        } else {
            for (int32_t r = area_.first.row; r <= area_.last.row; ++r) {
                const auto it = sheet_->rowHeights.find(r);
                heights.insert(it == sheet_->rowHeights.end() ? sheet_->rowHeight : it->second);
            }
        }
        if (heights.size() != 1) throwInvalidUseOfNull();
        return *heights.begin();
    }

    void setRowHeight(double value) override {
        enter("RowHeight=");
        if (!(value >= 0 && value <= 409)) throwUnableToSet("RowHeight", "Range");
        if (area_.all) {
            sheet_->rowHeight = value;
            sheet_->rowHeights.clear();
            return;
        }
        for (int32_t r = area_.first.row; r <= area_.last.row; ++r) sheet_->rowHeights[r] = value;
    }

private:
    SheetNodePtr sheet_;
    CellArea area_;
};

// ---------------------------------------------------------------- sheets

class SheetHandle final : public Sheet, public Handle {
public:
    SheetHandle(const std::shared_ptr<World>& w, SheetNodePtr sheet) : Handle(w, "Sheet"), sheet_(std::move(sheet)) {}

    const SheetNodePtr& node() const { return sheet_; }

    std::string typeName() override {
        enter("TypeName");
        return sheet_->chart ? "Chart" : "Worksheet";
    }
    std::string name() override {
        enter("Name");
        return sheet_->name;
    }
    void setName(const std::string& name) override { enter("Name=")->renameSheet(sheet_, name); }

    RangePtr cells() override {
        auto w = enter("Cells");
        if (sheet_->chart) throwNotSupported();
        CellArea all{{1, 1}, {kSheetRows, kSheetColumns}, true};
        return makeRange(w, sheet_, all);
    }

    void setBackgroundPicture(const std::string& fileName) override {
        auto w = enter("SetBackgroundPicture");
        if (sheet_->chart) throwNotSupported();
        w->setBackgroundPicture(sheet_, fileName);
    }

    ShapesPtr shapes() override {
        auto w = enter("Shapes");
        if (sheet_->chart) throwNotSupported();
        return makeShapes(w, sheet_);
    }

private:
    SheetNodePtr sheet_;
};

class SheetsHandle final : public Sheets, public Handle {
public:
    SheetsHandle(const std::shared_ptr<World>& w, WorkbookNodePtr book) : Handle(w, "Sheets"), book_(std::move(book)) {}

    int32_t count() override {
        enter("Count");
        return static_cast<int32_t>(book_->sheets.size());
    }

    SheetPtr item(int32_t index) override {
        auto w = enter("Item");
        if (index < 1 || index > static_cast<int32_t>(book_->sheets.size())) {
            throw HostError(9, "Subscript out of range");
        }
        return makeSheet(w, book_->sheets[static_cast<size_t>(index - 1)]);
    }

    SheetPtr add(const SheetPtr& after) override {
        auto w = enter("Add");
        size_t at = 0;
        if (after) {
            auto* handle = dynamic_cast<SheetHandle*>(after.get());
            if (!handle) throwInvalidCall();
            const auto it = std::find(book_->sheets.begin(), book_->sheets.end(), handle->node());
            if (it == book_->sheets.end()) throwMethodFailed("Sheets", "Add");
            at = static_cast<size_t>(it - book_->sheets.begin()) + 1;
        } else {
            // Without After the new sheet goes before the active sheet.
            const auto active = book_->activeSheet.lock();
            const auto it = std::find(book_->sheets.begin(), book_->sheets.end(), active);
            at = it == book_->sheets.end() ? 0 : static_cast<size_t>(it - book_->sheets.begin());
        }
        const std::string name = "Sheet" + std::to_string(w->nextSheetNumber(book_));
        auto sheet = w->addSheet(book_, name, false, at);
        w->activateSheet(sheet);
        return makeSheet(w, sheet);
    }

private:
    WorkbookNodePtr book_;
};

class WorkbookHandle final : public Workbook, public Handle {
public:
    WorkbookHandle(const std::shared_ptr<World>& w, WorkbookNodePtr book)
        : Handle(w, "Workbook"), book_(std::move(book)) {}

    SheetsPtr sheets() override { return std::make_shared<SheetsHandle>(enter("Sheets"), book_); }

private:
    WorkbookNodePtr book_;
};

// A workbook's window: DisplayGridlines belongs to the sheet the window shows.
class WindowHandle final : public Window, public Handle {
public:
    WindowHandle(const std::shared_ptr<World>& w, WorkbookNodePtr book) : Handle(w, "Window"), book_(std::move(book)) {}

    bool displayGridlines() override {
        enter("DisplayGridlines");
        return sheet()->gridlines;
    }
    void setDisplayGridlines(bool value) override {
        enter("DisplayGridlines=");
        sheet()->gridlines = value;
    }

private:
    SheetNodePtr sheet() const {
        auto s = book_->activeSheet.lock();
        if (!s) throwMethodFailed("Window", "DisplayGridlines");
        return s;
    }
    WorkbookNodePtr book_;
};

// ---------------------------------------------------------------- selection

class SelectionHandle final : public Selection, public Handle {
public:
    enum class Kind { Cells, Shapes, Chart };

    SelectionHandle(const std::shared_ptr<World>& w, SheetNodePtr sheet, Kind kind, CellArea area,
                    std::vector<DrawingObjectPtr> shapes)
        : Handle(w, "Selection"), sheet_(std::move(sheet)), kind_(kind), area_(area), shapes_(std::move(shapes)) {}

    std::string typeName() override {
        enter("TypeName");
        switch (kind_) {
            case Kind::Cells: return "Range";
            case Kind::Chart: return "ChartArea";
            case Kind::Shapes: return shapes_.size() == 1 ? World::selectionTypeName(*shapes_[0]) : "DrawingObjects";
        }
        return "Range";
    }

    int32_t count() override {
        enter("Count");
        if (kind_ == Kind::Cells) return static_cast<int32_t>(cellCount(area_));
        // One drawing object is not a collection and has no Count.
        if (kind_ == Kind::Shapes && shapes_.size() > 1) return static_cast<int32_t>(shapes_.size());
        throwNotSupported();
    }

    void copy() override {
        auto w = enter("Copy");
        if (kind_ == Kind::Chart) throwNotSupported();
        if (kind_ == Kind::Cells) {
            w->copyToClipboard(sheet_, {}, area_, true, xlScreen, xlPicture);
            return;
        }
        liveShapes("Copy");
        w->copyToClipboard(sheet_, shapes_, std::nullopt, true, xlScreen, xlPicture);
    }

    bool autoSize() override {
        enter("AutoSize");
        const auto& shapes = textShapes("AutoSize");
        const bool first = shapes.front()->autoSize;
        for (const auto& s : shapes) {
            if (s->autoSize != first) throwInvalidUseOfNull();
        }
        return first;
    }

    void setAutoSize(bool value) override {
        enter("AutoSize=");
        for (const auto& s : textShapes("AutoSize")) s->autoSize = value;
    }

    int32_t verticalAlignment() override {
        enter("VerticalAlignment");
        std::set<int32_t> values;
        if (kind_ == Kind::Cells) {
            int64_t explicitCells = 0;
            for (const auto& [ref, v] : sheet_->cellAlignment) {
                if (inArea(ref)) {
                    values.insert(v);
                    ++explicitCells;
                }
            }
            if (explicitCells < cellCount(area_)) values.insert(sheet_->verticalAlignment);
        } else {
            for (const auto& s : textShapes("VerticalAlignment")) values.insert(s->verticalAlignment);
        }
        if (values.size() != 1) throwInvalidUseOfNull();
        return *values.begin();
    }

    void setVerticalAlignment(int32_t value) override {
        enter("VerticalAlignment=");
        const bool valid = value == xlTop || value == xlCenter || value == xlBottom || value == xlJustify ||
                           value == xlDistributed;
        if (kind_ == Kind::Cells) {
            if (!valid) throwUnableToSet("VerticalAlignment", "Range");
            if (area_.all || cellCount(area_) == cellCount(CellArea{{1, 1}, {kSheetRows, kSheetColumns}, false})) {
                sheet_->verticalAlignment = value;
                sheet_->cellAlignment.clear();
                return;
            }
            for (int32_t r = area_.first.row; r <= area_.last.row; ++r) {
                for (int32_t c = area_.first.column; c <= area_.last.column; ++c) {
                    sheet_->cellAlignment[CellRef{r, c}] = value;
                }
            }
            return;
        }
        const auto& shapes = textShapes("VerticalAlignment");
        if (!valid) throwUnableToSet("VerticalAlignment", typeNameNow());
        for (const auto& s : shapes) s->verticalAlignment = value;
    }

    ShapePtr shapeRange() override {
        auto w = enter("ShapeRange");
        if (kind_ != Kind::Shapes) throwNotSupported();
        liveShapes("ShapeRange");
        return makeShapeRange(w, shapes_);
    }

private:
    bool inArea(const CellRef& ref) const {
        if (area_.all) return true;
        return ref.row >= area_.first.row && ref.row <= area_.last.row && ref.column >= area_.first.column &&
               ref.column <= area_.last.column;
    }

    void liveShapes(const char* member) const {
        for (const auto& s : shapes_) {
            if (s->deleted) failed(member);
        }
    }

    // The selected shapes when every one of them holds text; lines, pictures, charts and
    // cells lack the text members.
    const std::vector<DrawingObjectPtr>& textShapes(const char* member) const {
        if (kind_ != Kind::Shapes) throwNotSupported();
        liveShapes(member);
        for (const auto& s : shapes_) {
            if (!World::hasTextFrame(*s)) throwNotSupported();
        }
        return shapes_;
    }

    std::string typeNameNow() const {
        return shapes_.size() == 1 ? World::selectionTypeName(*shapes_[0]) : "DrawingObjects";
    }

    SheetNodePtr sheet_;
    Kind kind_;
    CellArea area_;
    std::vector<DrawingObjectPtr> shapes_;
};

// ---------------------------------------------------------------- application

class ApplicationHandle final : public Application, public Handle {
public:
    explicit ApplicationHandle(const std::shared_ptr<World>& w) : Handle(w, "Application") {}

    std::string version() override { return enter("Version")->version; }

    WorkbookPtr activeWorkbook() override {
        auto w = enter("ActiveWorkbook");
        if (!w->activeBook) return nullptr;
        return std::make_shared<WorkbookHandle>(w, w->activeBook);
    }

    WindowPtr activeWindow() override {
        auto w = enter("ActiveWindow");
        if (!w->activeBook) return nullptr;
        return std::make_shared<WindowHandle>(w, w->activeBook);
    }

    SheetPtr activeSheet() override {
        auto w = enter("ActiveSheet");
        auto sheet = w->activeSheet();
        if (!sheet) return nullptr;
        return makeSheet(w, sheet);
    }

    SelectionPtr selection() override {
        auto w = enter("Selection");
        auto sheet = w->activeSheet();
        if (!sheet || sheet->nothingSelected) return nullptr;
        if (sheet->chart) {
            return std::make_shared<SelectionHandle>(w, sheet, SelectionHandle::Kind::Chart, CellArea{},
                                                     std::vector<DrawingObjectPtr>{});
        }
        auto shapes = w->selectedShapes(sheet);
        if (!shapes.empty()) {
            return std::make_shared<SelectionHandle>(w, sheet, SelectionHandle::Kind::Shapes, CellArea{},
                                                     std::move(shapes));
        }
        return std::make_shared<SelectionHandle>(w, sheet, SelectionHandle::Kind::Cells, sheet->selectedRange,
                                                 std::vector<DrawingObjectPtr>{});
    }

    CommandBarsPtr commandBars() override { return makeCommandBars(enter("CommandBars")); }

    bool screenUpdating() override { return enter("ScreenUpdating")->screenUpdating; }
    void setScreenUpdating(bool value) override { enter("ScreenUpdating=")->screenUpdating = value; }
    bool displayFormulaBar() override { return enter("DisplayFormulaBar")->displayFormulaBar; }
    void setDisplayFormulaBar(bool value) override { enter("DisplayFormulaBar=")->displayFormulaBar = value; }
    bool displayFullScreen() override { return enter("DisplayFullScreen")->displayFullScreen; }
    void setDisplayFullScreen(bool value) override { enter("DisplayFullScreen=")->displayFullScreen = value; }

    std::string caption() override { return enter("Caption")->caption(); }
    double top() override { return enter("Top")->applicationTop; }

    std::string getSaveAsFilename(const std::string& initialFilename, const std::string& fileFilter,
                                  int32_t filterIndex, const std::string& title) override {
        auto w = enter("GetSaveAsFilename");
        w->saveAsRequests.push_back(SaveAsRequest{initialFilename, fileFilter, filterIndex, title});
        if (w->saveAsAnswers.empty()) return "False";
        const auto answer = w->saveAsAnswers.front();
        w->saveAsAnswers.pop_front();
        return answer.value_or("False");
    }

    double centimetersToPoints(double centimeters) override {
        enter("CentimetersToPoints");
        return centimeters * 72.0 / 2.54;
    }

    Subscription onSheetChange(SheetChangeHandler handler) override {
        auto w = enter("SheetChange");
        auto sub = std::make_shared<Subscriber<SheetChangeHandler>>();
        sub->handler = std::move(handler);
        w->sheetChangeSubscribers.push_back(sub);
        return w->makeSubscription(sub);
    }
};

}  // namespace

void World::fireSheetChange(const SheetNodePtr& sheet, const CellArea& area) {
    const auto subscribers = sheetChangeSubscribers;
    for (const auto& s : subscribers) {
        if (!s->active) continue;
        const auto handler = s->handler;
        callHandler("SheetChange", [&] { handler(makeSheet(shared_from_this(), sheet), makeRange(shared_from_this(), sheet, area)); });
    }
    std::erase_if(sheetChangeSubscribers, [](const auto& s) { return !s->active; });
}

ApplicationPtr makeApplication(const std::shared_ptr<World>& world) {
    return std::make_shared<ApplicationHandle>(world);
}

SheetPtr makeSheet(const std::shared_ptr<World>& world, const SheetNodePtr& sheet) {
    return std::make_shared<SheetHandle>(world, sheet);
}

RangePtr makeRange(const std::shared_ptr<World>& world, const SheetNodePtr& sheet, const CellArea& area) {
    return std::make_shared<RangeHandle>(world, sheet, area);
}

}  // namespace qm::sim::detail
