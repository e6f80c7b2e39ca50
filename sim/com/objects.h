// The fake Excel's object classes, one per kind of host object, each wrapping a handle of
// the simulated host. A null handle wraps to a null IDispatch: Nothing.
#pragma once

#include <initializer_list>
#include <memory>

#include "core/host/host.h"
#include "sim/com/dispatch.h"

namespace qm::sim {
class SimAddIn;
}

namespace qm::fake {

ComPtr<IDispatch> wrapApplication(const ContextPtr& c, host::ApplicationPtr app);
ComPtr<IDispatch> wrapWorkbook(const ContextPtr& c, host::WorkbookPtr book);
ComPtr<IDispatch> wrapSheets(const ContextPtr& c, host::SheetsPtr sheets);
ComPtr<IDispatch> wrapSheet(const ContextPtr& c, host::SheetPtr sheet);
ComPtr<IDispatch> wrapRange(const ContextPtr& c, host::RangePtr range);
ComPtr<IDispatch> wrapWindow(const ContextPtr& c, host::WindowPtr window);
ComPtr<IDispatch> wrapSelection(const ContextPtr& c, host::SelectionPtr selection);
ComPtr<IDispatch> wrapShapes(const ContextPtr& c, host::ShapesPtr shapes);
// A drawing object ("Shape"), or a range of them ("ShapeRange").
ComPtr<IDispatch> wrapShape(const ContextPtr& c, host::ShapePtr shape, bool range);
ComPtr<IDispatch> wrapFormat(const ContextPtr& c, host::ShapePtr shape, host::ShapeFormat format);
ComPtr<IDispatch> wrapNodes(const ContextPtr& c, host::ShapeNodesPtr nodes);
ComPtr<IDispatch> wrapNode(const ContextPtr& c, host::ShapeNodePtr node);
ComPtr<IDispatch> wrapCommandBars(const ContextPtr& c, host::CommandBarsPtr bars);
ComPtr<IDispatch> wrapCommandBar(const ContextPtr& c, host::CommandBarPtr bar);
ComPtr<IDispatch> wrapControls(const ContextPtr& c, host::CommandBarControlsPtr controls);
ComPtr<IDispatch> wrapControl(const ContextPtr& c, host::CommandBarControlPtr control);
ComPtr<IDispatch> wrapAddIn(const ContextPtr& c, std::shared_ptr<sim::SimAddIn> addIn);

// The host objects behind arguments: null for Nothing; error 13 for an object of another
// kind or from elsewhere.
host::SheetPtr sheetArgument(IDispatch* dispatch);
host::CommandBarPtr barArgument(IDispatch* dispatch);

inline bool among(Member m, std::initializer_list<Member> members) {
    for (Member x : members) {
        if (x == m) return true;
    }
    return false;
}

// A VARIANT holding an object reference (VT_DISPATCH), for event arguments.
inline VARIANT objectVariant(ComPtr<IDispatch> object) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object.detach();
    return v;
}

// Members that only read: no arguments, no put.
template <class Get>
void readLong(Call& c, Get get) {
    c.getOnly();
    c.atMost(0);
    c.returnLong(get());
}
template <class Get>
void readText(Call& c, Get get) {
    c.getOnly();
    c.atMost(0);
    c.returnText(get());
}
template <class Get>
void readObject(Call& c, Get get) {
    c.getOnly();
    c.atMost(0);
    c.returnObject(get());
}

// Properties that read and write, one per value type.
template <class Get, class Set>
void propertyLong(Call& c, Get get, Set set) {
    c.atMost(0);
    if (c.isPut()) set(c.putI4());
    else c.returnLong(get());
}
template <class Get, class Set>
void propertyBoolean(Call& c, Get get, Set set) {
    c.atMost(0);
    if (c.isPut()) set(c.putBoolean());
    else c.returnBoolean(get());
}
template <class Get, class Set>
void propertySingle(Call& c, Get get, Set set) {
    c.atMost(0);
    if (c.isPut()) set(c.putR4());
    else c.returnSingle(get());
}
template <class Get, class Set>
void propertyDouble(Call& c, Get get, Set set) {
    c.atMost(0);
    if (c.isPut()) set(c.putR8());
    else c.returnDouble(get());
}
template <class Get, class Set>
void propertyText(Call& c, Get get, Set set) {
    c.atMost(0);
    if (c.isPut()) set(c.putText());
    else c.returnText(get());
}

[[noreturn]] inline void noSuchMember() { throw DispFailure{DISP_E_MEMBERNOTFOUND}; }

}  // namespace qm::fake
