// The command bar side of the host adapter: bars, controls, their events, and the
// add-in's own COMAddIn record.
#include "com/adapters.h"

#include "com/events.h"

namespace qm::com {

// ---------------------------------------------------------------- CommandBars

int32_t ComCommandBars::count() { return d_.getInt(L"Count"); }

host::CommandBarPtr ComCommandBars::item(int32_t index) {
    return wrap<ComCommandBar>(toObject(*d_.get(L"Item", fromInt(index)).get()), d_.session());
}

host::CommandBarPtr ComCommandBars::item(const std::string& name) {
    return wrap<ComCommandBar>(toObject(*d_.get(L"Item", fromText(name)).get()), d_.session());
}

host::CommandBarPtr ComCommandBars::add(const host::BarSpec& wanted) {
    Variant added = d_.call(L"Add", fromOptional(wanted.name), fromOptional(wanted.position), fromOptional(wanted.menuBar),
                            fromOptional(wanted.temporary));
    return wrap<ComCommandBar>(toObject(*added.get()), d_.session());
}

host::CommandBarControlPtr ComCommandBars::findControl(const host::FindSpec& criteria) {
    Variant found = d_.call(L"FindControl", fromOptional(criteria.type), fromOptional(criteria.id), fromOptional(criteria.tag),
                            fromOptional(criteria.visible));
    return wrap<ComCommandBarControl>(toObject(*found.get()), d_.session());
}

host::Subscription ComCommandBars::onUpdate(host::UpdateHandler handler) {
    return advise(d_, kCommandBarsEvents, [handler = std::move(handler)](DISPID member, DISPPARAMS&) {
        if (member == kOnUpdate) handler();
    });
}

// ---------------------------------------------------------------- CommandBar

std::string ComCommandBar::name() { return d_.getText(L"Name"); }
std::string ComCommandBar::nameLocal() { return d_.getText(L"NameLocal"); }
int32_t ComCommandBar::index() { return d_.getInt(L"Index"); }
int32_t ComCommandBar::type() { return d_.getInt(L"Type"); }
bool ComCommandBar::enabled() { return d_.getBool(L"Enabled"); }
void ComCommandBar::setEnabled(bool value) { d_.put(L"Enabled", fromBool(value)); }
bool ComCommandBar::visible() { return d_.getBool(L"Visible"); }
void ComCommandBar::setVisible(bool value) { d_.put(L"Visible", fromBool(value)); }
int32_t ComCommandBar::position() { return d_.getInt(L"Position"); }
void ComCommandBar::setPosition(int32_t value) { d_.put(L"Position", fromInt(value)); }
int32_t ComCommandBar::rowIndex() { return d_.getInt(L"RowIndex"); }
void ComCommandBar::setRowIndex(int32_t value) { d_.put(L"RowIndex", fromInt(value)); }
int32_t ComCommandBar::left() { return d_.getInt(L"Left"); }
void ComCommandBar::setLeft(int32_t value) { d_.put(L"Left", fromInt(value)); }
int32_t ComCommandBar::top() { return d_.getInt(L"Top"); }
void ComCommandBar::setTop(int32_t value) { d_.put(L"Top", fromInt(value)); }
int32_t ComCommandBar::width() { return d_.getInt(L"Width"); }
void ComCommandBar::setWidth(int32_t value) { d_.put(L"Width", fromInt(value)); }
int32_t ComCommandBar::protection() { return d_.getInt(L"Protection"); }
void ComCommandBar::setProtection(int32_t value) { d_.put(L"Protection", fromInt(value)); }

host::CommandBarControlsPtr ComCommandBar::controls() {
    return wrap<ComCommandBarControls>(d_.getObject(L"Controls"), d_.session());
}

host::CommandBarControlPtr ComCommandBar::findControl(const host::FindSpec& criteria) {
    Variant found = d_.call(L"FindControl", fromOptional(criteria.type), fromOptional(criteria.id), fromOptional(criteria.tag),
                            fromOptional(criteria.visible), fromOptional(criteria.recursive));
    return wrap<ComCommandBarControl>(toObject(*found.get()), d_.session());
}

void ComCommandBar::remove() { d_.call(L"Delete"); }

// ---------------------------------------------------------------- controls

int32_t ComCommandBarControls::count() { return d_.getInt(L"Count"); }

host::CommandBarControlPtr ComCommandBarControls::item(int32_t index) {
    return wrap<ComCommandBarControl>(toObject(*d_.get(L"Item", fromInt(index)).get()), d_.session());
}

host::CommandBarControlPtr ComCommandBarControls::add(const host::ControlSpec& wanted) {
    // Add(Type, Id, Parameter, Before, Temporary): appended at the end, no parameter.
    Variant added = d_.call(L"Add", fromOptional(wanted.type), fromOptional(wanted.id), missing(), missing(),
                            fromOptional(wanted.temporary));
    return wrap<ComCommandBarControl>(toObject(*added.get()), d_.session());
}

int32_t ComCommandBarControl::id() { return d_.getInt(L"Id"); }
int32_t ComCommandBarControl::type() { return d_.getInt(L"Type"); }
std::string ComCommandBarControl::caption() { return d_.getText(L"Caption"); }
void ComCommandBarControl::setCaption(const std::string& value) { d_.put(L"Caption", fromText(value)); }
std::string ComCommandBarControl::tag() { return d_.getText(L"Tag"); }
void ComCommandBarControl::setTag(const std::string& value) { d_.put(L"Tag", fromText(value)); }
bool ComCommandBarControl::beginGroup() { return d_.getBool(L"BeginGroup"); }
void ComCommandBarControl::setBeginGroup(bool value) { d_.put(L"BeginGroup", fromBool(value)); }
std::string ComCommandBarControl::onAction() { return d_.getText(L"OnAction"); }
void ComCommandBarControl::setOnAction(const std::string& value) { d_.put(L"OnAction", fromText(value)); }
bool ComCommandBarControl::enabled() { return d_.getBool(L"Enabled"); }
void ComCommandBarControl::setEnabled(bool value) { d_.put(L"Enabled", fromBool(value)); }
int32_t ComCommandBarControl::width() { return d_.getInt(L"Width"); }
void ComCommandBarControl::setWidth(int32_t value) { d_.put(L"Width", fromInt(value)); }
void ComCommandBarControl::remove() { d_.call(L"Delete"); }

host::CommandBarControlPtr ComCommandBarControl::copy(const host::CommandBarPtr& bar) {
    IDispatch* target = dispatchOf(bar);
    Variant copied = target ? d_.call(L"Copy", fromObject(target)) : d_.call(L"Copy");
    return wrap<ComCommandBarControl>(toObject(*copied.get()), d_.session());
}

void ComCommandBarControl::execute() { d_.call(L"Execute"); }
int32_t ComCommandBarControl::faceId() { return d_.getInt(L"FaceId"); }
void ComCommandBarControl::setFaceId(int32_t value) { d_.put(L"FaceId", fromInt(value)); }
void ComCommandBarControl::pasteFace() { d_.call(L"PasteFace"); }
int32_t ComCommandBarControl::style() { return d_.getInt(L"Style"); }
void ComCommandBarControl::setStyle(int32_t value) { d_.put(L"Style", fromInt(value)); }
int32_t ComCommandBarControl::state() { return d_.getInt(L"State"); }
void ComCommandBarControl::setState(int32_t value) { d_.put(L"State", fromInt(value)); }

host::Subscription ComCommandBarControl::onClick(host::ClickHandler handler) {
    std::shared_ptr<Session> session = d_.session();
    return advise(d_, kCommandBarButtonEvents, [handler = std::move(handler), session](DISPID member, DISPPARAMS& params) {
        if (member != kClick) return;
        VARIANT* ctrl = eventArgument(params, 0);
        VARIANT* cancel = eventArgument(params, 1);
        if (!ctrl) return;
        // CancelDefault comes by reference (VARIANT_BOOL*), or as a VARIANT by reference.
        VARIANT_BOOL* cancelSlot = nullptr;
        if (cancel && cancel->vt == (VT_BYREF | VT_BOOL)) cancelSlot = cancel->pboolVal;
        else if (cancel && cancel->vt == (VT_BYREF | VT_VARIANT) && cancel->pvarVal && cancel->pvarVal->vt == VT_BOOL)
            cancelSlot = &cancel->pvarVal->boolVal;
        bool cancelDefault = cancelSlot ? *cancelSlot != VARIANT_FALSE : (cancel && toBool(*cancel));
        handler(wrap<ComCommandBarControl>(toObject(*ctrl), session), cancelDefault);
        if (cancelSlot) *cancelSlot = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

host::CommandBarControlsPtr ComCommandBarControl::controls() {
    return wrap<ComCommandBarControls>(d_.getObject(L"Controls"), d_.session());
}

host::CommandBarPtr ComCommandBarControl::commandBar() {
    return wrap<ComCommandBar>(d_.getObject(L"CommandBar"), d_.session());
}

// ---------------------------------------------------------------- the add-in's record

std::string ComAddIn::progId() { return d_.getText(L"ProgId"); }
void ComAddIn::setConnect(bool value) { d_.put(L"Connect", fromBool(value)); }

}  // namespace qm::com
