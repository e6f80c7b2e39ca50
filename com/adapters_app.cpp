// The spreadsheet side of the host adapter: Application, workbooks, sheets, cells,
// windows and the selection.
#include "com/adapters.h"

#include "com/events.h"

namespace qm::com {

// ---------------------------------------------------------------- Application

std::string ComApplication::version() { return d_.getText(L"Version"); }

host::WorkbookPtr ComApplication::activeWorkbook() {
    return wrap<ComWorkbook>(d_.getObject(L"ActiveWorkbook"), d_.session());
}

host::WindowPtr ComApplication::activeWindow() { return wrap<ComWindow>(d_.getObject(L"ActiveWindow"), d_.session()); }

host::SheetPtr ComApplication::activeSheet() { return wrap<ComSheet>(d_.getObject(L"ActiveSheet"), d_.session()); }

host::SelectionPtr ComApplication::selection() {
    return wrap<ComSelection>(d_.getObject(L"Selection"), d_.session());
}

host::CommandBarsPtr ComApplication::commandBars() {
    return wrap<ComCommandBars>(d_.getObject(L"CommandBars"), d_.session());
}

bool ComApplication::screenUpdating() { return d_.getBool(L"ScreenUpdating"); }
void ComApplication::setScreenUpdating(bool value) { d_.put(L"ScreenUpdating", fromBool(value)); }
bool ComApplication::displayFormulaBar() { return d_.getBool(L"DisplayFormulaBar"); }
void ComApplication::setDisplayFormulaBar(bool value) { d_.put(L"DisplayFormulaBar", fromBool(value)); }
bool ComApplication::displayFullScreen() { return d_.getBool(L"DisplayFullScreen"); }
void ComApplication::setDisplayFullScreen(bool value) { d_.put(L"DisplayFullScreen", fromBool(value)); }
std::string ComApplication::caption() { return d_.getText(L"Caption"); }
double ComApplication::top() { return d_.getDouble(L"Top"); }

std::string ComApplication::getSaveAsFilename(const std::string& initialFilename, const std::string& fileFilter,
                                              int32_t filterIndex, const std::string& title) {
    // A path, or the Boolean False when the user cancels: toText reads that as "False".
    Variant chosen = d_.call(L"GetSaveAsFilename", fromText(initialFilename), fromText(fileFilter),
                             fromInt(filterIndex), fromText(title));
    return toText(*chosen.get());
}

double ComApplication::centimetersToPoints(double centimeters) {
    return toDouble(*d_.call(L"CentimetersToPoints", fromDouble(centimeters)).get());
}

host::Subscription ComApplication::onSheetChange(host::SheetChangeHandler handler) {
    std::shared_ptr<Session> session = d_.session();
    return advise(d_, kAppEvents, [handler = std::move(handler), session](DISPID member, DISPPARAMS& params) {
        if (member != kSheetChange) return;
        VARIANT* sheet = eventArgument(params, 0);
        VARIANT* target = eventArgument(params, 1);
        if (!sheet || !target) return;
        handler(wrap<ComSheet>(toObject(*sheet), session), wrap<ComRange>(toObject(*target), session));
    });
}

// ---------------------------------------------------------------- workbooks and sheets

host::SheetsPtr ComWorkbook::sheets() { return wrap<ComSheets>(d_.getObject(L"Sheets"), d_.session()); }

int32_t ComSheets::count() { return d_.getInt(L"Count"); }

host::SheetPtr ComSheets::item(int32_t index) {
    return wrap<ComSheet>(toObject(*d_.get(L"Item", fromInt(index)).get()), d_.session());
}

host::SheetPtr ComSheets::add(const host::SheetPtr& after) {
    IDispatch* afterSheet = dispatchOf(after);
    Variant added = afterSheet ? d_.call(L"Add", missing(), fromObject(afterSheet)) : d_.call(L"Add");
    return wrap<ComSheet>(toObject(*added.get()), d_.session());
}

std::string ComSheet::typeName() { return d_.typeName(); }
std::string ComSheet::name() { return d_.getText(L"Name"); }
void ComSheet::setName(const std::string& name) { d_.put(L"Name", fromText(name)); }
host::RangePtr ComSheet::cells() { return wrap<ComRange>(d_.getObject(L"Cells"), d_.session()); }

void ComSheet::setBackgroundPicture(const std::string& fileName) {
    d_.call(L"SetBackgroundPicture", fromText(fileName));
}

host::ShapesPtr ComSheet::shapes() { return wrap<ComShapes>(d_.getObject(L"Shapes"), d_.session()); }

// ---------------------------------------------------------------- cells and windows

int32_t ComRange::count() { return d_.getInt(L"Count"); }
double ComRange::columnWidth() { return d_.getDouble(L"ColumnWidth"); }
void ComRange::setColumnWidth(double value) { d_.put(L"ColumnWidth", fromDouble(value)); }
double ComRange::rowHeight() { return d_.getDouble(L"RowHeight"); }
void ComRange::setRowHeight(double value) { d_.put(L"RowHeight", fromDouble(value)); }

bool ComWindow::displayGridlines() { return d_.getBool(L"DisplayGridlines"); }
void ComWindow::setDisplayGridlines(bool value) { d_.put(L"DisplayGridlines", fromBool(value)); }

// ---------------------------------------------------------------- the selection

std::string ComSelection::typeName() { return d_.typeName(); }
int32_t ComSelection::count() { return d_.getInt(L"Count"); }
void ComSelection::copy() { d_.call(L"Copy"); }
bool ComSelection::autoSize() { return d_.getBool(L"AutoSize"); }
void ComSelection::setAutoSize(bool value) { d_.put(L"AutoSize", fromBool(value)); }
int32_t ComSelection::verticalAlignment() { return d_.getInt(L"VerticalAlignment"); }
void ComSelection::setVerticalAlignment(int32_t value) { d_.put(L"VerticalAlignment", fromInt(value)); }
host::ShapePtr ComSelection::shapeRange() { return wrap<ComShape>(d_.getObject(L"ShapeRange"), d_.session()); }

}  // namespace qm::com
