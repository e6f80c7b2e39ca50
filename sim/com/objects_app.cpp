// The spreadsheet side of the fake Excel: Application (with AppEvents), Workbook, Sheets,
// Worksheet and Chart, Range, Window, the late-bound Selection and the AddIn record.
#include "sim/addin.h"
#include "sim/com/objects.h"

namespace qm::fake {
namespace {

using M = Member;

class ApplicationObject final : public DispatchObject {
public:
    ApplicationObject(const ContextPtr& c, host::ApplicationPtr app)
        : DispatchObject(c, "Application"), app_(std::move(app)) {}

    std::string typeName() override { return "Application"; }

    bool has(Member m) const override {
        return among(m, {M::Version, M::ActiveWorkbook, M::ActiveWindow, M::ActiveSheet, M::Selection,
                         M::CommandBars, M::ScreenUpdating, M::DisplayFormulaBar, M::DisplayFullScreen, M::Caption,
                         M::Top, M::GetSaveAsFilename, M::CentimetersToPoints});
    }

    void invoke(Member m, Call& c) override {
        const ContextPtr x = context();
        switch (m) {
            case M::Version: return readText(c, [&] { return app_->version(); });
            case M::ActiveWorkbook: return readObject(c, [&] { return wrapWorkbook(x, app_->activeWorkbook()); });
            case M::ActiveWindow: return readObject(c, [&] { return wrapWindow(x, app_->activeWindow()); });
            case M::ActiveSheet: return readObject(c, [&] { return wrapSheet(x, app_->activeSheet()); });
            case M::Selection: return readObject(c, [&] { return wrapSelection(x, app_->selection()); });
            case M::CommandBars: return readObject(c, [&] { return wrapCommandBars(x, app_->commandBars()); });
            case M::ScreenUpdating:
                return propertyBoolean(c, [&] { return app_->screenUpdating(); },
                                       [&](bool v) { app_->setScreenUpdating(v); });
            case M::DisplayFormulaBar:
                return propertyBoolean(c, [&] { return app_->displayFormulaBar(); },
                                       [&](bool v) { app_->setDisplayFormulaBar(v); });
            case M::DisplayFullScreen:
                return propertyBoolean(c, [&] { return app_->displayFullScreen(); },
                                       [&](bool v) { app_->setDisplayFullScreen(v); });
            case M::Caption: return readText(c, [&] { return app_->caption(); });
            case M::Top:
                c.getOnly();
                c.atMost(0);
                return c.returnDouble(app_->top());
            case M::GetSaveAsFilename: {
                c.getOnly();
                c.atMost(4);
                const std::string path = app_->getSaveAsFilename(c.optText(0).value_or(""), c.optText(1).value_or(""),
                                                                 c.optI4(2).value_or(1), c.optText(3).value_or(""));
                // A cancelled dialog answers the Boolean False, not a path.
                if (path == "False") return c.returnBoolean(false);
                return c.returnText(path);
            }
            case M::CentimetersToPoints:
                c.getOnly();
                c.atMost(1);
                return c.returnDouble(app_->centimetersToPoints(c.r8(0)));
            default: noSuchMember();
        }
    }

    const IID* events() const override { return &kAppEvents; }

    host::Subscription subscribe(const ComPtr<IDispatch>& sink) override {
        return app_->onSheetChange([x = context(), sink](const host::SheetPtr& sheet, const host::RangePtr& target) {
            VARIANT args[2] = {objectVariant(wrapRange(x, target)), objectVariant(wrapSheet(x, sheet))};
            raiseEvent(*x, sink.get(), kSheetChange, args, 2);
            ::VariantClear(&args[0]);
            ::VariantClear(&args[1]);
        });
    }

private:
    host::ApplicationPtr app_;
};

class WorkbookObject final : public DispatchObject {
public:
    WorkbookObject(const ContextPtr& c, host::WorkbookPtr book) : DispatchObject(c, "Workbook"), book_(std::move(book)) {}
    std::string typeName() override { return "Workbook"; }
    bool has(Member m) const override { return m == M::Sheets; }
    void invoke(Member m, Call& c) override {
        if (m != M::Sheets) noSuchMember();
        readObject(c, [&] { return wrapSheets(context(), book_->sheets()); });
    }

private:
    host::WorkbookPtr book_;
};

class SheetsObject final : public DispatchObject {
public:
    SheetsObject(const ContextPtr& c, host::SheetsPtr sheets) : DispatchObject(c, "Sheets"), sheets_(std::move(sheets)) {}
    std::string typeName() override { return "Sheets"; }
    bool has(Member m) const override { return among(m, {M::Count, M::Item, M::Add}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return sheets_->count(); });
            case M::Item:
                c.getOnly();
                c.atMost(1);
                return c.returnObject(wrapSheet(context(), sheets_->item(c.i4(0))));
            case M::Add: {
                // Add(Before, After, Count, Type): the simulated host places a new sheet after
                // another one or before the active one, nothing else.
                c.getOnly();
                c.atMost(2);
                if (!c.omitted(0)) throw host::HostError(host::err::kInvalidCall, "Before is not supported here");
                const ComPtr<IDispatch> after = c.object(1);
                return c.returnObject(wrapSheet(context(), sheets_->add(sheetArgument(after.get()))));
            }
            default: noSuchMember();
        }
    }

private:
    host::SheetsPtr sheets_;
};

class SheetObject final : public DispatchObject {
public:
    SheetObject(const ContextPtr& c, host::SheetPtr sheet) : DispatchObject(c, "Sheet"), sheet_(std::move(sheet)) {}
    const host::SheetPtr& sheet() const { return sheet_; }

    std::string typeName() override { return sheet_->typeName(); }
    bool has(Member m) const override { return among(m, {M::Name, M::Cells, M::SetBackgroundPicture, M::Shapes}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Name:
                return propertyText(c, [&] { return sheet_->name(); },
                                    [&](const std::string& v) { sheet_->setName(v); });
            case M::Cells: return readObject(c, [&] { return wrapRange(context(), sheet_->cells()); });
            case M::SetBackgroundPicture:
                c.getOnly();
                c.atMost(1);
                return sheet_->setBackgroundPicture(c.text(0));
            case M::Shapes: return readObject(c, [&] { return wrapShapes(context(), sheet_->shapes()); });
            default: noSuchMember();
        }
    }

private:
    host::SheetPtr sheet_;
};

class RangeObject final : public DispatchObject {
public:
    RangeObject(const ContextPtr& c, host::RangePtr range) : DispatchObject(c, "Range"), range_(std::move(range)) {}
    std::string typeName() override { return "Range"; }
    bool has(Member m) const override { return among(m, {M::Count, M::ColumnWidth, M::RowHeight}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return range_->count(); });
            case M::ColumnWidth:
                return propertyDouble(c, [&] { return range_->columnWidth(); },
                                      [&](double v) { range_->setColumnWidth(v); });
            case M::RowHeight:
                return propertyDouble(c, [&] { return range_->rowHeight(); },
                                      [&](double v) { range_->setRowHeight(v); });
            default: noSuchMember();
        }
    }

private:
    host::RangePtr range_;
};

class WindowObject final : public DispatchObject {
public:
    WindowObject(const ContextPtr& c, host::WindowPtr window) : DispatchObject(c, "Window"), window_(std::move(window)) {}
    std::string typeName() override { return "Window"; }
    bool has(Member m) const override { return m == M::DisplayGridlines; }
    void invoke(Member m, Call& c) override {
        if (m != M::DisplayGridlines) noSuchMember();
        propertyBoolean(c, [&] { return window_->displayGridlines(); },
                        [&](bool v) { window_->setDisplayGridlines(v); });
    }

private:
    host::WindowPtr window_;
};

// Application.Selection: cells, one drawing object or several. Its type name is that of
// what is selected; members the selection lacks answer error 438 from the host.
class SelectionObject final : public DispatchObject {
public:
    SelectionObject(const ContextPtr& c, host::SelectionPtr selection)
        : DispatchObject(c, "Selection"), selection_(std::move(selection)) {}
    std::string typeName() override { return selection_->typeName(); }
    bool has(Member m) const override {
        return among(m, {M::Count, M::Copy, M::AutoSize, M::VerticalAlignment, M::ShapeRange});
    }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return selection_->count(); });
            case M::Copy:
                c.getOnly();
                c.atMost(1);  // Copy(Destination): the add-in copies to the clipboard only
                if (!c.omitted(0)) throw host::HostError(host::err::kInvalidCall, "Destination is not supported here");
                return selection_->copy();
            case M::AutoSize:
                return propertyBoolean(c, [&] { return selection_->autoSize(); },
                                       [&](bool v) { selection_->setAutoSize(v); });
            case M::VerticalAlignment:
                return propertyLong(c, [&] { return selection_->verticalAlignment(); },
                                    [&](int32_t v) { selection_->setVerticalAlignment(v); });
            case M::ShapeRange: return readObject(c, [&] { return wrapShape(context(), selection_->shapeRange(), true); });
            default: noSuchMember();
        }
    }

private:
    host::SelectionPtr selection_;
};

class AddInObject final : public DispatchObject {
public:
    AddInObject(const ContextPtr& c, std::shared_ptr<sim::SimAddIn> addIn)
        : DispatchObject(c, "AddIn"), addIn_(std::move(addIn)) {}
    std::string typeName() override { return "COMAddIn"; }
    bool has(Member m) const override { return among(m, {M::ProgId, M::Connect}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::ProgId: return readText(c, [&] { return addIn_->progId(); });
            case M::Connect:
                return propertyBoolean(c, [&] { return addIn_->connected(); },
                                       [&](bool v) { addIn_->setConnect(v); });
            default: noSuchMember();
        }
    }

private:
    std::shared_ptr<sim::SimAddIn> addIn_;
};

}  // namespace

ComPtr<IDispatch> wrapApplication(const ContextPtr& c, host::ApplicationPtr app) {
    return app ? make<ApplicationObject>(c, std::move(app)) : nullptr;
}
ComPtr<IDispatch> wrapWorkbook(const ContextPtr& c, host::WorkbookPtr book) {
    return book ? make<WorkbookObject>(c, std::move(book)) : nullptr;
}
ComPtr<IDispatch> wrapSheets(const ContextPtr& c, host::SheetsPtr sheets) {
    return sheets ? make<SheetsObject>(c, std::move(sheets)) : nullptr;
}
ComPtr<IDispatch> wrapSheet(const ContextPtr& c, host::SheetPtr sheet) {
    return sheet ? make<SheetObject>(c, std::move(sheet)) : nullptr;
}
ComPtr<IDispatch> wrapRange(const ContextPtr& c, host::RangePtr range) {
    return range ? make<RangeObject>(c, std::move(range)) : nullptr;
}
ComPtr<IDispatch> wrapWindow(const ContextPtr& c, host::WindowPtr window) {
    return window ? make<WindowObject>(c, std::move(window)) : nullptr;
}
ComPtr<IDispatch> wrapSelection(const ContextPtr& c, host::SelectionPtr selection) {
    return selection ? make<SelectionObject>(c, std::move(selection)) : nullptr;
}
ComPtr<IDispatch> wrapAddIn(const ContextPtr& c, std::shared_ptr<sim::SimAddIn> addIn) {
    return addIn ? make<AddInObject>(c, std::move(addIn)) : nullptr;
}

host::SheetPtr sheetArgument(IDispatch* dispatch) {
    if (!dispatch) return nullptr;
    auto* sheet = fakeObject<SheetObject>(dispatch);
    if (!sheet) throw host::HostError(host::err::kTypeMismatch, "Type mismatch");
    return sheet->sheet();
}

}  // namespace qm::fake
