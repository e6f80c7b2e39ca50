// The drawing side of the host adapter: Shapes, Shape / ShapeRange, nodes.
#include "com/adapters.h"

#include "com/errors.h"

namespace qm::com {

namespace {

// One element of a 2-D SAFEARRAY of `type`, by (row, column) offsets from the lower bounds.
float arrayElement(SAFEARRAY* array, VARTYPE type, LONG row, LONG column) {
    LONG rowBase = 0, columnBase = 0;
    HRESULT hr = ::SafeArrayGetLBound(array, 1, &rowBase);
    if (SUCCEEDED(hr)) hr = ::SafeArrayGetLBound(array, 2, &columnBase);
    if (FAILED(hr)) raiseHresult(hr);
    // The first index is the first (leftmost) dimension's, the one that varies fastest
    // in memory.
    LONG indices[2] = {rowBase + row, columnBase + column};
    Variant element;
    if (type == VT_VARIANT) {
        hr = ::SafeArrayGetElement(array, indices, element.put());
    } else if (type == VT_R4 || type == VT_R8 || type == VT_I4 || type == VT_I2) {
        VARIANT* slot = element.put();
        hr = ::SafeArrayGetElement(array, indices, &slot->dblVal);  // the union's storage
        if (SUCCEEDED(hr)) slot->vt = type;
    } else {
        host::raise(host::err::kTypeMismatch);
    }
    if (FAILED(hr)) raiseHresult(hr);
    return toFloat(*element.get());
}

}  // namespace

// ---------------------------------------------------------------- Shapes

int32_t ComShapes::count() { return d_.getInt(L"Count"); }

host::ShapePtr ComShapes::item(int32_t index) {
    return wrap<ComShape>(toObject(*d_.get(L"Item", fromInt(index)).get()), d_.session());
}

host::ShapePtr ComShapes::item(const std::string& name) {
    return wrap<ComShape>(toObject(*d_.get(L"Item", fromText(name)).get()), d_.session());
}

host::ShapePtr ComShapes::addShape(int32_t autoShapeType, float left, float top, float width, float height) {
    Variant added = d_.call(L"AddShape", fromInt(autoShapeType), fromFloat(left), fromFloat(top), fromFloat(width),
                            fromFloat(height));
    return wrap<ComShape>(toObject(*added.get()), d_.session());
}

host::ShapePtr ComShapes::range(const std::vector<std::string>& names) {
    // A property in the object model, called like a method in code: both flags, as late
    // binding sends them.
    return wrap<ComShape>(toObject(*d_.getOrCall(L"Range", fromTextArray(names)).get()), d_.session());
}

// ---------------------------------------------------------------- Shape

std::string ComShape::name() { return d_.getText(L"Name"); }
int32_t ComShape::type() { return d_.getInt(L"Type"); }
int32_t ComShape::autoShapeType() { return d_.getInt(L"AutoShapeType"); }
int32_t ComShape::zOrderPosition() { return d_.getInt(L"ZOrderPosition"); }
void ComShape::zOrder(int32_t command) { d_.call(L"ZOrder", fromInt(command)); }
int32_t ComShape::visible() { return d_.getInt(L"Visible"); }
void ComShape::setVisible(int32_t value) { d_.put(L"Visible", fromInt(value)); }
void ComShape::select(bool replace) { d_.call(L"Select", fromBool(replace)); }
void ComShape::remove() { d_.call(L"Delete"); }

void ComShape::copyPicture(int32_t appearance, int32_t format) {
    d_.call(L"CopyPicture", fromInt(appearance), fromInt(format));
}

void ComShape::incrementRotation(float degrees) { d_.call(L"IncrementRotation", fromFloat(degrees)); }

float ComShape::left() { return d_.getFloat(L"Left"); }
void ComShape::setLeft(float value) { d_.put(L"Left", fromFloat(value)); }
float ComShape::top() { return d_.getFloat(L"Top"); }
void ComShape::setTop(float value) { d_.put(L"Top", fromFloat(value)); }
float ComShape::width() { return d_.getFloat(L"Width"); }
void ComShape::setWidth(float value) { d_.put(L"Width", fromFloat(value)); }
float ComShape::height() { return d_.getFloat(L"Height"); }
void ComShape::setHeight(float value) { d_.put(L"Height", fromFloat(value)); }
float ComShape::rotation() { return d_.getFloat(L"Rotation"); }
void ComShape::setRotation(float value) { d_.put(L"Rotation", fromFloat(value)); }

host::ShapeNodesPtr ComShape::nodes() { return wrap<ComShapeNodes>(d_.getObject(L"Nodes"), d_.session()); }

Dispatch ComShape::format(host::ShapeFormat which) {
    const wchar_t* member = L"Line";
    switch (which) {
        case host::ShapeFormat::ThreeD: member = L"ThreeD"; break;
        case host::ShapeFormat::Shadow: member = L"Shadow"; break;
        case host::ShapeFormat::Fill: member = L"Fill"; break;
        case host::ShapeFormat::Line: member = L"Line"; break;
    }
    ComPtr<IDispatch> object = d_.getObject(member);
    if (!object) host::raise(host::err::kObjectNotSet);
    return Dispatch(std::move(object), d_.session());
}

int32_t ComShape::formatVisible(host::ShapeFormat which) { return format(which).getInt(L"Visible"); }

void ComShape::setFormatVisible(host::ShapeFormat which, int32_t value) {
    format(which).put(L"Visible", fromInt(value));
}

// ---------------------------------------------------------------- nodes

int32_t ComShapeNodes::count() { return d_.getInt(L"Count"); }

host::ShapeNodePtr ComShapeNodes::item(int32_t index) {
    return wrap<ComShapeNode>(toObject(*d_.get(L"Item", fromInt(index)).get()), d_.session());
}

void ComShapeNodes::setPosition(int32_t index, float x, float y) {
    d_.call(L"SetPosition", fromInt(index), fromFloat(x), fromFloat(y));
}

host::NodePoint ComShapeNode::points() {
    // A 2-D array, (1 to 1, 1 to 2): x then y.
    Variant points = d_.get(L"Points");
    const VARIANT* value = points.get();
    if (value->vt == (VT_BYREF | VT_VARIANT) && value->pvarVal) value = value->pvarVal;
    if (!(value->vt & VT_ARRAY)) host::raise(host::err::kTypeMismatch);
    SAFEARRAY* array = (value->vt & VT_BYREF) ? (value->pparray ? *value->pparray : nullptr) : value->parray;
    if (!array || ::SafeArrayGetDim(array) != 2) host::raise(host::err::kTypeMismatch);
    const VARTYPE type = value->vt & VT_TYPEMASK;
    return {arrayElement(array, type, 0, 0), arrayElement(array, type, 0, 1)};
}

int32_t ComShapeNode::editingType() { return d_.getInt(L"EditingType"); }
int32_t ComShapeNode::segmentType() { return d_.getInt(L"SegmentType"); }

}  // namespace qm::com
