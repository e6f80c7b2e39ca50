// The Win32 window toolkit of the add-in DLL: real windows, owned by the host's main
// window, for the add-in's presenters. Registers its window classes for its own lifetime,
// resolves fonts (Japanese captions need a Japanese-capable face), converts twips to
// screen pixels, and keeps the stack of windows shown modally.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/ui/ui.h"
#include "win32/shell.h"
#include "win32/ui/handles.h"

namespace qm::win32::ui {

using qm::ui::FormSpec;

class Form;

// A face chosen for a requested font.
struct ResolvedFace {
    std::wstring face;
    int charset = DEFAULT_CHARSET;
    bool exact = false;  // the requested face itself is installed
};

class Toolkit final : public qm::ui::Toolkit {
public:
    // `owner` finds the window the add-in's windows belong to (the host's main window);
    // it may answer null, and is asked each time a window is made.
    explicit Toolkit(OwnerWindow owner);
    ~Toolkit() override;
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    std::unique_ptr<qm::ui::Form> createForm(const FormSpec& layout) override;
    std::unique_ptr<Form> makeForm(const FormSpec& layout);

    // The innermost window shown modally, or null: message boxes and common dialogs
    // opened while it is shown must belong to it, or the user could still click it.
    HWND activeModalWindow() const noexcept;
    // The window that owns a new top-level window: the innermost modal one, else the host's.
    HWND ownerForNewWindow() const noexcept;
    const std::vector<Form*>& shownForms() const noexcept { return shown_; }
    // The existing window of that name made last, or nullptr.
    Form* findForm(const std::string& name) const;

    // Handles this toolkit's windows hold now.
    const ResourceTally& tally() const noexcept { return tally_; }
    ResourceTally& tally() noexcept { return tally_; }

    // Screen resolution: twips per pixel, from the screen's logical DPI.
    double twipsPerPixelX() const noexcept { return twipsPerPixelX_; }
    double twipsPerPixelY() const noexcept { return twipsPerPixelY_; }
    int pixelsX(double twips) const noexcept;
    int pixelsY(double twips) const noexcept;
    int dpiY() const noexcept { return dpiY_; }

    // The face to create for a requested font: the face itself when installed; for a
    // Japanese font that is not, a Japanese-capable face; otherwise the default GUI face.
    ResolvedFace resolveFace(const std::string& name, int charset);
    // A LOGFONT for a requested font at the screen's resolution.
    LOGFONTW logFont(const qm::ui::Font& font);

    // The registered message with which the windows answer automation (automation.h).
    UINT describeMessage() const noexcept { return describeMessage_; }

    const wchar_t* formClass() const noexcept { return formClass_.c_str(); }
    const wchar_t* controlClass() const noexcept { return controlClass_.c_str(); }
    HINSTANCE instance() const noexcept { return instance_; }

private:
    friend class Form;
    void push(Form& form) { shown_.push_back(&form); }
    void pop(Form& form);
    void forget(Form& form);

    OwnerWindow owner_;
    HINSTANCE instance_;
    std::wstring formClass_;
    std::wstring controlClass_;
    double twipsPerPixelX_ = 15;
    double twipsPerPixelY_ = 15;
    int dpiY_ = 96;
    UINT describeMessage_ = 0;
    ResourceTally tally_;
    std::map<std::pair<std::string, int>, ResolvedFace> faces_;
    std::vector<Form*> shown_;
    std::vector<Form*> forms_;
};

}  // namespace qm::win32::ui
