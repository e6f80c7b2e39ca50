// Pictures of the add-in's windows, drawn from their controls' geometry and state as the
// classic Windows look draws them, and of message boxes.
#pragma once

#include "cli/html_svg.h"
#include "core/ui/headless/form.h"
#include "scripted/scripted.h"

namespace qm::cli::html {

// The window with its frame and caption and every control shown: frames, captions, check
// boxes, text boxes, spinners, list views with their rows and check boxes, the node grid,
// splitters, and picture boxes as the SVG they write themselves.
Picture windowPicture(const ui::headless::Form& form);

// A message box as the system shows it: caption, icon, text and buttons (in Japanese on a
// Japanese system), the default button marked and the one pressed ringed.
Picture messageBoxPicture(const scripted::Event& box, bool japanese);

}  // namespace qm::cli::html
