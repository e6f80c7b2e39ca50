// The settings dialog presenter.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/addin/state.h"
#include "core/ui/ui.h"

namespace qm::dialogs {

class SettingDialog {
public:
    explicit SettingDialog(addin::AddinState& s);
    ~SettingDialog();
    SettingDialog(const SettingDialog&) = delete;
    SettingDialog& operator=(const SettingDialog&) = delete;

    // The host's command bars, handed over by the opener before the dialog loads.
    host::CommandBarsPtr objCommandBars;

    // Loads the dialog and runs it modally until OK (after validation) or Cancel.
    void show();
    ui::Form& form() { return *form_; }

private:
    void load();
    void fillBarList();
    void setCheck(ui::CheckBox& box, const settings::Key& key, bool anyButZero = false);
    void setSpinner(int index, int32_t value);
    void backColorClick();
    void chooseColor();
    void gridSpinChange(int index);
    void ok();
    // `grid`: the width and height the checked boxes hold.
    void save(const std::array<double, 2>& grid);
    std::string shownBars() const;

    addin::AddinState& s_;
    std::unique_ptr<ui::Form> form_;
    ui::Frame* frame1_;
    ui::Frame* frame2_;
    ui::Frame* frame3_;
    ui::Frame* frame4_;
    ui::Frame* frame5_;
    ui::Frame* frame6_;
    std::array<ui::Label*, 2> lblGrid_;
    std::array<ui::TextBox*, 2> txtGrid_;
    std::array<ui::ScrollBar*, 2> vscGrid_;
    ui::CheckBox* chkShapeSelectMode_;
    ui::CheckBox* chkFitGrid_;
    ui::CheckBox* chkFitShapes_;
    ui::ListView* lstBar_;
    ui::CheckBox* chkBackColor_;
    ui::Label* lblColor_;
    ui::Button* cmdColor_;
    ui::CheckBox* chkShowBarname_;
    ui::CheckBox* chkFormulaBar_;
    ui::PictureBox* picContener_;
    std::array<ui::Label*, 3> lblApp_;
    ui::Button* cmdOK_;
    ui::Button* cmdCancel_;

    int32_t color_ = 0;  // the chosen colour (the colour button's Tag)
    double gridWidthAtLoad_ = 0;
    double gridHeightAtLoad_ = 0;
    // Whether every toolbar could be listed, and whether the user ticked or cleared a row:
    // a list the host cut short does not replace the stored choice the user left alone.
    bool barsListed_ = false;
    bool barsChanged_ = false;
    // While the spinners are put at the stored sizes: their change leaves the text alone.
    bool loadingGrid_ = false;
};

// The Setting command: host-ready test, hand over the command bars, show modally.
void settingClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

}  // namespace qm::dialogs
