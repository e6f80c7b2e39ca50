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

void createAddinMenu(addin::AddinState& s, CommandBarControlPtr& createdMaker) {
    CommandBarControlPtr maker;
    addin::ignoreErrors([&] { maker = s.app->commandBars()->item(1)->findControl({.tag = kMakerTag}); });

    if (!maker) {
        maker = s.app->commandBars()->item(1)->controls()->add({.type = msoControlPopup, .temporary = true});
        createdMaker = maker;
    } else {
        // Another product of the maker built the menu; its developer's-site item is
        // re-created below so that it stays the last item.
        addin::ignoreErrors([&] {
            if (auto site = maker->commandBar()->findControl({.tag = kSiteTag})) site->remove();
        });
    }
    maker->setTag(kMakerTag);
    maker->setCaption(s.text(900));
    maker->setBeginGroup(true);

    CommandBarControlPtr product = maker->controls()->add({.type = msoControlPopup});
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
    s.bind(Btn::DeveloperSite, site);
    site->setCaption(s.text(902));
    site->setTag(kSiteTag);
    site->setFaceId(1016);
    site->setStyle(msoButtonIconAndCaption);
    site->setOnAction(s.onAction);
    site->setBeginGroup(true);

    CommandBarPtr bar = s.app->commandBars()->add(
        {.name = s.addinBarName, .position = msoBarFloating, .menuBar = false, .temporary = true});
    for (const ProductItem& item : kProductItems) {
        CommandBarControlPtr copy = s.button(item.button)->copy(bar);
        s.bind(item.copy, copy);
        copy->setStyle(msoButtonIcon);
        if (item.beginGroup) copy->setBeginGroup(true);
    }
    bar->setProtection(msoBarNoCustomize);
    bar->setVisible(false);
}

void deleteAddinMenu(addin::AddinState& s) noexcept {
    if (!s.app) return;
    try {
        addin::ignoreErrors([&] { s.app->commandBars()->item(s.addinBarName)->remove(); });
        CommandBarControlPtr maker;
        addin::ignoreErrors([&] { maker = s.app->commandBars()->item(1)->findControl({.tag = kMakerTag}); });
        if (!maker) return;
        addin::ignoreErrors([&] {
            if (auto product = maker->commandBar()->findControl({.tag = kProductTag})) product->remove();
        });
        addin::ignoreErrors([&] {
            if (maker->controls()->count() == 1) maker->remove();
        });
    } catch (...) {
        // Disconnection goes on whatever happens here.
    }
}

void removeAfterFailedConnection(addin::AddinState& s, const CommandBarControlPtr& createdMaker) noexcept {
    deleteAddinMenu(s);
    if (!createdMaker) return;
    try {
        addin::ignoreErrors([&] {
            if (createdMaker->controls()->count() == 0) createdMaker->remove();
        });
    } catch (...) {
    }
}

}  // namespace qm::bars
