// The hook through which pictures of drawing objects and cells reach the simulated
// clipboard: CopyPicture and Selection.Copy ask the installed renderer for them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/host/constants.h"
#include "core/platform/platform.h"
#include "sim/model.h"

namespace qm::sim {

struct RenderRequest {
    SheetNodePtr sheet;
    std::vector<DrawingObjectPtr> shapes;  // empty when cells are copied
    std::optional<CellArea> cells;
    int32_t appearance = host::xlScreen;
    int32_t format = host::xlPicture;
    bool selectionCopy = false;  // Selection.Copy rather than Shape.CopyPicture
};

// Returns the pictures to put on the clipboard, each under its own format number.
using PictureRenderer = std::function<std::vector<platform::Picture>(const RenderRequest&)>;

}  // namespace qm::sim
