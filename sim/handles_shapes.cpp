// Handles onto drawing objects: a sheet's Shapes collection, one shape or a shape range,
// and the nodes of a freeform.
#include <algorithm>
#include <cmath>

#include "sim/handles.h"
#include "sim/world.h"

namespace qm::sim::detail {

using namespace host;

namespace {

[[noreturn]] void throwIndexOutOfBounds() {
    throw HostError(-2147024809, "The index into the specified collection is out of bounds.");
}

[[noreturn]] void throwSingleShapeOnly() {
    throw HostError(-2147024809, "This member can only be accessed for a single shape.");
}

float normalizedAngle(float degrees) {
    float r = std::fmod(degrees, 360.0f);
    if (r < 0) r += 360.0f;
    if (r >= 360.0f) r = 0;
    return r;
}

bool* formatFlag(DrawingObject& obj, ShapeFormat format) {
    switch (format) {
        case ShapeFormat::ThreeD: return &obj.threeD;
        case ShapeFormat::Shadow: return &obj.shadow;
        case ShapeFormat::Fill: return &obj.fill;
        case ShapeFormat::Line: return &obj.line;
    }
    return &obj.fill;
}

// msoTrue and msoCTrue show, msoFalse hides; other values are refused.
bool triStateValue(int32_t value) {
    if (value == msoTrue || value == 1) return true;
    if (value == msoFalse) return false;
    throwOutOfRange();
}

// ---------------------------------------------------------------- nodes

class ShapeNodeHandle final : public ShapeNode, public Handle {
public:
    ShapeNodeHandle(const std::shared_ptr<World>& w, DrawingObjectPtr obj, size_t index)
        : Handle(w, "ShapeNode"), obj_(std::move(obj)), index_(index) {}

    NodePoint points() override {
        const auto& n = node("Points");
        return NodePoint{n.x, n.y};
    }
    int32_t editingType() override { return node("EditingType").editingType; }
    int32_t segmentType() override { return node("SegmentType").segmentType; }

private:
    const PathNode& node(const char* member) const {
        enter(member);
        if (obj_->deleted || index_ >= obj_->nodes.size()) failed(member);
        return obj_->nodes[index_];
    }

    DrawingObjectPtr obj_;
    size_t index_;
};

class ShapeNodesHandle final : public ShapeNodes, public Handle {
public:
    ShapeNodesHandle(const std::shared_ptr<World>& w, DrawingObjectPtr obj)
        : Handle(w, "ShapeNodes"), obj_(std::move(obj)) {}

    int32_t count() override {
        enter("Count");
        live("Count");
        return static_cast<int32_t>(obj_->nodes.size());
    }

    ShapeNodePtr item(int32_t index) override {
        auto w = enter("Item");
        live("Item");
        if (index < 1 || index > static_cast<int32_t>(obj_->nodes.size())) throwIndexOutOfBounds();
        return std::make_shared<ShapeNodeHandle>(w, obj_, static_cast<size_t>(index - 1));
    }

    void setPosition(int32_t index, float x, float y) override {
        auto w = enter("SetPosition");
        live("SetPosition");
        if (index < 1 || index > static_cast<int32_t>(obj_->nodes.size())) throwIndexOutOfBounds();
        w->setNodePosition(*obj_, static_cast<size_t>(index - 1), x, y);
    }

private:
    void live(const char* member) const {
        if (obj_->deleted) failed(member);
    }
    DrawingObjectPtr obj_;
};

// ---------------------------------------------------------------- shapes and shape ranges

// One drawing object ("Shape") or several ("ShapeRange"); a range of one answers like
// its shape.
class ShapeHandle final : public Shape, public Handle {
public:
    ShapeHandle(const std::shared_ptr<World>& w, std::vector<DrawingObjectPtr> objs, bool range)
        : Handle(w, range ? "ShapeRange" : "Shape"), objs_(std::move(objs)) {}

    std::string name() override { return single("Name").name; }

    int32_t type() override {
        enter("Type");
        live("Type");
        return common([](const DrawingObject& o) { return World::shapeType(o); }, msoShapeTypeMixed);
    }

    int32_t autoShapeType() override {
        enter("AutoShapeType");
        live("AutoShapeType");
        return common([](const DrawingObject& o) { return World::autoShapeTypeOf(o); }, kShapeMixed);
    }

    int32_t zOrderPosition() override {
        auto w = world();
        auto& obj = single("ZOrderPosition");
        return w->zOrderPosition(find(obj));
    }

    void zOrder(int32_t command) override {
        auto w = enter("ZOrder");
        live("ZOrder");
        if (command < msoBringToFront || command > msoSendBackward) throwOutOfRange();
        for (const auto& o : objs_) w->zOrder(o, command);
    }

    int32_t visible() override {
        enter("Visible");
        live("Visible");
        return common([](const DrawingObject& o) { return o.visible ? msoTrue : msoFalse; }, msoTriStateMixed);
    }

    void setVisible(int32_t value) override {
        enter("Visible=");
        live("Visible=");
        const bool v = triStateValue(value);
        for (const auto& o : objs_) o->visible = v;
    }

    void select(bool replace) override {
        auto w = enter("Select");
        live("Select");
        const auto sheet = objs_.front()->sheet.lock();
        // Only objects of the sheet on screen can be selected.
        if (!sheet || sheet != w->activeSheet()) {
            throw HostError(err::kApplicationDefined, "Select method of " + objectName() + " class failed");
        }
        w->selectShapes(sheet, objs_, replace);
    }

    void remove() override {
        auto w = enter("Delete");
        live("Delete");
        for (const auto& o : objs_) w->deleteShape(o);
    }

    void copyPicture(int32_t appearance, int32_t format) override {
        auto w = enter("CopyPicture");
        live("CopyPicture");
        const bool validArgs =
            (appearance == xlScreen || appearance == xlPrinter) && (format == xlPicture || format == xlBitmap);
        // A hidden object has no picture to copy.
        const bool anyHidden = std::any_of(objs_.begin(), objs_.end(), [](const auto& o) { return !o->visible; });
        if (!validArgs || anyHidden) {
            throw HostError(err::kApplicationDefined, "CopyPicture method of Shape class failed");
        }
        w->copyToClipboard(objs_.front()->sheet.lock(), objs_, std::nullopt, false, appearance, format);
    }

    void incrementRotation(float degrees) override {
        enter("IncrementRotation");
        live("IncrementRotation");
        for (const auto& o : objs_) o->rotation = normalizedAngle(o->rotation + degrees);
    }

    float left() override { return single("Left").left; }
    float top() override { return single("Top").top; }
    float width() override { return single("Width").width; }
    float height() override { return single("Height").height; }
    float rotation() override { return single("Rotation").rotation; }

    void setLeft(float value) override {
        auto w = enter("Left=");
        live("Left=");
        for (const auto& o : objs_) w->moveShape(*o, value - o->left, 0);
    }

    void setTop(float value) override {
        auto w = enter("Top=");
        live("Top=");
        for (const auto& o : objs_) w->moveShape(*o, 0, value - o->top);
    }

    void setWidth(float value) override {
        auto w = enter("Width=");
        live("Width=");
        if (!(value >= 0)) throwUnableToSet("Width", objectName());
        for (const auto& o : objs_) w->resizeShape(*o, value, std::nullopt);
    }

    void setHeight(float value) override {
        auto w = enter("Height=");
        live("Height=");
        if (!(value >= 0)) throwUnableToSet("Height", objectName());
        for (const auto& o : objs_) w->resizeShape(*o, std::nullopt, value);
    }

    void setRotation(float value) override {
        enter("Rotation=");
        live("Rotation=");
        for (const auto& o : objs_) o->rotation = normalizedAngle(value);
    }

    ShapeNodesPtr nodes() override {
        auto w = world();
        auto& obj = single("Nodes");
        // Freeforms have nodes; other AutoShapes answer with none; lines, pictures and
        // the rest lack the member.
        if (obj.kind != ShapeKind::Freeform && obj.kind != ShapeKind::AutoShape) throwNotSupported();
        return std::make_shared<ShapeNodesHandle>(w, find(obj));
    }

    int32_t formatVisible(ShapeFormat format) override {
        enter(formatMember(format, false));
        live(formatMember(format, false));
        return common([format](DrawingObject& o) { return *formatFlag(o, format) ? msoTrue : msoFalse; },
                      msoTriStateMixed);
    }

    void setFormatVisible(ShapeFormat format, int32_t value) override {
        enter(formatMember(format, true));
        live(formatMember(format, true));
        const bool v = triStateValue(value);
        for (const auto& o : objs_) *formatFlag(*o, format) = v;
    }

private:
    static const char* formatMember(ShapeFormat format, bool write) {
        switch (format) {
            case ShapeFormat::ThreeD: return write ? "ThreeD.Visible=" : "ThreeD.Visible";
            case ShapeFormat::Shadow: return write ? "Shadow.Visible=" : "Shadow.Visible";
            case ShapeFormat::Fill: return write ? "Fill.Visible=" : "Fill.Visible";
            case ShapeFormat::Line: return write ? "Line.Visible=" : "Line.Visible";
        }
        return "Visible";
    }

    void live(const char* member) const {
        for (const auto& o : objs_) {
            if (o->deleted) failed(member);
        }
    }

    DrawingObject& single(const char* member) const {
        enter(member);
        live(member);
        if (objs_.size() != 1) throwSingleShapeOnly();
        return *objs_.front();
    }

    DrawingObjectPtr find(const DrawingObject& obj) const {
        for (const auto& o : objs_) {
            if (o.get() == &obj) return o;
        }
        return nullptr;
    }

    template <class F>
    int32_t common(F value, int32_t mixed) const {
        const int32_t first = value(*objs_.front());
        for (const auto& o : objs_) {
            if (value(*o) != first) return mixed;
        }
        return first;
    }

    std::vector<DrawingObjectPtr> objs_;
};

class ShapesHandle final : public Shapes, public Handle {
public:
    ShapesHandle(const std::shared_ptr<World>& w, SheetNodePtr sheet) : Handle(w, "Shapes"), sheet_(std::move(sheet)) {}

    int32_t count() override {
        enter("Count");
        return static_cast<int32_t>(sheet_->shapes.size());
    }

    ShapePtr item(int32_t index) override {
        auto w = enter("Item");
        if (index < 1 || index > static_cast<int32_t>(sheet_->shapes.size())) throwIndexOutOfBounds();
        return makeShape(w, sheet_->shapes[static_cast<size_t>(index - 1)]);
    }

    ShapePtr item(const std::string& name) override {
        auto w = enter("Item");
        auto obj = w->findShape(sheet_, name);
        if (!obj) throwNotFound();
        return makeShape(w, obj);
    }

    ShapePtr addShape(int32_t autoShapeType, float left, float top, float width, float height) override {
        auto w = enter("AddShape");
        constexpr int32_t kLastAutoShapeType = 138;
        if (autoShapeType < 1 || autoShapeType > kLastAutoShapeType) throwOutOfRange();
        if (!(width >= 0) || !(height >= 0)) throwOutOfRange();
        ShapeInit init;
        init.kind = ShapeKind::AutoShape;
        init.autoShapeType = autoShapeType;
        init.left = left;
        init.top = top;
        init.width = width;
        init.height = height;
        return makeShape(w, w->addShape(sheet_, init));
    }

    ShapePtr range(const std::vector<std::string>& names) override {
        auto w = enter("Range");
        if (names.empty()) throwInvalidCall();
        std::vector<DrawingObjectPtr> objs;
        for (const auto& n : names) {
            auto obj = w->findShape(sheet_, n);
            if (!obj) throwNotFound();
            objs.push_back(obj);
        }
        return makeShapeRange(w, std::move(objs));
    }

private:
    [[noreturn]] static void throwNotFound() {
        throw HostError(-2147024809, "The item with the specified name wasn't found.");
    }

    SheetNodePtr sheet_;
};

}  // namespace

ShapePtr makeShape(const std::shared_ptr<World>& world, const DrawingObjectPtr& obj) {
    return std::make_shared<ShapeHandle>(world, std::vector<DrawingObjectPtr>{obj}, false);
}

ShapePtr makeShapeRange(const std::shared_ptr<World>& world, std::vector<DrawingObjectPtr> objs) {
    return std::make_shared<ShapeHandle>(world, std::move(objs), true);
}

ShapesPtr makeShapes(const std::shared_ptr<World>& world, const SheetNodePtr& sheet) {
    return std::make_shared<ShapesHandle>(world, sheet);
}

}  // namespace qm::sim::detail
