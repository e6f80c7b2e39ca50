// The host's catalogue of built-in controls: what Controls.Add(Id:=n) creates for each
// control number, and the contents of the built-in menus.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace qm::sim {

struct BuiltinControl {
    int32_t id = 0;
    int32_t type = 0;              // msoControlButton, msoControlPopup, ...
    std::string_view caption;
    int32_t width = 0;             // default width of combo boxes, 0 otherwise
    std::span<const int32_t> items;  // popups: contents, a negative number begins a group
};

// The entry for a control number, or null when the host has no such control.
const BuiltinControl* findBuiltinControl(int32_t id);

// Every control number of the catalogue, ascending.
std::vector<int32_t> builtinControlNumbers();

}  // namespace qm::sim
