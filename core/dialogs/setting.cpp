// The settings dialog: grid size, default drawing aids, host toolbars shown in Draw mode,
// background colour, toolbar labels and the formula bar.
#include "core/dialogs/setting.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/addin/errors.h"
#include "core/dialogs/common.h"
#include "core/host/constants.h"
#include "core/text/number.h"
#include "core/text/strings.h"
#include "core/ui/spinner.h"

namespace qm::dialogs {
namespace {

namespace keys = settings::keys;
using namespace host;

// Spinner far limits: -10 times 255.0 and 409.0.
constexpr int kGridLimit[2] = {2550, 4090};

// A grid size as its box shows it: "0.0", or with the decimals the stored number has, so
// that a size saved before (254.99) is not shown as another (255.0) that OK then refuses.
std::string gridText(double value) {
    std::string text = text::fixedText(value, 1);
    if (text::val(text) == value) return text;
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return ec == std::errc() ? std::string(buffer, end) : text;
}

}  // namespace

SettingDialog::SettingDialog(addin::AddinState& s)
    : s_(s), form_(s.ui.createForm({"frmSetting", ui::FormStyle::Dialog, 7200, 6240, {}})) {
    ui::Form& f = *form_;
    frame1_ = &f.addFrame("Frame1", nullptr, {120, 120, 3480, 1200});
    for (int i = 0; i < 2; ++i) {
        const double top = 330 + 420.0 * i;
        lblGrid_[i] = &f.addLabel("lblGrid(" + std::to_string(i) + ")", frame1_, {240, top + 30, 900, 240});
        txtGrid_[i] = &f.addTextBox("txtGrid(" + std::to_string(i) + ")", frame1_, {1200, top, 1200, 285});
        vscGrid_[i] = &f.addScrollBar("vscGrid(" + std::to_string(i) + ")", frame1_, {2400, top, 255, 285});
        vscGrid_[i]->setRange(0, -kGridLimit[i]);
    }
    frame2_ = &f.addFrame("Frame2", nullptr, {120, 1440, 3480, 1320});
    chkShapeSelectMode_ = &f.addCheckBox("chkShapeSelectMode", frame2_, {240, 300, 3120, 285});
    chkFitGrid_ = &f.addCheckBox("chkFitGrid", frame2_, {240, 630, 3120, 285});
    chkFitShapes_ = &f.addCheckBox("chkFitShapes", frame2_, {240, 960, 3120, 285});
    frame4_ = &f.addFrame("Frame4", nullptr, {120, 2880, 3480, 780});
    chkBackColor_ = &f.addCheckBox("chkBackColor", frame4_, {240, 330, 1500, 285});
    lblColor_ = &f.addLabel("lblColor", frame4_, {1860, 360, 600, 240});
    cmdColor_ = &f.addButton("cmdColor", frame4_, {2520, 300, 720, 330});
    frame5_ = &f.addFrame("Frame5", nullptr, {120, 3780, 3480, 660});
    chkShowBarname_ = &f.addCheckBox("chkShowBarname", frame5_, {240, 300, 3120, 285});
    frame6_ = &f.addFrame("Frame6", nullptr, {120, 4560, 3480, 660});
    chkFormulaBar_ = &f.addCheckBox("chkFormulaBar", frame6_, {240, 300, 3120, 285});
    frame3_ = &f.addFrame("Frame3", nullptr, {3720, 120, 3360, 4440});
    lstBar_ = &f.addListView("lstBar", frame3_, {120, 300, 3120, 4020});
    lstBar_->addColumn("", 2900);
    picContener_ = &f.addPictureBox("picContener(0)", nullptr, {3720, 4680, 3360, 900});
    picContener_->setTabStop(false);
    for (int i = 0; i < 3; ++i) {
        lblApp_[i] = &f.addLabel("lblApp(" + std::to_string(i) + ")", picContener_, {0, 300.0 * i, 3360, 240});
    }
    cmdOK_ = &f.addButton("cmdOK", nullptr, {4560, 5700, 1200, 375});
    cmdCancel_ = &f.addButton("cmdCancel", nullptr, {5880, 5700, 1200, 375});
    cmdCancel_->setCancel(true);

    cmdOK_->onClick = [this] { ok(); };
    cmdCancel_->onClick = [this] { form_->unload(); };
    chkBackColor_->onClick = [this] { backColorClick(); };
    cmdColor_->onClick = [this] { chooseColor(); };
    lblApp_[2]->onClick = [this] { s_.os.shell.open(s_.config.developerSiteUrl); };
    lstBar_->onItemCheck = [this](int) { barsChanged_ = true; };
    for (int i = 0; i < 2; ++i) {
        ui::pairSpinner(*txtGrid_[i], *vscGrid_[i]);
        vscGrid_[i]->onChange = [this, i] { gridSpinChange(i); };
        vscGrid_[i]->onGotFocus = [this, i] { addin::ignoreErrors([&] { txtGrid_[i]->setFocus(); }); };
    }
}

SettingDialog::~SettingDialog() = default;

void SettingDialog::show() {
    LoadedRegistration registration(s_, *form_);
    load();
    form_->showModal();
}

void SettingDialog::load() {
    lblApp_[0]->setCaption(s_.config.productTitle);
    lblApp_[1]->setCaption(versionLine(s_));
    lblApp_[2]->setCaption(urlLine(s_));
    picContener_->setBorder(false);
    form_->setCaption(s_.text(200));
    frame1_->setCaption(s_.text(201));
    lblGrid_[0]->setCaption(s_.text(202));
    lblGrid_[1]->setCaption(s_.text(203));
    frame2_->setCaption(s_.text(204));
    chkShapeSelectMode_->setCaption(s_.text(205));
    chkFitGrid_->setCaption(s_.text(206));
    chkFitShapes_->setCaption(s_.text(207));
    frame3_->setCaption(s_.text(208));
    frame4_->setCaption(s_.text(209));
    chkBackColor_->setCaption(s_.text(210));
    lblColor_->setCaption(s_.text(211));
    frame5_->setCaption(s_.text(212));
    chkShowBarname_->setCaption(s_.text(213));
    frame6_->setCaption(s_.text(214));
    chkFormulaBar_->setCaption(s_.text(215));
    cmdOK_->setCaption(s_.text(216));
    cmdCancel_->setCaption(s_.text(217));

    fillBarList();
    barsChanged_ = false;

    const settings::Key* gridKeys[2] = {&keys::GridWidth, &keys::GridHeight};
    for (int i = 0; i < 2; ++i) {
        addin::ignoreErrors([&] {
            txtGrid_[i]->setText(gridText(s_.settings.number(*gridKeys[i])));
            // The spinner goes to the nearest step without rounding the text to it.
            loadingGrid_ = true;
            setSpinner(i, text::roundToLong(text::val(txtGrid_[i]->text()) * -10));
            loadingGrid_ = false;
        });
    }
    setCheck(*chkShapeSelectMode_, keys::ShapeSelectMode);
    setCheck(*chkFitGrid_, keys::FitGrid);
    setCheck(*chkFitShapes_, keys::FitShapes);
    // Draw mode shows the formula bar for any value but 0: so does the box.
    setCheck(*chkFormulaBar_, keys::FormulaBar, true);
    setCheck(*chkShowBarname_, keys::ShowBarname);
    // A colour that does not read as one is the default, white.
    color_ = addin::tryGet([&] { return s_.settings.integer(keys::BackColorValue); })
                 .value_or(text::toLong(keys::BackColorValue.defaultText));
    cmdColor_->setFaceColor(static_cast<uint32_t>(color_));
    setCheck(*chkBackColor_, keys::BackColor);
    gridWidthAtLoad_ = text::val(txtGrid_[0]->text());
    gridHeightAtLoad_ = text::val(txtGrid_[1]->text());
    backColorClick();
}

void SettingDialog::fillBarList() {
    const std::vector<std::string> chosen = text::split(s_.settings.get(keys::ShowBarArray), ',');
    const std::string shortName = text::upperAscii(text::loadResText(text::kEnglishBase));
    lstBar_->clear();
    barsListed_ = false;
    if (!objCommandBars) return;
    int32_t count = 0;
    bool complete = addin::ignoreErrors([&] { count = objCommandBars->count(); });
    for (int32_t index = 1; index <= count; ++index) {
        complete &= addin::ignoreErrors([&] {
            CommandBarPtr bar = objCommandBars->item(index);
            if (bar->type() != msoBarTypeNormal) return;
            const std::string name = bar->name();
            if (text::startsWith(name, "QM_")) return;
            const std::string upper = text::upperAscii(name);
            if (upper == shortName || upper == "PATTERN" || upper == "FONT COLOR" || upper == "FILL COLOR" ||
                upper == "LINE COLOR") {
                return;
            }
            const std::string key = name + ":" + std::to_string(bar->index());
            for (int row = 1; row <= lstBar_->count(); ++row) {
                if (lstBar_->itemKey(row) == key) return;  // a key already taken: the bar is skipped
            }
            const int row = lstBar_->count() + 1;
            lstBar_->insertItem(row, bar->nameLocal(), key);
            for (const std::string& c : chosen) {
                if (text::upperAscii(c) == upper) {
                    lstBar_->setChecked(row, true);
                    break;
                }
            }
        });
    }
    barsListed_ = complete;
}

void SettingDialog::setCheck(ui::CheckBox& box, const settings::Key& key, bool anyButZero) {
    const std::optional<double> v = addin::tryGet([&] { return s_.settings.number(key); });
    if (!v) return;
    if (anyButZero) {
        box.setValue(*v != 0 ? 1 : 0);
        return;
    }
    // A stored value other than 0 or 1 leaves the box as it is.
    const double rounded = std::nearbyint(*v);
    if (rounded == 0 || rounded == 1) box.setValue(static_cast<int>(rounded));
}

void SettingDialog::setSpinner(int index, int32_t value) {
    // Beyond the spinner's range the form model refuses the value; the spinner stays.
    if (value > 0 || value < -kGridLimit[index]) return;
    vscGrid_[index]->setValue(value);
}

void SettingDialog::backColorClick() {
    const bool on = chkBackColor_->value() == 1;
    lblColor_->setEnabled(on);
    cmdColor_->setEnabled(on);
    lblColor_->setForeColor(on ? ui::kColorButtonText : ui::kColorButtonShadow);
    cmdColor_->setFaceColor(on ? static_cast<uint32_t>(color_) : form_->backColor());
}

void SettingDialog::chooseColor() {
    std::optional<int32_t> chosen;
    addin::ignoreErrors([&] { chosen = s_.os.colors.choose(color_); });
    if (!chosen) return;
    color_ = *chosen;
    cmdColor_->setFaceColor(static_cast<uint32_t>(*chosen));
}

void SettingDialog::gridSpinChange(int index) {
    if (loadingGrid_) return;
    // Typed text that is no number the spinner can reach leaves the text as it is.
    const std::optional<double> typed = text::tryVal(txtGrid_[index]->text());
    if (!typed) return;
    const double t = *typed;
    const int sv = vscGrid_[index]->value();
    if (std::trunc(std::fabs(std::fabs(static_cast<double>(sv)) - std::fabs(t) * 10)) <= 1) {
        txtGrid_[index]->setText(text::fixedText(sv * -0.1, 1));
    } else {
        // The spinner is out of step with a typed value: it catches up first, and its own
        // change event rewrites the text.
        addin::ignoreErrors([&] { setSpinner(index, text::roundToLong(t * -10)); });
    }
}

void SettingDialog::ok() {
    // A grid size that does not fit in a number is as illegal as one out of bounds.
    std::array<double, 2> grid{};
    for (int i = 0; i < 2; ++i) {
        const std::optional<double> v = text::tryVal(txtGrid_[i]->text());
        if (!v || *v * 10 >= kGridLimit[i] || *v * 10 <= 0) {
            s_.message(text::loadResText(s_.text.base() + 501), platform::mb::kCritical);
            return;
        }
        grid[static_cast<size_t>(i)] = *v;
    }
    // A store that cannot be written is reported, and the dialog stays with what the user
    // chose in it.
    if (auto e = addin::captureError([&] { save(grid); })) {
        s_.showError(*e);
        return;
    }
    if (grid[0] != gridWidthAtLoad_ || grid[1] != gridHeightAtLoad_) {
        s_.message(text::loadResText(s_.text.base() + 502), platform::mb::kInformation);
    }
    form_->unload();
}

void SettingDialog::save(const std::array<double, 2>& grid) {
    settings::Settings& store = s_.settings;
    store.save(keys::GridWidth, text::shortestText(grid[0]));
    store.save(keys::GridHeight, text::shortestText(grid[1]));
    store.save(keys::ShapeSelectMode, std::to_string(chkShapeSelectMode_->value()));
    store.save(keys::FitGrid, std::to_string(chkFitGrid_->value()));
    store.save(keys::FitShapes, std::to_string(chkFitShapes_->value()));
    store.save(keys::FormulaBar, std::to_string(chkFormulaBar_->value()));
    if (barsListed_ || barsChanged_) store.save(keys::ShowBarArray, shownBars());
    store.save(keys::BackColor, std::to_string(chkBackColor_->value()));
    store.save(keys::BackColorValue, std::to_string(color_));
    store.save(keys::ShowBarname, std::to_string(chkShowBarname_->value()));
}

std::string SettingDialog::shownBars() const {
    std::vector<std::string> shown;
    std::vector<std::string> listed;
    for (int row = 1; row <= lstBar_->count(); ++row) {
        const std::string key = lstBar_->itemKey(row);
        const std::string name = key.substr(0, key.rfind(':'));
        listed.push_back(text::upperAscii(name));
        if (lstBar_->checked(row)) shown.push_back(name);
    }
    // Bars the host could not list keep their place in the choice.
    if (!barsListed_) {
        for (const std::string& stored : text::split(s_.settings.get(keys::ShowBarArray), ',')) {
            if (stored.empty()) continue;
            if (std::find(listed.begin(), listed.end(), text::upperAscii(stored)) == listed.end()) shown.push_back(stored);
        }
    }
    return text::join(shown, ",");
}

void settingClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    SettingDialog dialog(s);
    dialog.objCommandBars = s.app->commandBars();
    dialog.show();
    dialog.objCommandBars.reset();
}

}  // namespace qm::dialogs
