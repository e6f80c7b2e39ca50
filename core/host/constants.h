// Constants of the host's spreadsheet and command bar object models, under the names
// the object models publish them with.
#pragma once

#include <cstdint>

namespace qm::host {

// Command bar control types.
inline constexpr int32_t msoControlButton = 1;
inline constexpr int32_t msoControlEdit = 2;
inline constexpr int32_t msoControlDropdown = 3;
inline constexpr int32_t msoControlComboBox = 4;
inline constexpr int32_t msoControlPopup = 10;
inline constexpr int32_t msoControlSplitButtonPopup = 13;
inline constexpr int32_t msoControlButtonPopup = 15;

// Button styles.
inline constexpr int32_t msoButtonAutomatic = 0;
inline constexpr int32_t msoButtonIcon = 1;
inline constexpr int32_t msoButtonCaption = 2;
inline constexpr int32_t msoButtonIconAndCaption = 3;

// Button states.
inline constexpr int32_t msoButtonUp = 0;
inline constexpr int32_t msoButtonDown = -1;

// Bar positions and rows.
inline constexpr int32_t msoBarLeft = 0;
inline constexpr int32_t msoBarTop = 1;
inline constexpr int32_t msoBarRight = 2;
inline constexpr int32_t msoBarBottom = 3;
inline constexpr int32_t msoBarFloating = 4;
inline constexpr int32_t msoBarPopup = 5;
inline constexpr int32_t msoBarRowFirst = 0;
inline constexpr int32_t msoBarRowLast = -1;

// Bar types.
inline constexpr int32_t msoBarTypeNormal = 0;
inline constexpr int32_t msoBarTypeMenuBar = 1;
inline constexpr int32_t msoBarTypePopup = 2;

// Bar protection flags.
inline constexpr int32_t msoBarNoProtection = 0;
inline constexpr int32_t msoBarNoCustomize = 1;
inline constexpr int32_t msoBarNoResize = 2;
inline constexpr int32_t msoBarNoMove = 4;
inline constexpr int32_t msoBarNoChangeVisible = 8;
inline constexpr int32_t msoBarNoChangeDock = 16;
inline constexpr int32_t msoBarNoVerticalDock = 32;
inline constexpr int32_t msoBarNoHorizontalDock = 64;

// Tri-state Booleans of the drawing object model.
inline constexpr int32_t msoTrue = -1;
inline constexpr int32_t msoFalse = 0;
inline constexpr int32_t msoTriStateMixed = -2;

// Shape types (MsoShapeType) the add-in tells apart.
inline constexpr int32_t msoShapeTypeMixed = -2;
inline constexpr int32_t msoAutoShape = 1;
inline constexpr int32_t msoCallout = 2;
inline constexpr int32_t msoChart = 3;
inline constexpr int32_t msoComment = 4;
inline constexpr int32_t msoFreeform = 5;
inline constexpr int32_t msoGroup = 6;
inline constexpr int32_t msoEmbeddedOLEObject = 7;
inline constexpr int32_t msoFormControl = 8;
inline constexpr int32_t msoLine = 9;
inline constexpr int32_t msoLinkedOLEObject = 10;
inline constexpr int32_t msoLinkedPicture = 11;
inline constexpr int32_t msoOLEControlObject = 12;
inline constexpr int32_t msoPicture = 13;
inline constexpr int32_t msoTextEffect = 15;
inline constexpr int32_t msoTextBox = 17;

// AutoShape types used by the add-in itself.
inline constexpr int32_t msoShapeRectangle = 1;
inline constexpr int32_t msoShapeOval = 9;

// Z-order commands.
inline constexpr int32_t msoBringToFront = 0;
inline constexpr int32_t msoSendToBack = 1;
inline constexpr int32_t msoBringForward = 2;
inline constexpr int32_t msoSendBackward = 3;

// Vertical text alignment.
inline constexpr int32_t xlTop = -4160;
inline constexpr int32_t xlCenter = -4108;
inline constexpr int32_t xlBottom = -4107;
inline constexpr int32_t xlJustify = -4130;

// Node editing and segment types.
inline constexpr int32_t msoEditingAuto = 0;
inline constexpr int32_t msoEditingCorner = 1;
inline constexpr int32_t msoEditingSmooth = 2;
inline constexpr int32_t msoEditingSymmetric = 3;
inline constexpr int32_t msoSegmentLine = 0;
inline constexpr int32_t msoSegmentCurve = 1;

// CopyPicture arguments.
inline constexpr int32_t xlScreen = 1;
inline constexpr int32_t xlPrinter = 2;
inline constexpr int32_t xlPicture = -4147;
inline constexpr int32_t xlBitmap = 2;

// Built-in control numbers with a fixed role.
namespace ctl {
inline constexpr int32_t kNew = 18;
inline constexpr int32_t kBold = 113;
inline constexpr int32_t kSelectObjects = 182;
inline constexpr int32_t kSnapToGrid = 549;
inline constexpr int32_t kSnapToShape = 1402;
}  // namespace ctl

}  // namespace qm::host
