// Kind texts of drawing objects, as the Object List shows them after each name: fixed
// English identifiers of the object type and, for AutoShapes, of the AutoShape type.
#pragma once

#include <cstdint>
#include <string>

#include "core/host/host.h"

namespace qm::objects {

// "Freeform", "Group", the AutoShape text for AutoShapes, or "Unknown(<code>)". Reads
// Shape.Type (twice for an unknown code) and, for AutoShapes, AutoShapeType; host errors
// propagate.
std::string getShapeTypeName(host::Shape& shape);

// "ShapeRectangle" ... for -2 and 1 to 138, else "Unknown AutoShape(<value>)".
std::string getAutoShapeTypeName(int32_t autoShapeType);

}  // namespace qm::objects
