// A headless window for the toolkit's tests, and a check that a call fails with a given
// error number.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/host/error.h"
#include "core/ui/headless/headless.h"

namespace qm::ui::headless::testing {

struct Window {
    explicit Window(FormStyle style = FormStyle::Dialog, ModalDriver driver = {})
        : toolkit(std::move(driver)), form(toolkit.makeForm({"frmTest", style, 4800, 3600, {}})) {}
    Toolkit toolkit;
    std::unique_ptr<Form> form;
};

// The headless class behind a control the form made, for its user actions.
template <class T, class Interface>
T& as(Interface& control) {
    return dynamic_cast<T&>(control);
}

template <class F>
int32_t errorNumberOf(F&& f) {
    try {
        f();
    } catch (const host::HostError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace qm::ui::headless::testing
