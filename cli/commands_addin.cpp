// Scenario commands around the add-in: connecting and disconnecting it, clicking controls
// as the user does, answering its message boxes and colour chooser, seeding settings, and
// dumping the command bars.
#include "cli/html_bars.h"
#include "cli/html_page.h"
#include "cli/session.h"
#include "core/text/strings.h"

namespace qm::cli {
namespace {

constexpr const char* kProgId = "QuillmarkInExcel.Connect";

sim::ControlNodePtr findControl(Session& s, Args& a) {
    if (a.accept("tag")) {
        const std::string tag = a.next("tag");
        auto node = s.host().findByTag(tag);
        if (!node) throw CheckFailed("no control is tagged \"" + tag + "\"", "a control tagged " + tag, "none");
        return node;
    }
    const std::string path = a.next("control path");
    auto node = s.findByPath(path);
    if (!node) throw CheckFailed("no control at \"" + path + "\"", path, "none");
    return node;
}

}  // namespace

sim::ControlNodePtr findControlArg(Session& s, Args& a) { return findControl(s, a); }

void registerAddinCommands(Session& session) {
    // connect [<ProgId>]: the host loads the add-in and calls its connection
    session.registerCommand("connect", [](Session& s, Args& a) {
        const std::string progId = a.nextIf().value_or(kProgId);
        a.done();
        s.connectAddin(progId);
    });
    session.registerCommand("disconnect", [](Session& s, Args& a) {
        a.done();
        s.disconnectAddin();
    });
    // click "<bar> > <caption> > ..." | click tag <tag>: the user clicks a control
    session.registerCommand("click", [](Session& s, Args& a) {
        auto node = findControl(s, a);
        a.done();
        if (!s.host().click(node)) s.print("  [not clickable: disabled or not shown]");
    });
    // answer <OK|Cancel|Yes|No|...>...: the buttons the user presses in the next message boxes
    session.registerCommand("answer", [](Session& s, Args& a) {
        bool any = false;
        while (auto word = a.nextIf()) {
            auto r = scripted::resultFromName(*word);
            if (!r) throw ScriptError("unknown message box button \"" + *word + "\"");
            s.messageBox().queue(*r);
            any = true;
        }
        if (!any) throw ScriptError("missing button name");
    });
    // choose-color <colour>|cancel: the user's choice in the next colour chooser
    session.registerCommand("choose-color", [](Session& s, Args& a) {
        const std::string word = a.next("colour or cancel");
        a.done();
        s.colors().queue(text::equalsIgnoreCase(word, "cancel") ? std::nullopt : std::optional(parseColor(word)));
    });
    // setting <section> <key> <value> | setting erase <section> <key>
    session.registerCommand("setting", [](Session& s, Args& a) {
        if (a.accept("erase")) {
            const std::string section = a.next("section");
            const std::string key = a.next("key");
            a.done();
            auto* memory = dynamic_cast<settings::MemoryStore*>(&s.services().settings);
            if (!memory) throw ScriptError("settings can be erased only in the scenario's own store");
            memory->erase(settings::kApp, section, key);
            return;
        }
        const std::string section = a.next("section");
        const std::string key = a.next("key");
        const std::string value = a.next("value");
        a.done();
        s.settings().save(section, key, value);
    });
    // temp-files fail|work: the system's temporary folder refuses new files, or works again
    session.registerCommand("temp-files", [](Session& s, Args& a) {
        const std::string what = a.next("fail, fail-folder or work");
        a.done();
        s.temp().setFailing(text::equalsIgnoreCase(what, "fail-folder"), !text::equalsIgnoreCase(what, "work"));
    });
    // file-writes fail <n>: the next n file writes fail
    session.registerCommand("file-writes", [](Session& s, Args& a) {
        if (!a.accept("fail")) throw ScriptError("file-writes fail <count>");
        s.files().failWrites(a.nextInt("count"));
        a.done();
    });
    // dump bars [visible] [names] | dump bar "<name>"
    session.registerCommand("dump", [](Session& s, Args& a) {
        sim::DumpOptions options;
        if (a.accept("bar")) {
            options.bar = a.next("bar name");
        } else if (!a.accept("bars")) {
            throw ScriptError("dump bars or dump bar <name>");
        }
        options.visibleOnly = a.flag("visible");
        options.controls = !a.flag("names");
        a.done();
        std::string text = s.host().dumpBars(options);
        for (const std::string& line : text::split(text, '\n')) {
            if (!line.empty()) s.printDetail("  " + line);
        }
        if (auto* page = s.page()) {
            for (auto& picture : html::barPictures(s.host(), options)) page->picture(std::move(picture));
        }
    });
    // echo <text>: a line of the transcript
    session.registerCommand("echo", [](Session& s, Args& a) { s.print(a.rest("text")); });
}

}  // namespace qm::cli
