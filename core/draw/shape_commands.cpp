// Shape text and selection commands.
#include "core/draw/shape_commands.h"

#include "core/addin/errors.h"
#include "core/host/constants.h"

namespace qm::draw {
namespace {

using addin::Btn;
using namespace host;

// The five text buttons in the order OnUpdate walks them; 0 stands for AutoSize = True.
constexpr Btn kTextButtons[5] = {Btn::TextAutoSize, Btn::TextValignTop, Btn::TextValignCenter,
                                 Btn::TextValignBottom, Btn::TextValignJustify};
constexpr int32_t kAlignments[5] = {0, xlTop, xlCenter, xlBottom, xlJustify};

void onSelection(addin::AddinState& s, void (*apply)(Selection&)) {
    if (!addin::ignoreErrors([&] { apply(must(s.app->selection())); })) s.os.sound.beep();
}

// Writes a text button's State or Enabled only when it differs from what is known of it;
// the host never changes the add-in's own buttons, so a value once read or written stays.
template <class T, class Read, class Write>
void writeIfDifferent(std::optional<T>& known, T wanted, Read read, Write write) {
    if (!known) {
        auto current = addin::tryGet(read);
        if (!current) return;
        known = *current;
    }
    if (*known == wanted) return;
    if (addin::ignoreErrors([&] { write(wanted); })) known = wanted;
    else known.reset();
}

}  // namespace

void textAutoSizeClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    onSelection(s, [](Selection& sel) { sel.setAutoSize(true); });
}
void textValignTopClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    onSelection(s, [](Selection& sel) { sel.setVerticalAlignment(xlTop); });
}
void textValignCenterClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    onSelection(s, [](Selection& sel) { sel.setVerticalAlignment(xlCenter); });
}
void textValignBottomClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    onSelection(s, [](Selection& sel) { sel.setVerticalAlignment(xlBottom); });
}
void textValignJustifyClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    onSelection(s, [](Selection& sel) { sel.setVerticalAlignment(xlJustify); });
}

void objectSelectLockClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    CommandBarControl& lock = must(s.button(Btn::ObjectSelectLock).get());
    s.draw.knownLockState.reset();
    if (lock.state() == msoButtonDown) {
        lock.setState(msoButtonUp);
        s.draw.knownLockState = msoButtonUp;
        return;
    }
    lock.setState(msoButtonDown);
    s.draw.knownLockState = msoButtonDown;
    addin::ignoreErrors([&] {
        CommandBarControlPtr select = s.app->commandBars()->findControl({.id = ctl::kSelectObjects});
        if (must(select).state() == msoButtonUp) select->execute();
    });
}

void onUpdate(addin::AddinState& s) {
    if (s.draw.inUpdate) return;
    s.draw.inUpdate = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{s.draw.inUpdate};

    if (s.draw.btnBold) {
        const bool textEnabled = addin::tryGet([&] { return s.draw.btnBold->enabled(); }).value_or(false);
        // One look at the selection serves all five buttons: nothing can change it while
        // this handler runs.
        SelectionPtr selection;
        std::optional<bool> autoSize;
        std::optional<int32_t> alignment;
        bool selectionRead = false;
        auto readSelection = [&] {
            if (selectionRead) return;
            selectionRead = true;
            addin::ignoreErrors([&] { selection = s.app->selection(); });
            if (!selection) return;
            autoSize = addin::tryGet([&] { return selection->autoSize(); });
            alignment = addin::tryGet([&] { return selection->verticalAlignment(); });
        };
        for (size_t i = 0; i < 5; ++i) {
            addin::EventButton& button = s.button(kTextButtons[i]);
            if (!button) continue;
            readSelection();
            const bool match = i == 0 ? autoSize.value_or(false) : alignment && *alignment == kAlignments[i];
            const int32_t wanted = match ? msoButtonDown : msoButtonUp;
            CommandBarControl* control = button.get().get();
            writeIfDifferent<int32_t>(
                s.draw.knownTextState[i], wanted, [&] { return control->state(); },
                [&](int32_t v) { control->setState(v); });
            writeIfDifferent<bool>(
                s.draw.knownTextEnabled[i], textEnabled, [&] { return control->enabled(); },
                [&](bool v) { control->setEnabled(v); });
        }
    }

    addin::EventButton& lock = s.button(Btn::ObjectSelectLock);
    if (lock && s.draw.btnSelectObjects) {
        if (!s.draw.knownLockState) s.draw.knownLockState = addin::tryGet([&] { return lock->state(); });
        if (s.draw.knownLockState == msoButtonDown) {
            addin::ignoreErrors([&] {
                if (s.draw.btnSelectObjects->state() == msoButtonUp) s.draw.btnSelectObjects->execute();
            });
        }
    }
}

}  // namespace qm::draw
