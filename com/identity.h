// Who the add-in is to COM and to Excel: its class id, ProgID and the names Excel shows.
#pragma once

#include "win32/utf.h"

#include <guiddef.h>

namespace qm::com {

// {C9221B4E-05B8-4B67-B61A-750F152675BC}, fixed for every release: Excel finds the add-in
// by it.
inline constexpr CLSID kConnectClsid = {
    0xC9221B4E, 0x05B8, 0x4B67, {0xB6, 0x1A, 0x75, 0x0F, 0x15, 0x26, 0x75, 0xBC}};
inline constexpr const wchar_t* kConnectClsidText = L"{C9221B4E-05B8-4B67-B61A-750F152675BC}";
inline constexpr const wchar_t* kProgId = L"QuillmarkInExcel.Connect";
inline constexpr const wchar_t* kProductName = L"Quillmark in Excel";
inline constexpr const char* kErrorSource = "Quillmark in Excel";

}  // namespace qm::com
