// Values set from code and their change events (including handlers that set the value
// again), the spinner's range, and the check box.
#include <vector>

#include "tests/ui/window.h"

namespace qm::ui::headless {
namespace {

using testing::as;
using testing::errorNumberOf;
using testing::Window;

TEST(ChangeEvents, RaisedOnlyWhenTheValueChanges) {
    Window w;
    auto& txt = w.form->addTextBox("txtA", nullptr, {});
    auto& vsc = w.form->addScrollBar("vscA", nullptr, {});
    auto& chk = w.form->addCheckBox("chkA", nullptr, {});
    int textChanges = 0, barChanges = 0, checkClicks = 0;
    txt.onChange = [&] { ++textChanges; };
    vsc.onChange = [&] { ++barChanges; };
    chk.onClick = [&] { ++checkClicks; };

    txt.setText("a");
    txt.setText("a");
    vsc.setValue(3);
    vsc.setValue(3);
    chk.setValue(1);
    chk.setValue(1);
    EXPECT_EQ(textChanges, 1);
    EXPECT_EQ(barChanges, 1);
    EXPECT_EQ(checkClicks, 1);
    EXPECT_EQ(errorNumberOf([&] { chk.setValue(3); }), 380);
    EXPECT_EQ(chk.value(), 1);
}

TEST(ChangeEvents, HandlerSettingTheSameControlRaisesTheEventAgainNested) {
    Window w;
    auto& txt = w.form->addTextBox("txtA", nullptr, {});
    std::vector<std::string> seen;
    int depth = 0, deepest = 0;
    txt.onChange = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        seen.push_back(txt.text());
        if (txt.text().size() < 3) txt.setText(txt.text() + "+");
        --depth;
    };
    txt.setText("a");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "a+", "a++"}));
    EXPECT_EQ(deepest, 3);
    EXPECT_EQ(txt.text(), "a++");

    auto& vsc = w.form->addScrollBar("vscA", nullptr, {});
    vsc.setRange(0, 10);
    std::vector<int> values;
    vsc.onChange = [&] {
        values.push_back(vsc.value());
        if (vsc.value() % 2 != 0) vsc.setValue(vsc.value() + 1);  // only even values stay
    };
    vsc.setValue(3);
    EXPECT_EQ(values, (std::vector<int>{3, 4}));
    EXPECT_EQ(vsc.value(), 4);
}

TEST(ChangeEvents, HandlerMayReplaceItselfWhileRunning) {
    Window w;
    auto& cmd = as<Button>(w.form->addButton("cmdA", nullptr, {}));
    std::vector<std::string> calls;
    cmd.onClick = [&] {
        calls.push_back("first");
        cmd.onClick = [&] { calls.push_back("second"); };
        calls.push_back("first, after replacing");
    };
    cmd.userClick();
    cmd.userClick();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "first, after replacing", "second"}));
}

TEST(Spinner, ClampsBetweenMinAndMaxWhateverTheirOrder) {
    Window w;
    auto& vsc = as<ScrollBar>(w.form->addScrollBar("vscPosition(0)", nullptr, {}));
    int changes = 0;
    vsc.onChange = [&] { ++changes; };
    vsc.setRange(0, -5000);
    vsc.setValue(100);
    EXPECT_EQ(vsc.value(), 0);
    EXPECT_EQ(changes, 0);
    vsc.setValue(-6000);
    EXPECT_EQ(vsc.value(), -5000);

    // The upper arrow lowers the value: towards -5000 here, so it stops there.
    EXPECT_TRUE(vsc.userClickArrow(true));
    EXPECT_EQ(vsc.value(), -5000);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(vsc.userClickArrow(false));
    EXPECT_EQ(vsc.value(), -4999);
    EXPECT_EQ(changes, 2);

    vsc.setValue(0);
    vsc.userClickArrow(false);
    EXPECT_EQ(vsc.value(), 0);
    EXPECT_EQ(changes, 3);

    // A new range that leaves the value outside moves it in, with a change event.
    vsc.setRange(-10, -20);
    EXPECT_EQ(vsc.value(), -10);
    EXPECT_EQ(changes, 4);
}

TEST(Spinner, ValidationRefusingTheFocusStopsTheStep) {
    Window w;
    auto& txt = w.form->addTextBox("txtA", nullptr, {});
    auto& vsc = as<ScrollBar>(w.form->addScrollBar("vscA", nullptr, {}));
    vsc.setRange(0, -100);
    txt.onValidate = [](bool& cancel) { cancel = true; };
    txt.setFocus();
    EXPECT_FALSE(vsc.userClickArrow(true));
    EXPECT_EQ(vsc.value(), 0);
    EXPECT_TRUE(txt.hasFocus());
}

TEST(CheckBox, UserClickTogglesAndRaisesOneClick) {
    Window w;
    auto& chk = as<CheckBox>(w.form->addCheckBox("chkA", nullptr, {}));
    std::vector<int> values;
    chk.onClick = [&] { values.push_back(chk.value()); };
    chk.userClick();
    chk.userClick();
    chk.setValue(2);
    chk.userClick();  // grayed turns unchecked
    EXPECT_EQ(values, (std::vector<int>{1, 0, 2, 0}));
    EXPECT_TRUE(chk.hasFocus());
    w.form->userKey(' ');
    EXPECT_EQ(chk.value(), 1);
}

TEST(UserActions, HiddenDisabledOrLabelControlsBehaveAsOnScreen) {
    Window w;
    auto& frame = w.form->addFrame("fraA", nullptr, {});
    auto& cmd = as<Button>(w.form->addButton("cmdA", &frame, {}));
    auto& lbl = as<Label>(w.form->addLabel("lblA", nullptr, {}));
    auto& txt = w.form->addTextBox("txtA", nullptr, {});
    int clicks = 0, labelClicks = 0, validations = 0;
    cmd.onClick = [&] { ++clicks; };
    lbl.onClick = [&] { ++labelClicks; };
    txt.onValidate = [&](bool&) { ++validations; };
    txt.setFocus();

    frame.setEnabled(false);
    EXPECT_FALSE(cmd.userClick());
    frame.setEnabled(true);
    cmd.setVisible(false);
    EXPECT_FALSE(cmd.userClick());
    EXPECT_EQ(clicks, 0);

    // A label's click takes no focus, so nothing is validated.
    EXPECT_TRUE(lbl.userClick());
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(validations, 0);
    EXPECT_TRUE(txt.hasFocus());
}

}  // namespace
}  // namespace qm::ui::headless
