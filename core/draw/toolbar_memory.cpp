// Saving and restoring the add-in toolbar's place.
#include "core/draw/toolbar_memory.h"

#include "core/addin/errors.h"
#include "core/text/number.h"

namespace qm::draw {
namespace {

namespace keys = settings::keys;

int32_t integerOrDefault(addin::AddinState& s, const settings::Key& key) {
    try {
        return s.settings.integer(key);
    } catch (const host::HostError&) {
        return text::toLong(key.defaultText);
    }
}

bool booleanOrDefault(addin::AddinState& s, const settings::Key& key) {
    try {
        return s.settings.boolean(key);
    } catch (const host::HostError&) {
        return text::toBool(key.defaultText);
    }
}

int32_t rowIndexOrDefault(addin::AddinState& s) {
    try {
        return text::roundToLong(s.settings.number(keys::BarRowIndex));
    } catch (const host::HostError&) {
        return text::toLong(keys::BarRowIndex.defaultText);  // a number too large for a row
    }
}

}  // namespace

host::CommandBarPtr findAddinBar(addin::AddinState& s) {
    host::CommandBarPtr bar;
    addin::ignoreErrors([&] { bar = s.app->commandBars()->item(s.addinBarName); });
    return bar;
}

void saveAddinBarState(addin::AddinState& s, bool raiseRow) {
    host::CommandBarPtr bar = findAddinBar(s);
    if (!bar) return;
    s.settings.save(keys::BarPosition, std::to_string(bar->position()));
    s.settings.save(keys::BarRowIndex, std::to_string(bar->rowIndex() + (raiseRow ? 1 : 0)));
    s.settings.save(keys::BarLeft, std::to_string(bar->left()));
    s.settings.save(keys::BarTop, std::to_string(bar->top()));
    s.settings.save(keys::BarVisible, text::boolText(bar->visible()));
}

void restoreAddinBarState(addin::AddinState& s) {
    host::CommandBarPtr bar = findAddinBar(s);
    if (!bar) return;
    bar->setVisible(false);
    bar->setRowIndex(rowIndexOrDefault(s));
    bar->setPosition(integerOrDefault(s, keys::BarPosition));
    bar->setLeft(integerOrDefault(s, keys::BarLeft));
    bar->setTop(integerOrDefault(s, keys::BarTop));
    bar->setVisible(booleanOrDefault(s, keys::BarVisible));
}

}  // namespace qm::draw
