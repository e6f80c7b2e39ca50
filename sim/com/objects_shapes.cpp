// The drawing layer of the fake Excel: Shapes, Shape and ShapeRange, the ThreeD, Shadow,
// Fill and Line formats, and the nodes of a freeform.
#include "core/host/constants.h"
#include "sim/com/objects.h"

#include <vector>

namespace qm::fake {
namespace {

using M = Member;

// Shapes.Range takes one name, or an array of names (of VARIANTs or of BSTRs).
std::vector<std::string> namesArgument(const Call& c, size_t i) {
    const VARIANT* v = c.arg(i);
    if (!v) return {};
    if (v->vt == VT_BSTR) return {toUtf8(v->bstrVal)};
    const bool byRef = (v->vt & VT_BYREF) != 0;
    const VARTYPE vt = static_cast<VARTYPE>(v->vt & ~VT_BYREF);
    if (vt != (VT_ARRAY | VT_VARIANT) && vt != (VT_ARRAY | VT_BSTR)) return {c.text(i)};
    SAFEARRAY* array = byRef ? (v->pparray ? *v->pparray : nullptr) : v->parray;
    if (!array || ::SafeArrayGetDim(array) != 1) throw host::HostError(host::err::kTypeMismatch, "Type mismatch");
    LONG lower = 0, upper = -1;
    ::SafeArrayGetLBound(array, 1, &lower);
    ::SafeArrayGetUBound(array, 1, &upper);
    std::vector<std::string> names;
    for (LONG k = lower; k <= upper; ++k) {
        if (vt == (VT_ARRAY | VT_BSTR)) {
            Bstr name;
            if (FAILED(::SafeArrayGetElement(array, &k, name.put()))) throw DispFailure{DISP_E_BADINDEX};
            names.push_back(name.utf8());
            continue;
        }
        Variant element;
        Variant text;
        if (FAILED(::SafeArrayGetElement(array, &k, element.put())) ||
            FAILED(::VariantChangeType(text.put(), element.get(), 0, VT_BSTR))) {
            throw host::HostError(host::err::kTypeMismatch, "Type mismatch");
        }
        names.push_back(toUtf8(text.get()->bstrVal));
    }
    return names;
}

class ShapesObject final : public DispatchObject {
public:
    ShapesObject(const ContextPtr& c, host::ShapesPtr shapes) : DispatchObject(c, "Shapes"), shapes_(std::move(shapes)) {}
    std::string typeName() override { return "Shapes"; }
    bool has(Member m) const override { return among(m, {M::Count, M::Item, M::AddShape, M::Range}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return shapes_->count(); });
            case M::Item: {
                c.getOnly();
                c.atMost(1);
                const VARIANT* index = c.arg(0);
                const bool byName = index && index->vt == VT_BSTR;
                return c.returnObject(
                    wrapShape(context(), byName ? shapes_->item(c.text(0)) : shapes_->item(c.i4(0)), false));
            }
            case M::AddShape:
                c.getOnly();
                c.atMost(5);
                return c.returnObject(
                    wrapShape(context(), shapes_->addShape(c.i4(0), c.r4(1), c.r4(2), c.r4(3), c.r4(4)), false));
            case M::Range:
                c.getOnly();
                c.atMost(1);
                if (c.omitted(0)) throw DispFailure{DISP_E_PARAMNOTOPTIONAL};
                return c.returnObject(wrapShape(context(), shapes_->range(namesArgument(c, 0)), true));
            default: noSuchMember();
        }
    }

private:
    host::ShapesPtr shapes_;
};

class ShapeObject final : public DispatchObject {
public:
    ShapeObject(const ContextPtr& c, host::ShapePtr shape, bool range)
        : DispatchObject(c, range ? "ShapeRange" : "Shape"), shape_(std::move(shape)) {}
    std::string typeName() override { return kind(); }
    bool has(Member m) const override {
        return among(m, {M::Name, M::Type, M::AutoShapeType, M::ZOrderPosition, M::ZOrder, M::Visible, M::Select,
                         M::Delete, M::CopyPicture, M::IncrementRotation, M::Left, M::Top, M::Width, M::Height,
                         M::Rotation, M::Nodes, M::ThreeD, M::Shadow, M::Fill, M::Line});
    }
    void invoke(Member m, Call& c) override {
        auto& s = *shape_;
        switch (m) {
            case M::Name: return readText(c, [&] { return s.name(); });
            case M::Type: return readLong(c, [&] { return s.type(); });
            case M::AutoShapeType: return readLong(c, [&] { return s.autoShapeType(); });
            case M::ZOrderPosition: return readLong(c, [&] { return s.zOrderPosition(); });
            case M::ZOrder:
                c.getOnly();
                c.atMost(1);
                return s.zOrder(c.i4(0));
            case M::Visible:
                return propertyLong(c, [&] { return s.visible(); }, [&](int32_t v) { s.setVisible(v); });
            case M::Select:
                c.getOnly();
                c.atMost(1);
                return s.select(c.optBoolean(0).value_or(true));
            case M::Delete:
                c.getOnly();
                c.atMost(0);
                return s.remove();
            case M::CopyPicture:
                c.getOnly();
                c.atMost(2);
                return s.copyPicture(c.optI4(0).value_or(host::xlScreen), c.optI4(1).value_or(host::xlPicture));
            case M::IncrementRotation:
                c.getOnly();
                c.atMost(1);
                return s.incrementRotation(c.r4(0));
            case M::Left: return propertySingle(c, [&] { return s.left(); }, [&](float v) { s.setLeft(v); });
            case M::Top: return propertySingle(c, [&] { return s.top(); }, [&](float v) { s.setTop(v); });
            case M::Width: return propertySingle(c, [&] { return s.width(); }, [&](float v) { s.setWidth(v); });
            case M::Height: return propertySingle(c, [&] { return s.height(); }, [&](float v) { s.setHeight(v); });
            case M::Rotation:
                return propertySingle(c, [&] { return s.rotation(); }, [&](float v) { s.setRotation(v); });
            case M::Nodes: return readObject(c, [&] { return wrapNodes(context(), s.nodes()); });
            // The format objects themselves cost the host nothing; their Visible does.
            case M::ThreeD: return readObject(c, [&] { return wrapFormat(context(), shape_, host::ShapeFormat::ThreeD); });
            case M::Shadow: return readObject(c, [&] { return wrapFormat(context(), shape_, host::ShapeFormat::Shadow); });
            case M::Fill: return readObject(c, [&] { return wrapFormat(context(), shape_, host::ShapeFormat::Fill); });
            case M::Line: return readObject(c, [&] { return wrapFormat(context(), shape_, host::ShapeFormat::Line); });
            default: noSuchMember();
        }
    }

private:
    host::ShapePtr shape_;
};

const char* formatKind(host::ShapeFormat format) {
    switch (format) {
        case host::ShapeFormat::ThreeD: return "ThreeDFormat";
        case host::ShapeFormat::Shadow: return "ShadowFormat";
        case host::ShapeFormat::Fill: return "FillFormat";
        case host::ShapeFormat::Line: return "LineFormat";
    }
    return "FillFormat";
}

class FormatObject final : public DispatchObject {
public:
    FormatObject(const ContextPtr& c, host::ShapePtr shape, host::ShapeFormat format)
        : DispatchObject(c, formatKind(format)), shape_(std::move(shape)), format_(format) {}
    std::string typeName() override { return kind(); }
    bool has(Member m) const override { return m == M::Visible; }
    void invoke(Member m, Call& c) override {
        if (m != M::Visible) noSuchMember();
        propertyLong(c, [&] { return shape_->formatVisible(format_); },
                     [&](int32_t v) { shape_->setFormatVisible(format_, v); });
    }

private:
    host::ShapePtr shape_;
    host::ShapeFormat format_;
};

class NodesObject final : public DispatchObject {
public:
    NodesObject(const ContextPtr& c, host::ShapeNodesPtr nodes) : DispatchObject(c, "ShapeNodes"), nodes_(std::move(nodes)) {}
    std::string typeName() override { return "ShapeNodes"; }
    bool has(Member m) const override { return among(m, {M::Count, M::Item, M::SetPosition}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Count: return readLong(c, [&] { return nodes_->count(); });
            case M::Item:
                c.getOnly();
                c.atMost(1);
                return c.returnObject(wrapNode(context(), nodes_->item(c.i4(0))));
            case M::SetPosition:
                c.getOnly();
                c.atMost(3);
                return nodes_->setPosition(c.i4(0), c.r4(1), c.r4(2));
            default: noSuchMember();
        }
    }

private:
    host::ShapeNodesPtr nodes_;
};

class NodeObject final : public DispatchObject {
public:
    NodeObject(const ContextPtr& c, host::ShapeNodePtr node) : DispatchObject(c, "ShapeNode"), node_(std::move(node)) {}
    std::string typeName() override { return "ShapeNode"; }
    bool has(Member m) const override { return among(m, {M::Points, M::EditingType, M::SegmentType}); }
    void invoke(Member m, Call& c) override {
        switch (m) {
            case M::Points: {
                c.getOnly();
                c.atMost(0);
                const host::NodePoint p = node_->points();
                // A 1 x 2 array of Singles, both bounds from 1: (1, 1) is x, (1, 2) is y.
                // Bounds and indices go leftmost dimension first, as a(1, 2) reads.
                SAFEARRAYBOUND bounds[2] = {{1, 1}, {2, 1}};
                SAFEARRAY* array = ::SafeArrayCreate(VT_R4, 2, bounds);
                if (!array) throw DispFailure{E_OUTOFMEMORY};
                LONG atX[2] = {1, 1};
                LONG atY[2] = {1, 2};
                float x = p.x, y = p.y;
                if (FAILED(::SafeArrayPutElement(array, atX, &x)) || FAILED(::SafeArrayPutElement(array, atY, &y))) {
                    ::SafeArrayDestroy(array);
                    throw DispFailure{E_UNEXPECTED};
                }
                VARIANT v;
                ::VariantInit(&v);
                v.vt = VT_ARRAY | VT_R4;
                v.parray = array;
                return c.returnVariant(v);
            }
            case M::EditingType: return readLong(c, [&] { return node_->editingType(); });
            case M::SegmentType: return readLong(c, [&] { return node_->segmentType(); });
            default: noSuchMember();
        }
    }

private:
    host::ShapeNodePtr node_;
};

}  // namespace

ComPtr<IDispatch> wrapShapes(const ContextPtr& c, host::ShapesPtr shapes) {
    return shapes ? make<ShapesObject>(c, std::move(shapes)) : nullptr;
}
ComPtr<IDispatch> wrapShape(const ContextPtr& c, host::ShapePtr shape, bool range) {
    return shape ? make<ShapeObject>(c, std::move(shape), range) : nullptr;
}
ComPtr<IDispatch> wrapFormat(const ContextPtr& c, host::ShapePtr shape, host::ShapeFormat format) {
    return shape ? make<FormatObject>(c, std::move(shape), format) : nullptr;
}
ComPtr<IDispatch> wrapNodes(const ContextPtr& c, host::ShapeNodesPtr nodes) {
    return nodes ? make<NodesObject>(c, std::move(nodes)) : nullptr;
}
ComPtr<IDispatch> wrapNode(const ContextPtr& c, host::ShapeNodePtr node) {
    return node ? make<NodeObject>(c, std::move(node)) : nullptr;
}

}  // namespace qm::fake
