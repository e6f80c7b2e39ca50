// The fault sweep: every run is a fresh session (simulated host, settings, add-in) in this
// process; the run with no fault counts the calls and names each one, the others fail one.
#include "cli/fault_sweep.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <streambuf>
#include <vector>

#include "core/host/constants.h"
#include "core/text/strings.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <stdlib.h>
#endif

namespace qm::cli {
namespace {

// A transcript nobody reads.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// ---------------------------------------------------------------- what the user had

struct BarState {
    std::string name;
    int32_t type = 0;
    bool enabled = true;
    bool visible = false;
    int32_t position = 0;
    int32_t row = 0;
    std::string controls;  // captions, tags and numbers of its controls, menus unfolded

    bool operator==(const BarState&) const = default;
};

struct UserState {
    std::map<std::string, BarState> bars;  // by upper-case name: the host's names ignore case
    std::map<int32_t, bool> aids;          // Select Objects, Snap to Grid, Snap to Shape
    bool formulaBar = true;
    bool fullScreen = false;
    std::string clipboard;
    int64_t handles = 0;
    int64_t subscriptions = 0;
};

constexpr int32_t kAids[] = {host::ctl::kSelectObjects, host::ctl::kSnapToGrid, host::ctl::kSnapToShape};

void describeControls(const sim::BarNode& bar, std::string& out) {
    out += '[';
    for (const auto& c : bar.controls) {
        if (c->deleted) continue;
        out += std::to_string(c->id) + ':' + std::to_string(c->type) + ':' + c->caption + ':' + c->tag;
        if (c->subBar) describeControls(*c->subBar, out);
        out += ';';
    }
    out += ']';
}

BarState barState(const sim::BarNode& bar) {
    BarState b{bar.name, bar.type, bar.enabled, bar.visible, bar.position, bar.rowIndex, {}};
    describeControls(bar, b.controls);
    return b;
}

std::string key(const std::string& name) { return text::upperAscii(name); }

// The clipboard as far as the add-in's formats go: which are there and what they hold.
std::string clipboardState(platform::Clipboard& clip) {
    std::string out;
    for (int32_t format : {platform::cf::kText, platform::cf::kBitmap, platform::cf::kMetafilePict, platform::cf::kDib,
                           platform::cf::kPalette, platform::cf::kEnhMetafile}) {
        try {
            if (!clip.hasFormat(format)) continue;
            out += std::to_string(format) + '=';
            if (format == platform::cf::kText) {
                out += clip.getText(format).value_or("(unreadable)");
            } else if (auto picture = clip.getPicture(format)) {
                out += std::to_string(picture->bytes.size()) + " bytes " +
                       std::to_string(std::hash<std::string>{}(std::string(picture->bytes.begin(), picture->bytes.end())));
            }
            out += "; ";
        } catch (const std::exception& e) {
            out += std::to_string(format) + " unreadable (" + e.what() + "); ";
        }
    }
    return out.empty() ? "empty" : out;
}

UserState userState(Session& s) {
    sim::SimHost& host = s.host();
    UserState u;
    for (const auto& bar : host.bars()) u.bars[key(bar->name)] = barState(*bar);
    for (int32_t id : kAids) u.aids[id] = host.toggle(id);
    u.formulaBar = host.displayFormulaBar();
    u.fullScreen = host.displayFullScreen();
    u.clipboard = clipboardState(host.clipboard());
    u.handles = host.liveHandles();
    u.subscriptions = host.liveSubscriptions();
    return u;
}

// While the add-in is in Draw mode (or failed to leave it), what the user switches is the
// add-in's to put back; outside it, the user's to keep.
bool inDrawMode(Session& s) {
    for (const auto& bar : s.host().bars()) {
        if (bar->type == host::msoBarTypeMenuBar && !bar->enabled) return true;
    }
    return static_cast<bool>(s.host().findBar("QM_MENU"));
}

// The user's state as it must be after the final disconnection: taken before the first
// connection and kept up to date with what the script's user does to the host from then on.
class Expectation {
public:
    explicit Expectation(Session& s) : s_(s) {}

    void observe(const std::string& verb, const std::vector<std::string>& words, bool after) {
        if (!after) {
            if (verb == "connect" && !state_) state_ = userState(s_);
            drawModeBefore_ = state_ && inDrawMode(s_);
            return;
        }
        if (!state_) return;
        const bool outsideDrawMode = !drawModeBefore_ && !inDrawMode(s_);
        sim::SimHost& host = s_.host();
        if (verb == "host toggle" && words.size() > 2 && outsideDrawMode) {
            const int32_t id = std::atoi(words[2].c_str());
            if (state_->aids.count(id)) state_->aids[id] = host.toggle(id);
        } else if (verb == "draw" && outsideDrawMode) {
            state_->aids[host::ctl::kSelectObjects] = host.toggle(host::ctl::kSelectObjects);
        } else if (verb == "host formula-bar" && outsideDrawMode) {
            state_->formulaBar = host.displayFormulaBar();
        } else if (verb == "host full-screen" && outsideDrawMode) {
            state_->fullScreen = host.displayFullScreen();
        } else if (verb == "clipboard" || (verb == "window key" && words.size() > 2 && text::equalsIgnoreCase(words[2], "Ctrl+C"))) {
            // What the user places there, also by copying in one of the add-in's windows.
            state_->clipboard = clipboardState(host.clipboard());
        } else if (verb == "bar" && words.size() > 2) {
            // The user's own bars: those there before the connection and those the user adds.
            if (words[1] == "add") {
                update(words[2]);
            } else if (words[1] == "remove") {
                if (state_->bars.erase(key(words[2]))) update(words[2]);
            } else if (words[1] == "rename" && words.size() > 3) {
                if (state_->bars.erase(key(words[2]))) update(words[3]);
            } else if (state_->bars.count(key(words[1]))) {
                update(words[1]);
            }
        }
    }

    const std::optional<UserState>& state() const { return state_; }

private:
    void update(const std::string& name) {
        if (auto bar = s_.host().findBar(name)) {
            state_->bars[key(name)] = barState(*bar);
        } else {
            state_->bars.erase(key(name));
        }
    }

    Session& s_;
    std::optional<UserState> state_;
    bool drawModeBefore_ = false;
};

// ---------------------------------------------------------------- temporary files

std::set<std::string> temporaryFiles(const std::string& folder) {
    std::set<std::string> names;
    if (folder.empty()) return names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (text::startsWith(text::upperAscii(name), "NVK")) names.insert(name);
    }
    return names;
}

// ---------------------------------------------------------------- checks after a run

std::string word(bool b) { return b ? "on" : "off"; }

std::string barText(const BarState& b) {
    return "visible " + std::string(b.visible ? "True" : "False") + ", position " + std::to_string(b.position) +
           ", row " + std::to_string(b.row);
}

std::vector<std::string> brokenInvariants(Session& s, const UserState& before, const std::set<std::string>& tempBefore,
                                          const std::string& tempFolder) {
    std::vector<std::string> broken;
    sim::SimHost& host = s.host();
    for (const std::string& e : host.handlerEscapes()) broken.push_back("an exception came out of the add-in's " + e);
    if (s.connected()) broken.push_back("the add-in is still connected after its disconnection");
    if (!host.screenUpdating()) broken.push_back("screen updating is off");
    const UserState now = userState(s);
    std::vector<std::string> disabled;
    for (const auto& [name, bar] : now.bars) {
        const auto was = before.bars.find(name);
        const bool type01 = bar.type == host::msoBarTypeNormal || bar.type == host::msoBarTypeMenuBar;
        if (type01 && !bar.enabled && (was == before.bars.end() || was->second.enabled)) {
            disabled.push_back("\"" + bar.name + "\"");
        }
        if (was == before.bars.end()) broken.push_back("the bar \"" + bar.name + "\" was left behind");
    }
    if (!disabled.empty()) {
        const size_t shown = std::min<size_t>(disabled.size(), 4);
        std::string names = text::join(std::vector<std::string>(disabled.begin(), disabled.begin() + shown), ", ");
        if (disabled.size() > shown) names += " and " + std::to_string(disabled.size() - shown) + " more";
        broken.push_back((disabled.size() == 1 ? "the bar " : "the bars ") + names + " disabled");
    }
    for (const auto& [name, was] : before.bars) {
        const auto it = now.bars.find(name);
        if (it == now.bars.end()) {
            broken.push_back("the user's bar \"" + was.name + "\" is gone");
        } else if (it->second.visible != was.visible || it->second.position != was.position ||
                   it->second.row != was.row) {
            broken.push_back("the bar \"" + was.name + "\": " + barText(it->second) + ", was " + barText(was));
        } else if (it->second.controls != was.controls) {
            broken.push_back("the controls of the bar \"" + was.name + "\" changed");
        }
    }
    static const std::map<int32_t, const char*> kAidNames = {{host::ctl::kSelectObjects, "Select Objects"},
                                                             {host::ctl::kSnapToGrid, "Snap to Grid"},
                                                             {host::ctl::kSnapToShape, "Snap to Shape"}};
    for (int32_t id : kAids) {
        if (now.aids.at(id) != before.aids.at(id)) {
            broken.push_back(std::string(kAidNames.at(id)) + " is " + word(now.aids.at(id)) + ", was " +
                             word(before.aids.at(id)));
        }
    }
    if (now.formulaBar != before.formulaBar) {
        broken.push_back("the formula bar is " + word(now.formulaBar) + ", was " + word(before.formulaBar));
    }
    if (now.fullScreen != before.fullScreen) {
        broken.push_back("full screen is " + word(now.fullScreen) + ", was " + word(before.fullScreen));
    }
    if (now.clipboard != before.clipboard) {
        broken.push_back("the clipboard holds " + now.clipboard + ", held " + before.clipboard);
    }
    if (now.handles != before.handles) {
        broken.push_back(std::to_string(now.handles - before.handles) + " host objects still held");
    }
    if (now.subscriptions != before.subscriptions) {
        broken.push_back(std::to_string(now.subscriptions - before.subscriptions) + " host events still subscribed");
    }
    for (const std::string& name : temporaryFiles(tempFolder)) {
        if (!tempBefore.count(name)) broken.push_back("the temporary file " + name + " was left");
    }
    return broken;
}

}  // namespace

struct AfterRunCheck::Impl {
    Impl(Session& s, std::string folder)
        : session(s), expectation(s), tempFolder(std::move(folder)), tempBefore(temporaryFiles(tempFolder)) {}
    Session& session;
    Expectation expectation;
    std::string tempFolder;
    std::set<std::string> tempBefore;
};

AfterRunCheck::AfterRunCheck(Session& session, std::string tempFolder)
    : impl_(std::make_unique<Impl>(session, std::move(tempFolder))) {
    session.setCommandObserver([this](const std::string& verb, const std::vector<std::string>& words, bool after) {
        impl_->expectation.observe(verb, words, after);
    });
}

AfterRunCheck::~AfterRunCheck() { impl_->session.setCommandObserver(nullptr); }

std::vector<std::string> AfterRunCheck::broken() {
    const auto& before = impl_->expectation.state();
    if (!before) return {};
    return brokenInvariants(impl_->session, *before, impl_->tempBefore, impl_->tempFolder);
}

namespace {

// ---------------------------------------------------------------- one run

// The call being failed, for a crash report.
volatile std::sig_atomic_t gCrashPointLow = 0;
const char* gCrashScript = "";

extern "C" void reportCrash(int signal) {
    std::fprintf(stderr, "\nfault sweep of %s: crashed (signal %d) with call %ld failing\n", gCrashScript, signal,
                 static_cast<long>(gCrashPointLow));
    std::fflush(stderr);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

struct Call {
    std::string member;
    int line = 0;
};

struct RunResult {
    int exitCode = 0;
    std::vector<std::string> broken;
    int64_t calls = 0;
};

RunResult runOnce(const std::string& scriptText, const std::string& scriptName, Options options,
                  std::optional<int64_t> point, std::vector<Call>* calls, const std::string& tempFolder) {
    NullBuffer nothing;
    std::ostream transcript(&nothing);
    options.lenient = point.has_value();
    options.htmlFile.clear();  // thousands of runs: none of them is a page to read
    RunResult result;
    Session session(transcript, options);
    AfterRunCheck check(session, tempFolder);
    if (calls) {
        session.host().setCallObserver([&](const std::string& member) { calls->push_back({member, session.currentLine()}); });
    }
    if (point) session.host().armFaultPoint(*point);
    Script script = Script::fromText(scriptText, scriptName);
    result.exitCode = session.run(script);
    if (session.connected()) {
        try {
            session.disconnectAddin();
        } catch (const std::exception& e) {
            result.broken.push_back(std::string("the disconnection failed: ") + e.what());
        } catch (const ScriptAbort& e) {
            result.broken.push_back("the disconnection failed: " + e.message());
        }
    }
    result.calls = session.host().calls();
    const std::vector<std::string> broken = check.broken();
    result.broken.insert(result.broken.end(), broken.begin(), broken.end());
    return result;
}

// A folder of the sweep's own, where its runs write their files (pictures saved, pages
// written) and make their temporary files, so that a file one run leaves is seen by the
// checks and nothing of another program is: the working folder and the temporary folder
// point there while the sweep runs.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("quillmark-sweep-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))),
          home_(std::filesystem::current_path()) {
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
        for (const char* name : kTempVariables) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            setVariable(name, path_.string());
        }
    }
    ~ScratchFolder() {
        for (const auto& [name, value] : saved_) setVariable(name, value);
        std::error_code ec;
        std::filesystem::current_path(home_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
#if defined(_WIN32)
    static constexpr const char* kTempVariables[] = {"TMP", "TEMP"};
    static void setVariable(const char* name, const std::optional<std::string>& value) {
        ::SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
    }
#else
    static constexpr const char* kTempVariables[] = {"TMPDIR"};
    static void setVariable(const char* name, const std::optional<std::string>& value) {
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
#endif
    std::filesystem::path path_;
    std::filesystem::path home_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

std::vector<int64_t> chosenPoints(int64_t calls, const SweepOptions& o, std::string& how) {
    std::vector<int64_t> points;
    const int64_t step = std::max<int64_t>(1, o.step);
    if (calls <= o.everyCallUpTo) {
        for (int64_t n = 1; n <= calls; n += step) points.push_back(n);
        how = step == 1 ? "every call" : "every " + std::to_string(step) + "th call";
    } else {
        for (int64_t i = 0; i < o.spreadPoints; i += step) points.push_back(1 + i * calls / o.spreadPoints);
        how = "spread evenly";
    }
    return points;
}

std::string scriptLine(const std::string& scriptText, int number) {
    std::istringstream in(scriptText);
    std::string line;
    for (int i = 1; std::getline(in, line); ++i) {
        if (i == number) return text::trim(line);
    }
    return {};
}

}  // namespace

int runFaultSweep(const std::string& scriptText, const std::string& scriptName, const SweepOptions& options,
                  std::ostream& out) {
    const auto started = std::chrono::steady_clock::now();
    gCrashScript = scriptName.c_str();
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL}) std::signal(sig, reportCrash);

    const ScratchFolder scratch;
    std::string tempFolder;
    {
        NullBuffer nothing;
        std::ostream transcript(&nothing);
        Session probe(transcript, options.session);
        tempFolder = probe.temp().tempFolder().value_or("");
    }

    std::vector<Call> calls;
    const RunResult plain = runOnce(scriptText, scriptName, options.session, std::nullopt, &calls, tempFolder);
    if (plain.exitCode != 0) {
        out << "fault sweep of " << scriptName << ": the script fails without any fault (exit " << plain.exitCode
            << "); run it with quillmark to see why\n";
        return 2;
    }
    if (!plain.broken.empty()) {
        out << "fault sweep of " << scriptName << ": without any fault, after the final disconnection:\n";
        for (const std::string& b : plain.broken) out << "  " << b << "\n";
        return 1;
    }

    std::string how;
    const std::vector<int64_t> points = chosenPoints(plain.calls, options, how);
    int64_t failed = 0;
    std::vector<std::string> shown;
    for (int64_t n : points) {
        gCrashPointLow = static_cast<std::sig_atomic_t>(n);
        const RunResult r = runOnce(scriptText, scriptName, options.session, n, nullptr, tempFolder);
        if (r.broken.empty()) continue;
        if (++failed > static_cast<int64_t>(options.failuresShown)) continue;
        const Call& c = calls[static_cast<size_t>(n - 1)];
        std::string text = "  call " + std::to_string(n) + " failing (" + c.member + ", line " + std::to_string(c.line) +
                           ": " + scriptLine(scriptText, c.line) + "):";
        for (const std::string& b : r.broken) text += "\n    " + b;
        shown.push_back(text);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const int64_t tried = static_cast<int64_t>(points.size());
    out << "fault sweep of " << scriptName << ": " << plain.calls << " host calls; " << tried << " points tried ("
        << how << "), " << tried - failed << " survived, " << failed << " failed ("
        << static_cast<int64_t>(seconds * 10) / 10.0 << " s)\n";
    for (const std::string& f : shown) out << f << "\n";
    if (failed > static_cast<int64_t>(shown.size())) out << "  (" << failed - static_cast<int64_t>(shown.size()) << " more)\n";
    return failed == 0 ? 0 : 1;
}

}  // namespace qm::cli
