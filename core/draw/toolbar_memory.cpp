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

// Sets one stored value; where the host refuses it ("7" is no position), the key's default.
template <class T, class Set>
void setOrDefault(Set set, T value, T fallback) {
    try {
        set(value);
    } catch (const host::HostError&) {
        if (value == fallback) throw;
        set(fallback);
    }
}

}  // namespace

host::CommandBarPtr findAddinBar(addin::AddinState& s) {
    host::CommandBarPtr bar;
    addin::ignoreErrors([&] { bar = s.app->commandBars()->item(s.addinBarName); });
    return bar;
}

std::optional<addin::BarPlace> saveAddinBarState(addin::AddinState& s, bool raiseRow) {
    host::CommandBarPtr bar = findAddinBar(s);
    if (!bar) return std::nullopt;
    addin::BarPlace place;
    place.position = bar->position();
    place.rowIndex = bar->rowIndex() + (raiseRow ? 1 : 0);
    place.left = bar->left();
    place.top = bar->top();
    place.visible = bar->visible();
    addin::ignoreErrors([&] { s.settings.save(keys::BarPosition, std::to_string(place.position)); });
    addin::ignoreErrors([&] { s.settings.save(keys::BarRowIndex, std::to_string(place.rowIndex)); });
    addin::ignoreErrors([&] { s.settings.save(keys::BarLeft, std::to_string(place.left)); });
    addin::ignoreErrors([&] { s.settings.save(keys::BarTop, std::to_string(place.top)); });
    addin::ignoreErrors([&] { s.settings.save(keys::BarVisible, text::boolText(place.visible)); });
    return place;
}

void restoreAddinBarState(addin::AddinState& s) {
    restoreAddinBarPlace(s, {integerOrDefault(s, keys::BarPosition), rowIndexOrDefault(s),
                             integerOrDefault(s, keys::BarLeft), integerOrDefault(s, keys::BarTop),
                             booleanOrDefault(s, keys::BarVisible)});
}

void restoreAddinBarPlace(addin::AddinState& s, const addin::BarPlace& place) {
    host::CommandBarPtr bar = findAddinBar(s);
    if (!bar) return;
    bar->setVisible(false);
    setOrDefault([&](int32_t v) { bar->setRowIndex(v); }, place.rowIndex, text::toLong(keys::BarRowIndex.defaultText));
    setOrDefault([&](int32_t v) { bar->setPosition(v); }, place.position, text::toLong(keys::BarPosition.defaultText));
    setOrDefault([&](int32_t v) { bar->setLeft(v); }, place.left, text::toLong(keys::BarLeft.defaultText));
    setOrDefault([&](int32_t v) { bar->setTop(v); }, place.top, text::toLong(keys::BarTop.defaultText));
    setOrDefault([&](bool v) { bar->setVisible(v); }, place.visible, text::toBool(keys::BarVisible.defaultText));
}

}  // namespace qm::draw
