// The add-in's event-bound button variables: one per command bar button it creates. A
// variable owns the host control and the subscription to its Click event; assigning a new
// control re-subscribes, releasing unsubscribes, so no click reaches a released variable.
#pragma once

#include <array>
#include <cstddef>

#include "core/host/host.h"

namespace qm::addin {

enum class Btn : size_t {
    Mode,
    SavePicture,
    ObjectsList,
    Setting,
    Help,
    DeveloperSite,
    Mode_Copy,
    SavePicture_Copy,
    ObjectsList_Copy,
    Setting_Copy,
    Help_Copy,
    SavePicture2,
    ExitQMMode,
    ObjectsList2,
    GridView,
    BackColor_Non,
    BackColor_Color,
    OnePoint,
    Help2,
    TextAutoSize,
    TextValignTop,
    TextValignCenter,
    TextValignBottom,
    TextValignJustify,
    ObjectSelectLock,
    Count
};

inline constexpr size_t kButtonCount = static_cast<size_t>(Btn::Count);

// The variable's name as the add-in's code knows it ("QM_BUTTON_Mode" ...).
const char* buttonName(Btn b);

class EventButton {
public:
    // Holds `control` and routes its Click to `handler`; any earlier control is let go
    // first. A null control only releases.
    void assign(host::CommandBarControlPtr control, host::ClickHandler handler);
    void release() noexcept;
    const host::CommandBarControlPtr& get() const { return control_; }
    host::CommandBarControl* operator->() const { return control_.get(); }
    explicit operator bool() const { return static_cast<bool>(control_); }

private:
    host::Subscription click_;
    host::CommandBarControlPtr control_;
};

}  // namespace qm::addin
