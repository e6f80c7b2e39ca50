// The command bars of the fake Excel: CommandBars (with CommandBarsEvents), CommandBar,
// CommandBarControls, and the controls (button, popup, combo box) with the Click event.
#include "sim/sim_host.h"
#include "sim/com/objects.h"

namespace qm::fake {
namespace {

using M = Member;

host::FindSpec findArguments(const Call& c, bool withRecursive) {
    host::FindSpec find;
    find.type = c.optI4(0);
    find.id = c.optI4(1);
    find.tag = c.optText(2);
    find.visible = c.optBoolean(3);
    if (withRecursive) find.recursive = c.optBoolean(4);
    return find;
}

class BarsObject final : public DispatchObject {
public:
    BarsObject(const ContextPtr& c, host::CommandBarsPtr bars) : DispatchObject(c, "CommandBars"), bars_(std::move(bars)) {}
    std::string typeName() override { return "CommandBars"; }
    bool has(Member m) const override { return among(m, {M::Count, M::Item, M::Add, M::FindControl}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return bars_->count(); });
            case M::Item: {
                c.getOnly();
                c.atMost(1);
                const VARIANT* index = c.arg(0);
                const bool byName = index && index->vt == VT_BSTR;
                return c.returnObject(wrapCommandBar(context(), byName ? bars_->item(c.text(0)) : bars_->item(c.i4(0))));
            }
            case M::Add: {
                c.getOnly();
                c.atMost(4);
                host::BarSpec bar;
                bar.name = c.optText(0);
                bar.position = c.optI4(1);
                bar.menuBar = c.optBoolean(2);
                bar.temporary = c.optBoolean(3);
                return c.returnObject(wrapCommandBar(context(), bars_->add(bar)));
            }
            case M::FindControl:
                c.getOnly();
                c.atMost(4);
                return c.returnObject(wrapControl(context(), bars_->findControl(findArguments(c, false))));
            default: noSuchMember();
        }
    }

    const IID* events() const override { return &kCommandBarsEvents; }
    host::Subscription subscribe(const ComPtr<IDispatch>& sink) override {
        return bars_->onUpdate([x = context(), sink] { raiseEvent(*x, sink.get(), kOnUpdate, nullptr, 0); });
    }

private:
    host::CommandBarsPtr bars_;
};

class BarObject final : public DispatchObject {
public:
    BarObject(const ContextPtr& c, host::CommandBarPtr bar) : DispatchObject(c, "CommandBar"), bar_(std::move(bar)) {}
    const host::CommandBarPtr& bar() const { return bar_; }

    std::string typeName() override { return "CommandBar"; }
    bool has(Member m) const override {
        return among(m, {M::Name, M::NameLocal, M::Index, M::Type, M::Enabled, M::Visible, M::Position, M::RowIndex,
                         M::Left, M::Top, M::Width, M::Protection, M::Controls, M::FindControl, M::Delete});
    }
    void invoke(Member m, Call& c) override {
        auto& b = *bar_;
        switch (m) {
            case M::Name: return readText(c, [&] { return b.name(); });
            case M::NameLocal: return readText(c, [&] { return b.nameLocal(); });
            case M::Index: return readLong(c, [&] { return b.index(); });
            case M::Type: return readLong(c, [&] { return b.type(); });
            case M::Enabled: return propertyBoolean(c, [&] { return b.enabled(); }, [&](bool v) { b.setEnabled(v); });
            case M::Visible: return propertyBoolean(c, [&] { return b.visible(); }, [&](bool v) { b.setVisible(v); });
            case M::Position: return propertyLong(c, [&] { return b.position(); }, [&](int32_t v) { b.setPosition(v); });
            case M::RowIndex: return propertyLong(c, [&] { return b.rowIndex(); }, [&](int32_t v) { b.setRowIndex(v); });
            case M::Left: return propertyLong(c, [&] { return b.left(); }, [&](int32_t v) { b.setLeft(v); });
            case M::Top: return propertyLong(c, [&] { return b.top(); }, [&](int32_t v) { b.setTop(v); });
            case M::Width: return propertyLong(c, [&] { return b.width(); }, [&](int32_t v) { b.setWidth(v); });
            case M::Protection:
                return propertyLong(c, [&] { return b.protection(); }, [&](int32_t v) { b.setProtection(v); });
            case M::Controls: return readObject(c, [&] { return wrapControls(context(), b.controls()); });
            case M::FindControl:
                c.getOnly();
                c.atMost(5);
                return c.returnObject(wrapControl(context(), b.findControl(findArguments(c, true))));
            case M::Delete:
                c.getOnly();
                c.atMost(0);
                return b.remove();
            default: noSuchMember();
        }
    }

private:
    host::CommandBarPtr bar_;
};

class ControlsObject final : public DispatchObject {
public:
    ControlsObject(const ContextPtr& c, host::CommandBarControlsPtr controls)
        : DispatchObject(c, "CommandBarControls"), controls_(std::move(controls)) {}
    std::string typeName() override { return "CommandBarControls"; }
    bool has(Member m) const override { return among(m, {M::Count, M::Item, M::Add}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return controls_->count(); });
            case M::Item:
                c.getOnly();
                c.atMost(1);
                return c.returnObject(wrapControl(context(), controls_->item(c.i4(0))));
            case M::Add: {
                // Add(Type, Id, Parameter, Before, Temporary): the simulated host appends
                // controls at the end only.
                c.getOnly();
                c.atMost(5);
                if (!c.omitted(3)) throw host::HostError(host::err::kInvalidCall, "Before is not supported here");
                host::ControlSpec control;
                control.type = c.optI4(0);
                control.id = c.optI4(1);
                control.temporary = c.optBoolean(4);
                return c.returnObject(wrapControl(context(), controls_->add(control)));
            }
            default: noSuchMember();
        }
    }

private:
    host::CommandBarControlsPtr controls_;
};

// A control of any kind. Its kind decides its type name and members, as Excel's
// CommandBarButton, CommandBarPopup and CommandBarComboBox differ.
class ControlObject final : public DispatchObject {
public:
    ControlObject(const ContextPtr& c, host::CommandBarControlPtr control)
        : DispatchObject(c, "CommandBarControl"), control_(std::move(control)), node_(c->host.nodeOf(control_)) {}

    std::string typeName() override {
        if (!node_) return "CommandBarControl";
        if (node_->hasSubBar()) return "CommandBarPopup";
        if (node_->isButton()) return "CommandBarButton";
        if (node_->type == host::msoControlEdit || node_->type == host::msoControlDropdown ||
            node_->type == host::msoControlComboBox) {
            return "CommandBarComboBox";
        }
        return "CommandBarControl";
    }

    bool has(Member m) const override {
        if (among(m, {M::Id, M::Type, M::Caption, M::Tag, M::BeginGroup, M::OnAction, M::Enabled, M::Width,
                      M::Delete, M::Copy, M::Execute})) {
            return true;
        }
        if (among(m, {M::FaceId, M::PasteFace, M::Style, M::State})) return !node_ || node_->isButton();
        if (among(m, {M::Controls, M::CommandBar})) return !node_ || node_->hasSubBar();
        return false;
    }

    void invoke(Member m, Call& c) override {
        auto& k = *control_;
        switch (m) {
            case M::Id: return readLong(c, [&] { return k.id(); });
            case M::Type: return readLong(c, [&] { return k.type(); });
            case M::Caption:
                return propertyText(c, [&] { return k.caption(); }, [&](const std::string& v) { k.setCaption(v); });
            case M::Tag: return propertyText(c, [&] { return k.tag(); }, [&](const std::string& v) { k.setTag(v); });
            case M::BeginGroup:
                return propertyBoolean(c, [&] { return k.beginGroup(); }, [&](bool v) { k.setBeginGroup(v); });
            case M::OnAction:
                return propertyText(c, [&] { return k.onAction(); }, [&](const std::string& v) { k.setOnAction(v); });
            case M::Enabled: return propertyBoolean(c, [&] { return k.enabled(); }, [&](bool v) { k.setEnabled(v); });
            case M::Width: return propertyLong(c, [&] { return k.width(); }, [&](int32_t v) { k.setWidth(v); });
            case M::Delete:
                c.getOnly();
                c.atMost(1);  // Delete(Temporary): the flag changes nothing here
                return k.remove();
            case M::Copy: {
                c.getOnly();
                c.atMost(2);
                if (!c.omitted(1)) throw host::HostError(host::err::kInvalidCall, "Before is not supported here");
                const ComPtr<IDispatch> bar = c.object(0);
                return c.returnObject(wrapControl(context(), k.copy(barArgument(bar.get()))));
            }
            case M::Execute:
                c.getOnly();
                c.atMost(0);
                return k.execute();
            case M::FaceId: return propertyLong(c, [&] { return k.faceId(); }, [&](int32_t v) { k.setFaceId(v); });
            case M::PasteFace:
                c.getOnly();
                c.atMost(0);
                return k.pasteFace();
            case M::Style: return propertyLong(c, [&] { return k.style(); }, [&](int32_t v) { k.setStyle(v); });
            case M::State: return propertyLong(c, [&] { return k.state(); }, [&](int32_t v) { k.setState(v); });
            case M::Controls: return readObject(c, [&] { return wrapControls(context(), k.controls()); });
            case M::CommandBar: return readObject(c, [&] { return wrapCommandBar(context(), k.commandBar()); });
            default: noSuchMember();
        }
    }

    const IID* events() const override { return &kCommandBarButtonEvents; }
    host::Subscription subscribe(const ComPtr<IDispatch>& sink) override {
        return control_->onClick([x = context(), sink](const host::CommandBarControlPtr& ctrl, bool& cancelDefault) {
            VARIANT_BOOL cancel = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
            VARIANT args[2];
            ::VariantInit(&args[0]);
            args[0].vt = VT_BOOL | VT_BYREF;
            args[0].pboolVal = &cancel;
            args[1] = objectVariant(wrapControl(x, ctrl));
            raiseEvent(*x, sink.get(), kClick, args, 2);
            ::VariantClear(&args[1]);
            cancelDefault = cancel != VARIANT_FALSE;
        });
    }

private:
    host::CommandBarControlPtr control_;
    sim::ControlNodePtr node_;
};

}  // namespace

ComPtr<IDispatch> wrapCommandBars(const ContextPtr& c, host::CommandBarsPtr bars) {
    return bars ? make<BarsObject>(c, std::move(bars)) : nullptr;
}
ComPtr<IDispatch> wrapCommandBar(const ContextPtr& c, host::CommandBarPtr bar) {
    return bar ? make<BarObject>(c, std::move(bar)) : nullptr;
}
ComPtr<IDispatch> wrapControls(const ContextPtr& c, host::CommandBarControlsPtr controls) {
    return controls ? make<ControlsObject>(c, std::move(controls)) : nullptr;
}
ComPtr<IDispatch> wrapControl(const ContextPtr& c, host::CommandBarControlPtr control) {
    return control ? make<ControlObject>(c, std::move(control)) : nullptr;
}

host::CommandBarPtr barArgument(IDispatch* dispatch) {
    if (!dispatch) return nullptr;
    auto* bar = fakeObject<BarObject>(dispatch);
    if (!bar) throw host::HostError(host::err::kTypeMismatch, "Type mismatch");
    return bar->bar();
}

}  // namespace qm::fake
