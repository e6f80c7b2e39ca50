// One run of a scenario: the simulated host, the scripted operating system, the
// headless windows and the add-in itself, and the transcript of what the user sees.
#pragma once

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/script.h"
#include "core/addin/connect.h"
#include "core/settings/settings.h"
#include "core/ui/headless/toolkit.h"
#include "scripted/scripted.h"
#include "sim/sim_host.h"

namespace qm::cli {

struct Options {
    // A settings file to use instead of an in-memory store (the real per-user store
    // when given as "user").
    std::string settingsFile;
    // Also open addresses in the real browser.
    bool openBrowser = false;
    // Windows: the add-in is the real DLL (this path, or the default place when empty),
    // connected through COM to a fake Excel over the simulated host.
    bool viaCom = false;
    std::string addinDll;
    // A fault sweep's run: a line that fails (a check that does not hold, a control or
    // window that is not there) is counted and skipped, and windows still open when the
    // script ends are closed as a user would close them.
    bool lenient = false;
    // The system's locale when the script starts (as "host locale" sets it); English texts
    // in the script are then read as the add-in shows them in that locale's language.
    std::optional<std::string> locale;
    // Also write the run as an HTML page to this file.
    std::string htmlFile;
    // What the page says ran: the script's name.
    std::string scriptName;
};

class ViaCom;
namespace html {
class HtmlPage;
}

// The add-in's settings store in a scenario: the session's own store, which can be made to
// refuse every write as the registry does when access to the key is denied.
class ScenarioStore : public platform::SettingsStore {
public:
    explicit ScenarioStore(platform::SettingsStore& inner) : inner_(inner) {}
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override {
        return inner_.read(app, section, key);
    }
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;
    void setRefusing(bool refusing) { refusing_ = refusing; }
    platform::SettingsStore& inner() { return inner_; }

private:
    platform::SettingsStore& inner_;
    bool refusing_ = false;
};

class Session;
using Command = std::function<void(Session&, Args&)>;

class Session {
public:
    Session(std::ostream& out, Options options);
    ~Session();

    // Runs the script to its end; returns the exit code (0 passed, 1 check failed,
    // 2 malformed script).
    int run(Script& script);

    // Runs the script's following lines until `done` says stop or the script ends.
    // Modal windows use it: they read on while they are open.
    void runWhile(const std::function<bool()>& keepGoing);
    // Runs the script's next line; false when the script has ended. The real windows of
    // the add-in DLL read on this way, a line at a time, from inside their modal loop.
    bool runNextLine();

    std::ostream& out() { return out_; }
    // A line of the transcript (and of the HTML page).
    void print(const std::string& line);
    // A line of the transcript that a picture stands for on the HTML page (dumps).
    void printDetail(const std::string& line) { out_ << line << '\n'; }
    // The HTML page being written, or nothing.
    html::HtmlPage* page() { return page_.get(); }

    sim::SimHost& host() { return *host_; }
    // The store as the script sets it up (never refusing), and as the add-in uses it.
    settings::Settings& settings() { return settings_; }
    ScenarioStore& addinStore() { return addinStore_; }
    scripted::MessageBox& messageBox() { return messageBox_; }
    scripted::ColorChooser& colors() { return colors_; }
    scripted::Locale& locale() { return locale_; }
    scripted::Sound& sound() { return sound_; }
    scripted::Shell& shell() { return shell_; }
    scripted::TempFiles& temp() { return temp_; }
    scripted::RecordingFileSystem& files() { return files_; }
    ui::headless::Toolkit& toolkit() { return toolkit_; }
    addin::Connect* addin() { return connect_.get(); }
    std::shared_ptr<sim::SimAddIn>& addinRecord() { return record_; }
    platform::Services& services() { return services_; }

    // Connect and disconnect the add-in as the host does.
    void connectAddin(const std::string& progId);
    void disconnectAddin();
    bool connected() const;

    // Prints what the user saw or heard as the transcript shows it.
    void observe(const scripted::Event& e);

    // The next message box not yet matched by an "expect message" line.
    const scripted::Event* nextUncheckedMessage();
    // Message boxes shown since the last command that was not a check.
    size_t messagesOfLastCommand() const { return messageBox_.shown().size() - messageMark_; }

    void registerCommand(const std::string& verb, Command command);

    // Told before and after each command, with its verb ("click", "host toggle") and words.
    using CommandObserver =
        std::function<void(const std::string& verb, const std::vector<std::string>& words, bool after)>;
    void setCommandObserver(CommandObserver observer) { commandObserver_ = std::move(observer); }
    // The number of the script line being run.
    int currentLine() const { return script_ ? script_->lastLine() : 0; }
    // Lenient runs: the lines that failed.
    int failedLines() const { return failedLines_; }
    // Whether the add-in speaks Japanese on the system as it is now.
    bool japaneseSystem();
    // What a script's English caption or message is on this system: with --locale, while
    // the system's locale is Japan, its Japanese text from the add-in's table; else itself.
    std::string shownText(const std::string& english);
    // A control by its path, the path's English captions read as shownText reads them.
    sim::ControlNodePtr findByPath(const std::string& path);

private:
    // Runs a line of a lenient run: its failure is counted instead of ending the script.
    void executeLeniently(const ScriptLine& line);

    void execute(const ScriptLine& line);
    int runScript(Script& script);

    std::unique_ptr<html::HtmlPage> page_;
    std::ofstream pageFile_;

    std::ostream& out_;
    Options options_;
    Script* script_ = nullptr;

    // The system's clipboard in --via-com mode, shared by the host and the DLL.
    std::unique_ptr<platform::Clipboard> systemClipboard_;
    std::unique_ptr<sim::SimHost> host_;
    std::unique_ptr<platform::SettingsStore> store_;
    settings::Settings settings_;
    ScenarioStore addinStore_;
    scripted::Locale locale_;
    scripted::MessageBox messageBox_;
    scripted::ColorChooser colors_;
    scripted::Sound sound_;
    std::unique_ptr<platform::Shell> realShell_;
    scripted::Shell shell_;
    std::unique_ptr<platform::TempFiles> realTemp_;
    scripted::TempFiles temp_;
    std::unique_ptr<platform::FileSystem> realFiles_;
    scripted::RecordingFileSystem files_;
    ui::headless::Toolkit toolkit_;
    platform::Services services_;
    std::unique_ptr<addin::Connect> connect_;
    // Disconnected while one of its own click handlers was still running (a window open):
    // kept until the outermost command is over, as the host keeps an object it is calling.
    std::vector<std::unique_ptr<addin::Connect>> retired_;
    std::shared_ptr<sim::SimAddIn> record_;
    size_t checkedMessages_ = 0;
    size_t messageMark_ = 0;
    std::string tempFolder_;
    std::map<std::string, Command> commands_;
    int depth_ = 0;
    CommandObserver commandObserver_;
    int failedLines_ = 0;
#if defined(_WIN32)
    std::unique_ptr<ViaCom> viaCom_;
#endif
};

// Registers the commands of each group.
void registerHostCommands(Session& s);
void registerAddinCommands(Session& s);
void registerCheckCommands(Session& s);
void registerWindowCommands(Session& s);

// "True"/"False" for scripts, and parsing of the same.
bool parseBool(const std::string& word);
int32_t parseColor(const std::string& word);  // "&HFF", "255", "#RRGGBB"

// A clipboard format as scripts name it: a number is the system's format number,
// anything else a registered format's name.
struct ClipboardFormatWord {
    uint32_t number = 0;
    std::string name;
    bool matches(const platform::ClipboardEntry& entry) const;
};
ClipboardFormatWord parseClipboardFormat(const std::string& word);

}  // namespace qm::cli
