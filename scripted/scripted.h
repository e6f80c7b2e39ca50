// Scripted platform services: the operating system as tests and the scenario runner drive
// it. Message boxes and the colour chooser return queued answers; everything the user
// would see or hear (message boxes, beeps, web pages opened, files written) is reported to
// one observer, which the runner prints as its transcript.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/platform.h"

namespace qm::scripted {

// One thing the user saw or heard.
struct Event {
    enum class Kind { MessageBox, Beep, Open, FileWritten, FileRemoved, ColorChooser, Note };
    Kind kind = Kind::Note;
    std::string text;    // message text, address, path, note
    int style = 0;       // message boxes
    std::string title;   // message boxes
    int result = 0;      // the button pressed; the colour chosen (or -1 for Cancel)
};

using Observer = std::function<void(const Event&)>;

// Readable names of message box results and back ("OK", "Cancel", "Yes" ...).
std::string resultName(int result);
std::optional<int> resultFromName(const std::string& name);
// The button a message box of this style answers with when no answer is queued: its
// default (first) button.
int defaultResult(int style);
// One line describing an event, as the transcript prints it.
std::string describe(const Event& e);
// Text with CR, LF, tab, quotes and backslashes escaped, inside double quotes.
std::string quoted(const std::string& text);

class MessageBox : public platform::MessageBox {
public:
    explicit MessageBox(Observer observer) : observer_(std::move(observer)) {}
    int show(const std::string& text, int style, const std::string& title) override;
    void queue(int result) { answers_.push_back(result); }
    size_t pendingAnswers() const { return answers_.size(); }
    // Every box shown, oldest first.
    const std::vector<Event>& shown() const { return shown_; }

private:
    Observer observer_;
    std::deque<int> answers_;
    std::vector<Event> shown_;
};

class ColorChooser : public platform::ColorChooser {
public:
    explicit ColorChooser(Observer observer) : observer_(std::move(observer)) {}
    std::optional<int32_t> choose(std::optional<int32_t> initial) override;
    // A colour to choose, or nothing for Cancel.
    void queue(std::optional<int32_t> answer) { answers_.push_back(answer); }
    std::optional<int32_t> lastInitial() const { return lastInitial_; }

private:
    Observer observer_;
    std::deque<std::optional<int32_t>> answers_;
    std::optional<int32_t> lastInitial_;
};

class Sound : public platform::Sound {
public:
    explicit Sound(Observer observer) : observer_(std::move(observer)) {}
    void beep() override;
    int beeps() const { return beeps_; }

private:
    Observer observer_;
    int beeps_ = 0;
};

// Records addresses and, when given a real shell, passes them on.
class Shell : public platform::Shell {
public:
    Shell(Observer observer, platform::Shell* real = nullptr) : observer_(std::move(observer)), real_(real) {}
    void open(const std::string& address) override;
    const std::vector<std::string>& opened() const { return opened_; }

private:
    Observer observer_;
    platform::Shell* real_;
    std::vector<std::string> opened_;
};

class Locale : public platform::Locale {
public:
    std::optional<std::string> userCountryName() override { return country_; }
    std::string abbreviatedMonthName(int month) override;
    void setCountry(std::optional<std::string> country) { country_ = std::move(country); }

private:
    std::optional<std::string> country_ = "United States";
};

// Reports every file written or removed through a real file system.
class RecordingFileSystem : public platform::FileSystem {
public:
    RecordingFileSystem(Observer observer, platform::FileSystem& real) : observer_(std::move(observer)), real_(real) {}
    void writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) override;
    std::optional<std::vector<uint8_t>> readFile(const std::string& path) override { return real_.readFile(path); }
    bool removeFile(const std::string& path) override;
    bool exists(const std::string& path) override { return real_.exists(path); }
    // Tests make the next writes fail.
    void failWrites(int count) { failWrites_ = count; }

private:
    Observer observer_;
    platform::FileSystem& real_;
    int failWrites_ = 0;
};

// Temporary files through a real service, or failing on demand.
class TempFiles : public platform::TempFiles {
public:
    explicit TempFiles(platform::TempFiles& real) : real_(real) {}
    std::optional<std::string> tempFolder() override;
    std::optional<std::string> createTempFile(const std::string& folder, const std::string& prefix) override;
    void setFailing(bool folder, bool file) {
        failFolder_ = folder;
        failFile_ = file;
    }

private:
    platform::TempFiles& real_;
    bool failFolder_ = false;
    bool failFile_ = false;
};

}  // namespace qm::scripted
