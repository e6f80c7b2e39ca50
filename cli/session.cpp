// The scenario session: wiring the simulated host, the scripted OS and the add-in, and
// running script lines.
#include "cli/session.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "cli/html_page.h"
#include "cli/html_window.h"
#include "cli/script_language.h"
#include "core/host/error.h"
#include "core/text/strings.h"
#include "core/text/text.h"

#if defined(_WIN32)
#include "cli/via_com.h"
#include "win32/clipboard.h"
#include "win32/files.h"
#include "win32/settings_registry.h"
#include "win32/shell.h"
#else
#include "posix/files.h"
#include "posix/settings_store.h"
#include "posix/shell.h"
#endif

namespace qm::cli {
namespace {

#if defined(_WIN32)
using NativeTempFiles = win32::Win32TempFiles;
using NativeFileSystem = win32::Win32FileSystem;
using NativeShell = win32::Win32Shell;
std::unique_ptr<platform::SettingsStore> fileStore(const std::string& path) {
    if (path == "user") return std::make_unique<win32::RegistrySettingsStore>();
    throw ScriptError("on Windows the settings live in the registry: use --settings user");
}
#else
using NativeTempFiles = posix::PosixTempFiles;
using NativeFileSystem = posix::PosixFileSystem;
using NativeShell = posix::PosixShell;
std::unique_ptr<platform::SettingsStore> fileStore(const std::string& path) {
    if (path == "user") return std::make_unique<posix::PosixSettingsStore>();
    return std::make_unique<posix::PosixSettingsStore>(path);
}
#endif

std::unique_ptr<platform::SettingsStore> makeStore(const Options& options) {
#if defined(_WIN32)
    // The DLL keeps its settings in the registry: the scenario's must be the same ones.
    if (options.viaCom) return std::make_unique<win32::RegistrySettingsStore>();
#endif
    if (options.settingsFile.empty()) return std::make_unique<settings::MemoryStore>();
    return fileStore(options.settingsFile);
}

// With the real DLL, the host's clipboard is the system's, where the DLL puts and reads.
std::unique_ptr<platform::Clipboard> systemClipboard(const Options& options) {
#if defined(_WIN32)
    if (options.viaCom) return std::make_unique<win32::Win32Clipboard>();
#else
    if (options.viaCom) throw ScriptAbort("--via-com drives the add-in DLL: it needs the Windows build of quillmark");
#endif
    return nullptr;
}

}  // namespace

void ScenarioStore::write(const std::string& app, const std::string& section, const std::string& key,
                          const std::string& value) {
    if (refusing_) {
#if defined(_WIN32)
        throw win32::RegistrySettingsStore::writeFailure(app, section, key, ERROR_ACCESS_DENIED);
#else
        // The words of the registry's refusal as the Windows build shows them.
        throw platform::PlatformError("cannot save the setting HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\" +
                                      app + "\\" + section + "\\" + key + ": Access denied. (5)");
#endif
    }
    inner_.write(app, section, key, value);
}

Session::Session(std::ostream& out, Options options)
    : out_(out),
      options_(std::move(options)),
      systemClipboard_(systemClipboard(options_)),
      host_(systemClipboard_ ? std::make_unique<sim::SimHost>(*systemClipboard_) : std::make_unique<sim::SimHost>()),
      store_(makeStore(options_)),
      settings_(*store_),
      addinStore_(*store_),
      messageBox_([this](const scripted::Event& e) { observe(e); }),
      colors_([this](const scripted::Event& e) { observe(e); }),
      sound_([this](const scripted::Event& e) { observe(e); }),
      realShell_(options_.openBrowser ? std::make_unique<NativeShell>() : nullptr),
      shell_([this](const scripted::Event& e) { observe(e); }, realShell_.get()),
      realTemp_(std::make_unique<NativeTempFiles>()),
      temp_(*realTemp_),
      realFiles_(std::make_unique<NativeFileSystem>()),
      files_([this](const scripted::Event& e) { observe(e); }, *realFiles_),
      toolkit_([this](ui::headless::Form& form) {
          runWhile([&form] { return form.loaded(); });
          // A lenient run's script ended with the window open: the user closes it.
          if (options_.lenient && form.loaded() && !form.userClose()) form.unload();
      }),
      services_{addinStore_, locale_, temp_, files_, shell_, sound_, messageBox_, colors_, host_->clipboard(),
                host_->windowFinder()} {
    if (auto folder = realTemp_->tempFolder()) tempFolder_ = *folder;
    registerHostCommands(*this);
    registerAddinCommands(*this);
    registerCheckCommands(*this);
    registerWindowCommands(*this);
    if (options_.locale) {
        locale_.setCountry(text::equalsIgnoreCase(*options_.locale, "none") ? std::nullopt : options_.locale);
    }
    if (!options_.htmlFile.empty()) {
        // Opened now, so that a page that cannot be written stops the run before it starts.
        pageFile_.open(options_.htmlFile, std::ios::binary | std::ios::trunc);
        if (!pageFile_) throw ScriptAbort("cannot write " + options_.htmlFile);
        const std::string script = options_.scriptName.substr(options_.scriptName.find_last_of("/\\") + 1);
        std::string about = "Script " + script + ", run by quillmark against the simulated Excel";
        if (options_.locale) about += ", system locale " + *options_.locale;
        page_ = std::make_unique<html::HtmlPage>(about, [this](const std::string& path) { return files_.readFile(path); });
    }
    if (!options_.viaCom) return;
#if defined(_WIN32)
    // The add-in is the DLL: the window commands act on its real windows instead.
    viaCom_ = std::make_unique<ViaCom>(*this, options_.addinDll);
#endif
}

Session::~Session() {
    // The add-in lets go of the host before the host goes.
#if defined(_WIN32)
    viaCom_.reset();
#endif
    if (connect_) connect_->onDisconnection();
    connect_.reset();
}

void Session::registerCommand(const std::string& verb, Command command) { commands_[verb] = std::move(command); }

void Session::print(const std::string& line) {
    out_ << line << '\n';
    if (page_) page_->line(line);
}

bool Session::japaneseSystem() { return text::languageBaseFor(text::getOSLanguage(locale_)) == text::kJapaneseBase; }

std::string Session::shownText(const std::string& english) {
    if (!options_.locale || !japaneseSystem()) return english;
    return japaneseTextOf(english).value_or(english);
}

sim::ControlNodePtr Session::findByPath(const std::string& path) {
    auto node = host_->findByPath(path);
    if (!node && options_.locale && japaneseSystem()) node = host_->findByPath(japanesePath(path));
    return node;
}

void Session::observe(const scripted::Event& e) {
    scripted::Event shown = e;
    // Temporary files get names of the system's choosing; the transcript shows where they
    // are and their prefix, so that every run prints the same.
    if ((e.kind == scripted::Event::Kind::FileWritten || e.kind == scripted::Event::Kind::FileRemoved) &&
        !tempFolder_.empty() && text::startsWith(e.text, tempFolder_)) {
        std::string rest = e.text.substr(tempFolder_.size());
        // Spelled ".TMP" whatever the system's case (Wine writes ".tmp").
        const size_t dot = text::upperAscii(rest).find(".TMP");
        if (dot != std::string::npos && dot >= 3) rest = rest.substr(0, 3) + "####.TMP" + rest.substr(dot + 4);
        shown.text = "%TEMP%/" + rest;
    }
    print("  " + scripted::describe(shown));
    if (!page_) return;
    if (e.kind == scripted::Event::Kind::MessageBox) page_->picture(html::messageBoxPicture(e, japaneseSystem()));
    // "path (N bytes)": shown after the command when it is a picture still there (the
    // add-in's temporary files are gone by then).
    if (e.kind == scripted::Event::Kind::FileWritten) {
        page_->fileWritten(e.text.substr(0, e.text.rfind(" (")));
    }
}

const scripted::Event* Session::nextUncheckedMessage() {
    if (checkedMessages_ >= messageBox_.shown().size()) return nullptr;
    return &messageBox_.shown()[checkedMessages_++];
}

void Session::connectAddin(const std::string& progId) {
#if defined(_WIN32)
    if (viaCom_) return viaCom_->connect(progId);
#endif
    if (connect_) throw ScriptError("the add-in is already connected");
    record_ = host_->addAddIn(progId);
    connect_ = std::make_unique<addin::Connect>(services_, toolkit_);
    try {
        connect_->onConnection(host_->application(), *record_);
    } catch (const host::HostError& e) {
        print("  [connection failed] " + host::errorMessageText(e));
        record_->setConnected(false);
    }
    if (!record_->connected()) {
        // The host drops an add-in that did not connect, calling its disconnection.
        connect_->onDisconnection();
        connect_.reset();
        print("  [add-in not loaded]");
    }
}

void Session::disconnectAddin() {
#if defined(_WIN32)
    if (viaCom_) return viaCom_->disconnect();
#endif
    if (!connect_) throw ScriptError("the add-in is not connected");
    connect_->onDisconnection();
    retired_.push_back(std::move(connect_));
    record_->setConnected(false);
    if (depth_ == 0) retired_.clear();
}

bool Session::connected() const {
#if defined(_WIN32)
    if (viaCom_) return viaCom_->connected();
#endif
    return connect_ != nullptr;
}

void Session::execute(const ScriptLine& line) {
    const std::string trimmed = text::trim(line.text);
    if (trimmed.empty()) return;
    if (trimmed[0] == '#') {
        print(trimmed);
        return;
    }
    print("> " + trimmed);
    std::vector<std::string> words = tokenize(trimmed);
    if (words.empty()) return;
    // Two-word verbs first ("expect bar"), then one word.
    auto it = words.size() > 1 ? commands_.find(words[0] + " " + words[1]) : commands_.end();
    size_t first = 2;
    if (it == commands_.end()) {
        it = commands_.find(words[0]);
        first = 1;
    }
    if (it == commands_.end()) throw ScriptError("unknown command \"" + words[0] + "\"");
    const bool check = words[0] == "expect";
    if (!check) messageMark_ = messageBox_.shown().size();
    const std::string& verb = it->first;
    std::vector<std::string> observed;
    if (commandObserver_) {
        observed = words;
        commandObserver_(verb, observed, false);
    }
    Args args(std::move(words), first);
    {
        // What the scenario itself reads of the host through handles is no part of what
        // the add-in did: not counted, never failed.
        std::optional<sim::SimHost::Unaccounted> unaccounted;
        if (check || verb == "dump" || verb == "bar") unaccounted.emplace(*host_);
        it->second(*this, args);
    }
    if (commandObserver_) commandObserver_(verb, observed, true);
    if (depth_ == 0) retired_.clear();
#if defined(_WIN32)
    // Whatever the DLL showed during the command has been answered and recorded.
    if (viaCom_) viaCom_->settle();
#endif
}

void Session::executeLeniently(const ScriptLine& line) {
    try {
        execute(line);
    } catch (const ScriptAbort&) {
        // The run went another way than the script expects: its next lines may still fit.
        ++failedLines_;
    } catch (const std::exception&) {
        ++failedLines_;
    }
}

void Session::runWhile(const std::function<bool()>& keepGoing) {
    if (!script_) return;
    ++depth_;
    while (keepGoing() && !script_->atEnd()) {
        if (options_.lenient) {
            executeLeniently(script_->take());
        } else {
            execute(script_->take());
        }
    }
    --depth_;
    if (keepGoing() && script_->atEnd() && !options_.lenient) {
        throw ScriptError("the script ended while a window was still open");
    }
}

bool Session::runNextLine() {
    if (!script_ || script_->atEnd()) return false;
    ++depth_;
    try {
        if (options_.lenient) {
            executeLeniently(script_->take());
        } else {
            execute(script_->take());
        }
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
    return true;
}

int Session::run(Script& script) {
    const int status = runScript(script);
    if (!page_) return status;
    pageFile_ << page_->html(status);
    pageFile_.close();
    if (!pageFile_) {
        std::cerr << "quillmark: cannot write " << options_.htmlFile << "\n";
        return std::max(status, 2);
    }
    return status;
}

int Session::runScript(Script& script) {
    script_ = &script;
    if (options_.lenient) {
        while (!script.atEnd()) executeLeniently(script.take());
        return 0;
    }
    try {
        while (!script.atEnd()) execute(script.take());
    } catch (const CheckFailed& e) {
        // The line that failed is the last one read: windows read on inside a command.
        out_.flush();
        std::cerr << script.name() << ":" << script.lastLine() << ": check failed: " << e.message() << "\n  expected: "
                  << e.expected << "\n  found:    " << e.found << "\n";
        if (page_) page_->stopped(script.lastLine(), "check failed: " + e.message(), e.expected, e.found);
        return 1;
    } catch (const ScriptError& e) {
        std::cerr << script.name() << ":" << script.lastLine() << ": " << e.message() << "\n";
        if (page_) page_->stopped(script.lastLine(), e.message());
        return 2;
    } catch (const host::HostError& e) {
        std::cerr << script.name() << ":" << script.lastLine() << ": host error " << host::errorMessageText(e) << "\n";
        if (page_) page_->stopped(script.lastLine(), "host error " + host::errorMessageText(e));
        return 2;
    }
    return 0;
}

bool parseBool(const std::string& word) {
    const std::string w = text::upperAscii(word);
    if (w == "TRUE" || w == "ON" || w == "YES" || w == "1") return true;
    if (w == "FALSE" || w == "OFF" || w == "NO" || w == "0") return false;
    throw ScriptError("expected True or False, found \"" + word + "\"");
}

int32_t parseColor(const std::string& word) {
    char* end = nullptr;
    if (text::startsWith(text::upperAscii(word), "&H")) {
        const long v = std::strtol(word.c_str() + 2, &end, 16);
        if (*end || word.size() == 2) throw ScriptError("bad colour \"" + word + "\"");
        return static_cast<int32_t>(v);
    }
    const long v = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end) throw ScriptError("bad colour \"" + word + "\"");
    return static_cast<int32_t>(v);
}

ClipboardFormatWord parseClipboardFormat(const std::string& word) {
    if (word.empty()) throw ScriptError("a clipboard format number or name");
    if (word.find_first_not_of("0123456789") != std::string::npos) return {0, word};
    const unsigned long number = std::strtoul(word.c_str(), nullptr, 10);
    if (number == 0 || number > 0xFFFF) throw ScriptError("no clipboard format " + word);
    return {static_cast<uint32_t>(number), {}};
}

bool ClipboardFormatWord::matches(const platform::ClipboardEntry& entry) const {
    // Registered names are the same whatever their case, as the system compares them.
    return name.empty() ? entry.format == number : text::equalsIgnoreCase(entry.name, name);
}

}  // namespace qm::cli
