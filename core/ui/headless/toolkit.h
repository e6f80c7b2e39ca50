// The headless toolkit: makes headless windows, and runs modal ones through a driver (a
// test, or the scenario runner reading its next lines) that acts on the window the way a
// user would until it closes. Keeps the stack of windows shown modally, innermost last.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/ui/headless/form.h"
#include "core/ui/ui.h"

namespace qm::ui::headless {

using ModalDriver = std::function<void(Form&)>;

class Toolkit final : public ui::Toolkit {
public:
    explicit Toolkit(ModalDriver driver);
    ~Toolkit() override;

    std::unique_ptr<ui::Form> createForm(const FormSpec& layout) override;
    // The same, typed, for code that drives the window itself.
    std::unique_ptr<Form> makeForm(const FormSpec& layout);

    void setModalDriver(ModalDriver driver) { driver_ = std::move(driver); }
    // Windows shown modally now, the outermost first.
    const std::vector<Form*>& shownForms() const noexcept { return shown_; }
    Form* activeForm() const noexcept { return shown_.empty() ? nullptr : shown_.back(); }
    // Every window that exists, loaded or not, in creation order.
    const std::vector<Form*>& forms() const noexcept { return forms_; }
    // The existing window of that name that was made last, or nullptr.
    Form* findForm(const std::string& name) const;

private:
    friend class Form;
    void runModal(Form& form);
    void push(Form& form) { shown_.push_back(&form); }
    void pop(Form& form);
    void forget(Form& form);

    ModalDriver driver_;
    std::vector<Form*> shown_;
    std::vector<Form*> forms_;
};

}  // namespace qm::ui::headless
