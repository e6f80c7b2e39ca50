// The maker menu, product submenu and add-in toolbar.
#include "core/bars/addin_menu.h"

#include "core/addin/errors.h"
#include "core/host/constants.h"

namespace qm::bars {
namespace {

using addin::Btn;
using namespace host;

struct ProductItem {
    Btn button;
    Btn copy;
    int32_t caption;  // relative string
    int32_t face;
    bool beginGroup;
};

// The product submenu, in order; the same begin-group flags apply to the copies.
constexpr ProductItem kProductItems[] = {
    {Btn::Mode, Btn::Mode_Copy, 1, 3020, false},
    {Btn::SavePicture, Btn::SavePicture_Copy, 41, 271, true},
    {Btn::ObjectsList, Btn::ObjectsList_Copy, 44, 1709, false},
    {Btn::Setting, Btn::Setting_Copy, 2, 611, true},
    {Btn::Help, Btn::Help_Copy, 3, 3278, true},
};

}  // namespace

void createAddinMenu(addin::AddinState& s, AddinMenuBuild& built) {
    CommandBarControlPtr maker;
    addin::ignoreErrors([&] { maker = s.app->commandBars()->item(1)->findControl({.tag = kMakerTag}); });

    if (!maker) {
        maker = s.app->commandBars()->item(1)->controls()->add({.type = msoControlPopup, .temporary = true});
        built.maker = maker;
    } else {
        // Another product of the maker built the menu; its developer's-site item is
        // replaced by this product's, so that one stays, and last.
        addin::ignoreErrors([&] { built.oldSite = maker->commandBar()->findControl({.tag = kSiteTag}); });
    }
    maker->setTag(kMakerTag);
    maker->setCaption(s.text(900));
    maker->setBeginGroup(true);

    CommandBarControlPtr product = maker->controls()->add({.type = msoControlPopup});
    built.product = product;
    product->setCaption(s.text(901));
    product->setTag(kProductTag);

    for (const ProductItem& item : kProductItems) {
        CommandBarControlPtr b = product->controls()->add({.type = msoControlButton});
        s.bind(item.button, b);
        b->setCaption(s.text(item.caption));
        b->setFaceId(item.face);
        b->setStyle(msoButtonIconAndCaption);
        b->setOnAction(s.onAction);
        if (item.beginGroup) b->setBeginGroup(true);
    }

    CommandBarControlPtr site = maker->controls()->add({.type = msoControlButton});
    built.site = site;
    s.bind(Btn::DeveloperSite, site);
    site->setCaption(s.text(902));
    site->setTag(kSiteTag);
    site->setFaceId(1016);
    site->setStyle(msoButtonIconAndCaption);
    site->setOnAction(s.onAction);
    site->setBeginGroup(true);

    CommandBarPtr bar = s.app->commandBars()->add(
        {.name = s.addinBarName, .position = msoBarFloating, .menuBar = false, .temporary = true});
    built.toolbar = bar;
    for (const ProductItem& item : kProductItems) {
        CommandBarControlPtr copy = s.button(item.button)->copy(bar);
        s.bind(item.copy, copy);
        copy->setStyle(msoButtonIcon);
        if (item.beginGroup) copy->setBeginGroup(true);
    }
    bar->setProtection(msoBarNoCustomize);
    bar->setVisible(false);
}

void removeOldSiteItem(AddinMenuBuild& built) noexcept {
    if (!built.oldSite) return;
    addin::PutBack steps;
    steps.ignoring([&] { built.oldSite->remove(); });
    built.oldSite.reset();
}

void deleteAddinMenu(addin::AddinState& s) noexcept {
    if (!s.app) return;
    addin::PutBack steps;
    CommandBarPtr toolbar;
    steps.ignoring([&] { toolbar = s.app->commandBars()->item(s.addinBarName); });
    if (toolbar) steps.ignoring([&] { toolbar->remove(); });
    CommandBarControlPtr maker;
    steps.ignoring([&] { maker = s.app->commandBars()->item(1)->findControl({.tag = kMakerTag}); });
    if (!maker) return;
    CommandBarControlPtr product;
    steps.ignoring([&] { product = maker->commandBar()->findControl({.tag = kProductTag}); });
    if (product) steps.ignoring([&] { product->remove(); });
    steps.ignoring([&] {
        if (maker->controls()->count() == 1) maker->remove();
    });
}

void removeAfterFailedConnection(const AddinMenuBuild& built) noexcept {
    addin::PutBack steps;
    if (built.toolbar) steps.ignoring([&] { built.toolbar->remove(); });
    if (built.maker) {
        steps.ignoring([&] { built.maker->remove(); });
        return;
    }
    if (built.site) steps.ignoring([&] { built.site->remove(); });
    if (built.product) steps.ignoring([&] { built.product->remove(); });
}

}  // namespace qm::bars
