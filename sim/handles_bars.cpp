// Handles onto the command bars: the collection, one bar, a bar's controls and one
// control (button, popup or combo box, reached late-bound).
#include <algorithm>

#include "core/picture/bmp.h"
#include "sim/handles.h"
#include "sim/world.h"

namespace qm::sim::detail {

using namespace host;

namespace {

class ControlsHandle final : public CommandBarControls, public Handle {
public:
    ControlsHandle(const std::shared_ptr<World>& w, BarNodePtr bar)
        : Handle(w, "CommandBarControls"), bar_(std::move(bar)) {}

    int32_t count() override {
        enter("Count");
        live("Count");
        return static_cast<int32_t>(bar_->controls.size());
    }

    CommandBarControlPtr item(int32_t index) override {
        auto w = enter("Item");
        live("Item");
        if (index < 1 || index > static_cast<int32_t>(bar_->controls.size())) throwInvalidCall();
        return makeControl(w, bar_->controls[static_cast<size_t>(index - 1)]);
    }

    CommandBarControlPtr add(const ControlSpec& args) override {
        auto w = enter("Add");
        live("Add");
        const bool temporary = args.temporary.value_or(false);
        ControlNodePtr ctrl;
        if (args.id && *args.id != 1) {
            // A built-in control: the catalogue decides its type and caption.
            ctrl = w->newBuiltinControl(*args.id, temporary);
        } else {
            ctrl = w->newCustomControl(args.type.value_or(msoControlButton), temporary);
        }
        if (!ctrl) failed("Add");
        w->appendControl(bar_, ctrl);
        return makeControl(w, ctrl);
    }

private:
    void live(const char* member) const {
        if (bar_->deleted) failed(member);
    }
    BarNodePtr bar_;
};

class BarHandle final : public CommandBar, public Handle {
public:
    BarHandle(const std::shared_ptr<World>& w, BarNodePtr bar) : Handle(w, "CommandBar"), bar_(std::move(bar)) {}

    const BarNodePtr& node() const { return bar_; }

    std::string name() override { return live("Name")->barName(*bar_); }
    std::string nameLocal() override { return live("NameLocal")->barName(*bar_); }
    int32_t index() override { return live("Index")->barIndex(bar_); }
    int32_t type() override {
        live("Type");
        return bar_->type;
    }

    bool enabled() override {
        live("Enabled");
        return bar_->enabled;
    }
    void setEnabled(bool value) override {
        live("Enabled=");
        bar_->enabled = value;
    }

    bool visible() override { return live("Visible")->barVisible(*bar_); }
    void setVisible(bool value) override {
        live("Visible=");
        // Popup bars show only when they pop up.
        if (bar_->type == msoBarTypePopup) failed("Visible");
        bar_->visible = value;
    }

    int32_t position() override {
        live("Position");
        return bar_->position;
    }
    void setPosition(int32_t value) override {
        auto w = live("Position=");
        if (bar_->isSubBar()) throwInvalidCall();
        w->setBarPosition(bar_, value);
    }

    int32_t rowIndex() override {
        live("RowIndex");
        return bar_->rowIndex;
    }
    void setRowIndex(int32_t value) override { live("RowIndex=")->setBarRow(bar_, value); }

    int32_t left() override { return live("Left")->barLeft(bar_); }
    void setLeft(int32_t value) override {
        live("Left=");
        bar_->left = value;
    }
    int32_t top() override { return live("Top")->barTop(bar_); }
    void setTop(int32_t value) override {
        live("Top=");
        bar_->top = value;
    }
    int32_t width() override { return live("Width")->barWidth(bar_); }
    void setWidth(int32_t value) override {
        live("Width=");
        if (value < 0) throwInvalidCall();
        bar_->widthRequest = value;
    }

    int32_t protection() override {
        live("Protection");
        return bar_->protection;
    }
    void setProtection(int32_t value) override {
        live("Protection=");
        if (value < 0 || value > 255) throwInvalidCall();
        bar_->protection = value;
    }

    CommandBarControlsPtr controls() override { return std::make_shared<ControlsHandle>(live("Controls"), bar_); }

    CommandBarControlPtr findControl(const FindSpec& args) override {
        auto w = live("FindControl");
        auto found = w->findControlIn(bar_, args, args.recursive.value_or(false));
        return found ? makeControl(w, found) : nullptr;
    }

    void remove() override {
        auto w = live("Delete");
        if (bar_->builtin || bar_->isSubBar()) throwInvalidCall();
        w->deleteBar(bar_);
    }

private:
    std::shared_ptr<World> live(const char* member) const {
        auto w = enter(member);
        if (bar_->deleted) failed(member);
        return w;
    }
    BarNodePtr bar_;
};

class ControlHandle final : public CommandBarControl, public Handle {
public:
    ControlHandle(const std::shared_ptr<World>& w, ControlNodePtr ctrl)
        : Handle(w, "CommandBarControl"), ctrl_(std::move(ctrl)) {}

    const ControlNodePtr& node() const { return ctrl_; }

    int32_t id() override {
        live("Id");
        return ctrl_->id;
    }
    int32_t type() override {
        live("Type");
        return ctrl_->type;
    }

    std::string caption() override {
        live("Caption");
        return ctrl_->caption;
    }
    void setCaption(const std::string& value) override {
        auto w = live("Caption=");
        ctrl_->caption = value;
        w->afterControlWrite();
    }

    std::string tag() override {
        live("Tag");
        return ctrl_->tag;
    }
    void setTag(const std::string& value) override {
        auto w = live("Tag=");
        ctrl_->tag = value;
        w->afterControlWrite();
    }

    bool beginGroup() override {
        live("BeginGroup");
        return ctrl_->beginGroup;
    }
    void setBeginGroup(bool value) override {
        auto w = live("BeginGroup=");
        ctrl_->beginGroup = value;
        w->afterControlWrite();
    }

    std::string onAction() override {
        live("OnAction");
        return ctrl_->onAction;
    }
    void setOnAction(const std::string& value) override {
        auto w = live("OnAction=");
        ctrl_->onAction = value;
        w->afterControlWrite();
    }

    bool enabled() override { return live("Enabled")->controlEnabled(*ctrl_); }
    void setEnabled(bool value) override {
        auto w = live("Enabled=");
        ctrl_->enabled = value;
        w->afterControlWrite();
    }

    int32_t width() override { return live("Width")->controlWidth(*ctrl_); }
    void setWidth(int32_t value) override {
        auto w = live("Width=");
        if (value < 0) throwInvalidCall();
        ctrl_->width = value;
        w->afterControlWrite();
    }

    void remove() override { live("Delete")->deleteControl(ctrl_); }

    CommandBarControlPtr copy(const CommandBarPtr& bar) override {
        auto w = live("Copy");
        BarNodePtr target;
        if (bar) {
            target = barNodeOf(bar);
            if (!target) throwInvalidCall();
        } else {
            target = ctrl_->parent.lock();
        }
        if (!target || target->deleted) failed("Copy");
        return makeControl(w, w->copyControl(ctrl_, target));
    }

    void execute() override {
        auto w = live("Execute");
        if (!w->controlEnabled(*ctrl_)) failed("Execute");
        w->executeControl(ctrl_);
    }

    int32_t faceId() override {
        button("FaceId");
        return ctrl_->faceId;
    }
    void setFaceId(int32_t value) override {
        auto w = button("FaceId=");
        ctrl_->faceId = value;
        ctrl_->pastedFace.reset();
        w->afterControlWrite();
    }

    void pasteFace() override {
        auto w = button("PasteFace");
        auto picture = w->clipboard->getPicture(platform::cf::kBitmap);
        const auto image = picture ? picture::decodeBmp(picture->bytes) : std::nullopt;
        if (!image) throw HostError(err::kUnspecified, "Method 'PasteFace' of object '_CommandBarButton' failed");
        ctrl_->pastedFace = PastedFace{image->width, image->height, picture->bytes};
        w->afterControlWrite();
    }

    int32_t style() override {
        button("Style");
        return ctrl_->style;
    }
    void setStyle(int32_t value) override {
        auto w = button("Style=");
        if (value < 0 || value > 15) throwInvalidCall();
        ctrl_->style = value;
        w->afterControlWrite();
    }

    int32_t state() override { return button("State")->controlState(*ctrl_); }
    void setState(int32_t value) override {
        auto w = button("State=");
        // The state of a built-in toggle follows its command, not the button.
        if (!(ctrl_->builtin && w->toggle(ctrl_->id))) ctrl_->state = value;
        w->afterControlWrite();
    }

    Subscription onClick(ClickHandler handler) override {
        auto w = button("Click");
        auto sub = std::make_shared<ClickSubscriber>();
        sub->handler = std::move(handler);
        ctrl_->clickSubscribers.push_back(sub);
        std::erase_if(w->clickSubscribers, [](const auto& weak) { return weak.expired(); });
        w->clickSubscribers.push_back(sub);
        return w->makeSubscription(sub);
    }

    CommandBarControlsPtr controls() override {
        auto w = popup("Controls");
        return std::make_shared<ControlsHandle>(w, ctrl_->subBar);
    }

    CommandBarPtr commandBar() override {
        auto w = popup("CommandBar");
        return makeBar(w, ctrl_->subBar);
    }

private:
    std::shared_ptr<World> live(const char* member) const {
        auto w = enter(member);
        if (ctrl_->deleted) failed(member);
        return w;
    }
    std::shared_ptr<World> button(const char* member) const {
        auto w = live(member);
        if (!ctrl_->isButton()) throwNotSupported();
        return w;
    }
    std::shared_ptr<World> popup(const char* member) const {
        auto w = live(member);
        if (!ctrl_->hasSubBar()) throwNotSupported();
        return w;
    }

    ControlNodePtr ctrl_;
};

class BarsHandle final : public CommandBars, public Handle {
public:
    explicit BarsHandle(const std::shared_ptr<World>& w) : Handle(w, "CommandBars") {}

    int32_t count() override { return static_cast<int32_t>(enter("Count")->bars.size()); }

    CommandBarPtr item(int32_t index) override {
        auto w = enter("Item");
        if (index < 1 || index > static_cast<int32_t>(w->bars.size())) throwInvalidCall();
        return makeBar(w, w->bars[static_cast<size_t>(index - 1)]);
    }

    CommandBarPtr item(const std::string& name) override {
        auto w = enter("Item");
        auto bar = w->findBar(name);
        if (!bar) throwInvalidCall();
        return makeBar(w, bar);
    }

    CommandBarPtr add(const BarSpec& args) override {
        auto w = enter("Add");
        std::string name = args.name.value_or("");
        if (name.empty()) {
            // Unnamed bars are numbered like the host numbers them.
            int32_t n = 1;
            while (w->findBar("Custom " + std::to_string(n))) ++n;
            name = "Custom " + std::to_string(n);
        }
        if (w->findBar(name)) throwInvalidCall();
        const int32_t position = args.position.value_or(msoBarFloating);
        if (position < msoBarLeft || position > msoBarPopup) throwInvalidCall();
        const int32_t type = args.menuBar.value_or(false) ? msoBarTypeMenuBar : msoBarTypeNormal;
        return makeBar(w, w->addBar(name, type, position, args.temporary.value_or(false), false));
    }

    CommandBarControlPtr findControl(const FindSpec& args) override {
        auto w = enter("FindControl");
        auto found = w->findControlAnywhere(args);
        return found ? makeControl(w, found) : nullptr;
    }

    Subscription onUpdate(UpdateHandler handler) override {
        auto w = enter("OnUpdate");
        auto sub = std::make_shared<Subscriber<UpdateHandler>>();
        sub->handler = std::move(handler);
        w->updateSubscribers.push_back(sub);
        return w->makeSubscription(sub);
    }
};

}  // namespace

CommandBarsPtr makeCommandBars(const std::shared_ptr<World>& world) { return std::make_shared<BarsHandle>(world); }

CommandBarPtr makeBar(const std::shared_ptr<World>& world, const BarNodePtr& bar) {
    return std::make_shared<BarHandle>(world, bar);
}

CommandBarControlPtr makeControl(const std::shared_ptr<World>& world, const ControlNodePtr& ctrl) {
    return std::make_shared<ControlHandle>(world, ctrl);
}

ControlNodePtr controlNodeOf(const CommandBarControlPtr& ctrl) {
    auto* h = dynamic_cast<ControlHandle*>(ctrl.get());
    return h ? h->node() : nullptr;
}

BarNodePtr barNodeOf(const CommandBarPtr& bar) {
    auto* h = dynamic_cast<BarHandle*>(bar.get());
    return h ? h->node() : nullptr;
}

}  // namespace qm::sim::detail
