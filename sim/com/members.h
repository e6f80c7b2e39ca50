// The member names the fake Excel answers and their DISPIDs. One number per name for
// every class, as in Excel's own type library: a client that caches DISPIDs by type name
// (a Selection that is a Range shares "Range") must get the same member either way.
#pragma once

#include <oaidl.h>

#include <optional>
#include <string_view>

namespace qm::fake {

enum class Member : DISPID {
    Item = DISPID_VALUE,  // the default member of every collection
    ActiveSheet = 0x100,
    ActiveWindow,
    ActiveWorkbook,
    Add,
    AddShape,
    AutoShapeType,
    AutoSize,
    BeginGroup,
    Caption,
    Cells,
    CentimetersToPoints,
    ColumnWidth,
    CommandBar,
    CommandBars,
    Connect,
    Controls,
    Copy,
    CopyPicture,
    Count,
    Delete,
    DisplayFormulaBar,
    DisplayFullScreen,
    DisplayGridlines,
    EditingType,
    Enabled,
    Execute,
    FaceId,
    Fill,
    FindControl,
    GetSaveAsFilename,
    Height,
    Id,
    IncrementRotation,
    Index,
    Left,
    Line,
    Name,
    NameLocal,
    Nodes,
    OnAction,
    PasteFace,
    Points,
    Position,
    ProgId,
    Protection,
    Range,
    Rotation,
    RowHeight,
    RowIndex,
    ScreenUpdating,
    SegmentType,
    Select,
    Selection,
    SetBackgroundPicture,
    SetPosition,
    Shadow,
    ShapeRange,
    Shapes,
    Sheets,
    State,
    Style,
    Tag,
    ThreeD,
    Top,
    Type,
    Version,
    VerticalAlignment,
    Visible,
    Width,
    ZOrder,
    ZOrderPosition,
};

// Case-insensitive, as Excel resolves names.
std::optional<Member> memberByName(std::wstring_view name);
std::optional<Member> memberById(DISPID id);
const char* memberName(Member m);

}  // namespace qm::fake
