// The headless toolkit: window creation and the modal stack.
#include "core/ui/headless/toolkit.h"

#include <algorithm>

namespace qm::ui::headless {

Toolkit::Toolkit(ModalDriver driver) : driver_(std::move(driver)) {}

Toolkit::~Toolkit() = default;

std::unique_ptr<ui::Form> Toolkit::createForm(const FormSpec& layout) { return makeForm(layout); }

std::unique_ptr<Form> Toolkit::makeForm(const FormSpec& layout) { return std::make_unique<Form>(*this, layout); }

Form* Toolkit::findForm(const std::string& name) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if ((*it)->name() == name) return *it;
    }
    return nullptr;
}

void Toolkit::runModal(Form& form) {
    if (!driver_) return;
    const ModalDriver driver = driver_;  // the driver may replace itself while it runs
    driver(form);
}

void Toolkit::pop(Form& form) {
    const auto it = std::find(shown_.rbegin(), shown_.rend(), &form);
    if (it != shown_.rend()) shown_.erase(std::next(it).base());
}

void Toolkit::forget(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    shown_.erase(std::remove(shown_.begin(), shown_.end(), &form), shown_.end());
}

}  // namespace qm::ui::headless
