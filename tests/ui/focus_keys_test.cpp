// Focus, validation and keyboard routing of headless windows: what a user's clicks and keys
// do to the focus, the cancel and default buttons, and the text of a text box.
#include <stdexcept>
#include <vector>

#include "core/ui/spinner.h"
#include "tests/ui/window.h"

namespace qm::ui::headless {
namespace {

using testing::as;
using testing::errorNumberOf;
using testing::Window;

TEST(Focus, ValidationThatCancelsKeepsFocusAndStopsTheClick) {
    Window w;
    auto& txt = w.form->addTextBox("txtValue", nullptr, {});
    auto& cmd = as<Button>(w.form->addButton("cmdApply", nullptr, {}));
    int validations = 0, clicks = 0, buttonFocus = 0;
    txt.onValidate = [&](bool& cancel) {
        ++validations;
        cancel = txt.text().empty();
    };
    cmd.onClick = [&] { ++clicks; };
    cmd.onGotFocus = [&] { ++buttonFocus; };

    txt.setFocus();
    EXPECT_FALSE(cmd.userClick());
    EXPECT_TRUE(txt.hasFocus());
    EXPECT_EQ(validations, 1);
    EXPECT_EQ(buttonFocus, 0);
    EXPECT_EQ(clicks, 0);

    txt.setText("12");
    EXPECT_TRUE(cmd.userClick());
    EXPECT_TRUE(cmd.hasFocus());
    EXPECT_EQ(validations, 2);
    EXPECT_EQ(buttonFocus, 1);
    EXPECT_EQ(clicks, 1);
    // Focus already on the button: a second click validates nothing.
    EXPECT_TRUE(cmd.userClick());
    EXPECT_EQ(validations, 2);
    EXPECT_EQ(buttonFocus, 1);
}

TEST(Focus, SpinnerHandsFocusToItsTextBoxAndStillSteps) {
    Window w;
    auto& other = w.form->addTextBox("txtOther", nullptr, {});
    auto& txt = w.form->addTextBox("txtGrid", nullptr, {});
    auto& vsc = as<ScrollBar>(w.form->addScrollBar("vscGrid", nullptr, {}));
    vsc.setRange(0, -5000);
    std::vector<std::string> events;
    other.onValidate = [&](bool&) { events.push_back("validate other"); };
    txt.onGotFocus = [&] { events.push_back("txt focus"); };
    vsc.onGotFocus = [&] {
        events.push_back("bar focus");
        txt.setFocus();
    };
    vsc.onChange = [&] { events.push_back("change " + std::to_string(vsc.value())); };

    other.setFocus();
    ASSERT_TRUE(vsc.userClickArrow(true));
    EXPECT_EQ(events, (std::vector<std::string>{"validate other", "bar focus", "txt focus", "change -1"}));
    EXPECT_TRUE(txt.hasFocus());
    EXPECT_FALSE(vsc.hasFocus());
}

TEST(Focus, APairedSpinnerChangesOnTheTypedTextAndTheBoxValidatesWhenLeftForGood) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtPosition", nullptr, {}));
    auto& vsc = as<ScrollBar>(w.form->addScrollBar("vscPosition", nullptr, {}));
    auto& other = as<Button>(w.form->addButton("cmdOther", nullptr, {}));
    vsc.setRange(0, -5000);
    vsc.setValue(-10);
    pairSpinner(txt, vsc);
    std::vector<std::string> events;
    txt.onValidate = [&](bool&) { events.push_back("validate " + txt.text()); };
    vsc.onGotFocus = [&] { txt.setFocus(); };
    vsc.onChange = [&] { events.push_back("change on " + txt.text()); };

    txt.setFocus();
    txt.userType("4");
    ASSERT_TRUE(vsc.userClickArrow(false));
    ASSERT_TRUE(vsc.userClickArrow(true));
    EXPECT_EQ(events, (std::vector<std::string>{"change on 4", "change on 4"}));
    EXPECT_TRUE(txt.hasFocus());
    EXPECT_FALSE(vsc.tabStop());
    // The validation that the spinner did not run comes when the focus goes elsewhere.
    ASSERT_TRUE(other.userClick());
    EXPECT_EQ(events.back(), "validate 4");
    EXPECT_EQ(events.size(), 3u);
}

TEST(Focus, AValidationPutOffByASpinnerRunsOnceForTheBoxTheUserLeft) {
    Window w;
    auto& a = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    auto& vsc = as<ScrollBar>(w.form->addScrollBar("vscA", nullptr, {}));
    auto& b = as<TextBox>(w.form->addTextBox("txtB", nullptr, {}));
    vsc.setCausesValidation(false);
    int validationsA = 0, validationsB = 0;
    a.onValidate = [&](bool&) { ++validationsA; };
    b.onValidate = [&](bool&) { ++validationsB; };
    a.setFocus();
    ASSERT_TRUE(vsc.userClickArrow(true));  // the spinner keeps the focus here
    EXPECT_TRUE(vsc.hasFocus());
    EXPECT_EQ(validationsA, 0);
    ASSERT_TRUE(b.userSelectAll());
    EXPECT_EQ(validationsA, 1);
    EXPECT_EQ(validationsB, 0);
    // A box whose validation waits and that the user comes back to does not validate.
    ASSERT_TRUE(vsc.userClickArrow(true));
    ASSERT_TRUE(b.userSelectAll());
    EXPECT_EQ(validationsB, 0);
}

TEST(Keys, UpAndDownInAPairedBoxClickTheSpinnersArrowsWithinItsRange) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtGrid", nullptr, {}));
    auto& vsc = as<ScrollBar>(w.form->addScrollBar("vscGrid", nullptr, {}));
    vsc.setRange(0, -3);
    pairSpinner(txt, vsc);
    std::vector<int> values;
    vsc.onChange = [&] { values.push_back(vsc.value()); };
    txt.setFocus();
    for (int i = 0; i < 4; ++i) w.form->userKeyDown(vk::kUp, 0);
    w.form->userKeyDown(vk::kDown, 0);
    EXPECT_EQ(values, (std::vector<int>{-1, -2, -3, -2}));
    EXPECT_TRUE(txt.hasFocus());
    EXPECT_EQ(txt.text(), "");  // the arrows type nothing
}

TEST(Keys, TheWindowSeesKeysFirstAndOneItTakesTypesNothingInTheControl) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    std::vector<int> seen, typed;
    w.form->onKeyDown = [&](int& k, int shift) {
        seen.push_back(k * 10 + shift);
        if (k == 'Z' && shift == kCtrlMask) k = 0;
    };
    txt.onKeyPress = [&](int& k) { typed.push_back(k); };
    txt.setFocus();
    w.form->userKeyDown('Z', kCtrlMask);
    w.form->userKeyDown('A', kCtrlMask);  // not taken: the box gets Ctrl+A's character
    w.form->userKeyDown('Z', kCtrlMask | kShiftMask);
    EXPECT_EQ(seen, (std::vector<int>{'Z' * 10 + 2, 'A' * 10 + 2, 'Z' * 10 + 3}));
    EXPECT_EQ(typed, (std::vector<int>{1, 26}));
    EXPECT_EQ(txt.text(), "");
}

TEST(Failures, AHandlerThatFailsOnTheUsersInputGoesToOnErrorAndTheWindowGoesOn) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    auto& cmd = as<Button>(w.form->addButton("cmdA", nullptr, {}));
    std::vector<int32_t> shown;
    w.form->onError = [&](std::exception_ptr failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const host::HostError& e) {
            shown.push_back(e.number());
        }
    };
    int clicks = 0;
    cmd.onClick = [&] {
        ++clicks;
        throw host::HostError(1004, "Method failed");
    };
    txt.onKeyPress = [&](int& k) {
        if (k == 'x') throw host::HostError(6, "Overflow");
    };
    EXPECT_TRUE(cmd.userClick());
    EXPECT_TRUE(cmd.userClick());
    // Each key is an input of its own: the keys after the failing one still arrive.
    EXPECT_TRUE(txt.userType("1x2"));
    EXPECT_EQ(shown, (std::vector<int32_t>{1004, 1004, 6}));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(txt.text(), "12");
    EXPECT_TRUE(w.form->loaded());

    // Events raised by code pass their failures to that code.
    txt.onKeyPress = nullptr;
    txt.onChange = [] { throw host::HostError(5, "Invalid procedure call or argument"); };
    EXPECT_EQ(errorNumberOf([&] { txt.setText("3"); }), 5);
    EXPECT_EQ(shown.size(), 3u);

    // What onError rethrows, and anything without a handler, passes on.
    w.form->onError = [](std::exception_ptr failure) { std::rethrow_exception(failure); };
    EXPECT_EQ(errorNumberOf([&] { cmd.userClick(); }), 1004);
    w.form->onError = nullptr;
    EXPECT_EQ(errorNumberOf([&] { txt.userKey('4'); }), 5);
}

TEST(Focus, ControlsThatCannotTakeFocusRaiseError5) {
    Window w;
    auto& frame = w.form->addFrame("fraBox", nullptr, {});
    auto& inner = w.form->addTextBox("txtInner", &frame, {});
    auto& hidden = w.form->addTextBox("txtHidden", nullptr, {});
    auto& disabled = w.form->addButton("cmdOff", nullptr, {});
    auto& label = w.form->addLabel("lblA", nullptr, {});
    hidden.setVisible(false);
    disabled.setEnabled(false);

    EXPECT_EQ(errorNumberOf([&] { hidden.setFocus(); }), 5);
    EXPECT_EQ(errorNumberOf([&] { disabled.setFocus(); }), 5);
    EXPECT_EQ(errorNumberOf([&] { label.setFocus(); }), 5);
    EXPECT_EQ(errorNumberOf([&] { frame.setFocus(); }), 5);
    inner.setFocus();
    EXPECT_TRUE(inner.hasFocus());
    // Hiding the frame hides what it holds: the focus goes, and cannot come back.
    frame.setVisible(false);
    EXPECT_FALSE(inner.hasFocus());
    EXPECT_EQ(w.form->focused(), nullptr);
    EXPECT_EQ(errorNumberOf([&] { inner.setFocus(); }), 5);
    EXPECT_FALSE(w.form->get<TextBox>("txtInner").userType("x"));
    EXPECT_EQ(inner.text(), "");
}

TEST(Focus, ValidationHandlerThatMovesFocusIsNotValidatedAgain) {
    Window w;
    auto& a = w.form->addTextBox("txtA", nullptr, {});
    auto& b = w.form->addTextBox("txtB", nullptr, {});
    auto& c = as<Button>(w.form->addButton("cmdC", nullptr, {}));
    int validations = 0;
    a.onValidate = [&](bool&) {
        ++validations;
        b.setFocus();  // the handler pulls the focus elsewhere itself
    };
    a.setFocus();
    EXPECT_TRUE(c.userClick());
    EXPECT_EQ(validations, 1);
    EXPECT_TRUE(c.hasFocus());
}

TEST(Focus, ShowingGivesFocusToTheFirstUsableTabStop) {
    std::string focusedWhenShown;
    Window w(FormStyle::Dialog, [&](Form& f) { focusedWhenShown = f.focused() ? f.focused()->name() : "(none)"; });
    w.form->addLabel("lblTitle", nullptr, {});
    w.form->addTextBox("txtOff", nullptr, {}).setEnabled(false);
    w.form->addButton("cmdNoTab", nullptr, {}).setTabStop(false);
    w.form->addCheckBox("chkFirst", nullptr, {});
    w.form->addButton("cmdLater", nullptr, {});
    w.form->showModal();
    EXPECT_EQ(focusedWhenShown, "chkFirst");
}

TEST(Keys, TabMovesToTheNextTabStopThroughValidation) {
    Window w;
    auto& a = w.form->addTextBox("txtA", nullptr, {});
    w.form->addTextBox("txtSkip", nullptr, {}).setTabStop(false);
    auto& b = w.form->addTextBox("txtB", nullptr, {});
    bool refuse = true;
    a.onValidate = [&](bool& cancel) { cancel = refuse; };
    a.setFocus();
    w.form->userKey(9);
    EXPECT_TRUE(a.hasFocus());
    refuse = false;
    w.form->userKey(9);
    EXPECT_TRUE(b.hasFocus());
    w.form->userKey(9);  // wraps round
    EXPECT_TRUE(a.hasFocus());
}

TEST(Keys, EscapeClicksTheCancelButtonInsteadOfReachingTheControl) {
    Window w;
    auto& txt = w.form->addTextBox("txtA", nullptr, {});
    auto& ok = w.form->addButton("cmdOK", nullptr, {});
    auto& cancel = w.form->addButton("cmdCancel", nullptr, {});
    std::vector<int> keys;
    int validations = 0, okClicks = 0, cancelClicks = 0;
    txt.onKeyPress = [&](int& k) { keys.push_back(k); };
    txt.onValidate = [&](bool&) { ++validations; };
    ok.onClick = [&] { ++okClicks; };
    cancel.onClick = [&] { ++cancelClicks; };
    txt.setFocus();

    // No cancel button: the text box sees the key.
    w.form->userKey(key::kEscape);
    EXPECT_EQ(keys, std::vector<int>{27});

    ok.setCancel(true);
    cancel.setCancel(true);  // at most one: this clears cmdOK's flag
    EXPECT_FALSE(ok.cancel());
    w.form->userKey(key::kEscape);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_TRUE(txt.hasFocus());  // no focus move, so no validation
    EXPECT_EQ(validations, 0);

    // A disabled cancel button is not clicked; the key reaches the control again.
    cancel.setEnabled(false);
    w.form->userKey(key::kEscape);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_EQ(keys.size(), 2u);
}

TEST(Keys, EnterClicksTheFocusedButtonElseTheDefaultElseReachesTheControl) {
    Window w;
    auto& txt = w.form->addTextBox("txtA", nullptr, {});
    auto& ok = w.form->addButton("cmdOK", nullptr, {});
    auto& other = w.form->addButton("cmdOther", nullptr, {});
    std::vector<int> keys;
    int okClicks = 0, otherClicks = 0;
    txt.onKeyPress = [&](int& k) { keys.push_back(k); };
    ok.onClick = [&] { ++okClicks; };
    other.onClick = [&] { ++otherClicks; };

    txt.setFocus();
    w.form->userKey(key::kEnter);
    EXPECT_EQ(keys, std::vector<int>{13});
    EXPECT_EQ(txt.text(), "");  // a single-line box inserts no line break

    ok.setDefault(true);
    w.form->userKey(key::kEnter);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(keys.size(), 1u);

    other.setFocus();
    w.form->userKey(key::kEnter);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(okClicks, 1);
}

TEST(Typing, CharactersReplaceTheSelectionAndMoveTheCaret) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    std::vector<std::string> changes;
    txt.onChange = [&] { changes.push_back(txt.text()); };
    txt.setText("hello");
    changes.clear();
    EXPECT_EQ(txt.selStart(), 0);  // text set from code puts the caret at the start

    txt.setSelStart(1);
    txt.setSelLength(3);
    EXPECT_EQ(txt.selectedText(), "ell");
    ASSERT_TRUE(txt.userType("ab"));
    EXPECT_EQ(txt.text(), "habo");
    EXPECT_EQ(txt.selStart(), 3);
    EXPECT_EQ(txt.selLength(), 0);
    EXPECT_EQ(changes, (std::vector<std::string>{"hao", "habo"}));

    txt.setSelStart(99);
    EXPECT_EQ(txt.selStart(), 4);
    txt.setSelLength(5);
    EXPECT_EQ(txt.selLength(), 0);
    txt.setText("reset");  // the edit control puts the caret back at the start
    EXPECT_EQ(txt.selStart(), 0);
    EXPECT_EQ(errorNumberOf([&] { txt.setSelStart(-1); }), 380);
}

TEST(Typing, KeyPressCanSwallowOrChangeCharacters) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    std::vector<int> seen;
    int changes = 0;
    txt.onChange = [&] { ++changes; };
    txt.onKeyPress = [&](int& k) {
        seen.push_back(k);
        if (k >= '0' && k <= '9') k = 0;              // digits swallowed
        if (k >= 'a' && k <= 'z') k = k - 'a' + 'A';  // letters upper-cased
    };
    txt.userType("a1b");
    EXPECT_EQ(txt.text(), "AB");
    EXPECT_EQ(changes, 2);
    // Characters beyond ASCII arrive as 0x100 + code point, and count once each.
    txt.userType("é日");
    EXPECT_EQ(seen, (std::vector<int>{'a', '1', 'b', 0x100 + 0xE9, 0x100 + 0x65E5}));
    EXPECT_EQ(txt.text(), "ABé日");
    EXPECT_EQ(txt.selStart(), 4);
}

TEST(Typing, BackspaceDeletesTheSelectionOrTheCharacterBeforeTheCaret) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    txt.setText("日本語x");
    int changes = 0;
    txt.onChange = [&] { ++changes; };

    txt.userSetCaret(2);
    txt.userKey(key::kBackspace);
    EXPECT_EQ(txt.text(), "日語x");
    EXPECT_EQ(txt.selStart(), 1);

    txt.setSelStart(1);
    txt.setSelLength(2);
    txt.userKey(key::kBackspace);
    EXPECT_EQ(txt.text(), "日");
    EXPECT_EQ(changes, 2);

    txt.userSetCaret(0);
    txt.userKey(key::kBackspace);  // nothing before the caret: no change
    EXPECT_EQ(changes, 2);

    txt.onKeyPress = [](int& k) { k = 0; };
    txt.userSelectAll();
    txt.userKey(key::kBackspace);
    EXPECT_EQ(txt.text(), "日");
}

TEST(Typing, EnterTypedIntoABoxReachesTheDefaultButton) {
    Window w;
    auto& txt = as<TextBox>(w.form->addTextBox("txtA", nullptr, {}));
    auto& ok = w.form->addButton("cmdOK", nullptr, {});
    ok.setDefault(true);
    std::string textWhenClicked;
    ok.onClick = [&] { textWhenClicked = txt.text(); };
    txt.userType("12\n34");
    EXPECT_EQ(textWhenClicked, "12");
    EXPECT_EQ(txt.text(), "1234");
}

}  // namespace
}  // namespace qm::ui::headless
