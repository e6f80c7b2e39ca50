// The one-point advice window.
#include "core/dialogs/one_point.h"

#include <cmath>

#include "core/addin/errors.h"
#include "core/dialogs/common.h"
#include "core/resources/artwork.h"
#include "core/text/number.h"

namespace qm::dialogs {
namespace {

namespace keys = settings::keys;

// The Marlett font draws "3" and "4" as left- and right-pointing triangles.
const ui::Font kMarlett{"Marlett", 10, false, false, 2};

class OnePointDialog {
public:
    explicit OnePointDialog(addin::AddinState& s)
        : s_(s), form_(s.ui.createForm({"frmOnePoint", ui::FormStyle::Dialog, 6300, 8175, {}})),
          imgTip_(form_->addImage("imgTip", nullptr, {150, 150, 6000, 4950})),
          cmdBefor_(form_->addButton("cmdBefor", nullptr, {150, 5220, 450, 360})),
          lblNo_(form_->addLabel("lblNo", nullptr, {650, 5280, 1300, 240})),
          cmdNext_(form_->addButton("cmdNext", nullptr, {2000, 5220, 450, 360})),
          chkLoadTipsAtStartup_(form_->addCheckBox("chkLoadTipsAtStartup", nullptr, {150, 5700, 6000, 300})),
          picture2_(form_->addPictureBox("Picture2", nullptr, {150, 6960, 2535, 1065})),
          image3_(form_->addImage("Image3", &picture2_, {0, 0, 2535, 1065})),
          lblApp0_(form_->addLabel("lblApp(0)", nullptr, {150, 6090, 6000, 240})),
          lblApp1_(form_->addLabel("lblApp(1)", nullptr, {150, 6360, 6000, 240})),
          lblApp2_(form_->addLabel("lblApp(2)", nullptr, {150, 6630, 6000, 240})),
          cmdOK_(form_->addButton("cmdOK", nullptr, {4950, 7665, 1200, 360})),
          registration_(s, *form_) {
        cmdBefor_.setFont(kMarlett);
        cmdBefor_.setCaption("3");
        cmdNext_.setFont(kMarlett);
        cmdNext_.setCaption("4");
        picture2_.setBorder(false);
        picture2_.setTabStop(false);
        image3_.setPicture(resources::bitmap(resources::kLogo));
        cmdNext_.onClick = [this] { next(); };
        cmdBefor_.onClick = [this] { before(); };
        cmdOK_.onClick = [this] { form_->unload(); };
        cmdOK_.setCancel(true);
        form_->onUnload = [this] { s_.settings.save(keys::OnePoint, std::to_string(chkLoadTipsAtStartup_.value())); };
        load();
    }

    void show() { form_->showModal(); }

private:
    void load() {
        form_->setCaption(s_.text(300));
        chkLoadTipsAtStartup_.setCaption(s_.text(301));
        cmdOK_.setCaption(s_.text(302));
        lblApp2_.setCaption(urlLine(s_));
        lblApp0_.setCaption(s_.config.productTitle);
        lblApp1_.setCaption(versionLine(s_));
        // A stored value other than 0 or 1 shows as unchecked, one that is no number at all
        // as the default, so that the window opens and closing it mends the setting.
        const double stored = addin::tryGet([&] { return s_.settings.number(keys::OnePoint); })
                                  .value_or(text::val(keys::OnePoint.defaultText));
        chkLoadTipsAtStartup_.setValue(std::nearbyint(stored) == 1 ? 1 : 0);
        next();
    }

    void next() {
        page_ = std::min(page_ + 1, resources::kAdvicePages);
        showPage();
    }

    void before() {
        page_ = std::max(page_ - 1, 1);
        showPage();
    }

    void showPage() {
        imgTip_.setPicture(resources::bitmap(resources::advicePage(page_, s_.text.japanese())));
        cmdBefor_.setEnabled(page_ != 1);
        cmdNext_.setEnabled(page_ == 1 || page_ != resources::kAdvicePages);
        lblNo_.setCaption("( " + std::to_string(page_) + " / " + std::to_string(resources::kAdvicePages) + " )");
    }

    addin::AddinState& s_;
    std::unique_ptr<ui::Form> form_;
    ui::Image& imgTip_;
    ui::Button& cmdBefor_;
    ui::Label& lblNo_;
    ui::Button& cmdNext_;
    ui::CheckBox& chkLoadTipsAtStartup_;
    ui::PictureBox& picture2_;
    ui::Image& image3_;
    ui::Label& lblApp0_;
    ui::Label& lblApp1_;
    ui::Label& lblApp2_;
    ui::Button& cmdOK_;
    LoadedRegistration registration_;
    int page_ = 0;
};

}  // namespace

void showOnePointAdvice(addin::AddinState& s) {
    OnePointDialog dialog(s);
    dialog.show();
}

void onePointClick(addin::AddinState& s, const host::CommandBarControlPtr&, bool&) { showOnePointAdvice(s); }

}  // namespace qm::dialogs
