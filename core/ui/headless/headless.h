// The headless toolkit in one include: windows and controls kept in memory, driven by
// tests and the scenario runner.
#pragma once

#include "core/ui/headless/controls.h"
#include "core/ui/headless/form.h"
#include "core/ui/headless/grid.h"
#include "core/ui/headless/list_view.h"
#include "core/ui/headless/picture_box.h"
#include "core/ui/headless/toolkit.h"
