// Scripted platform services.
#include "scripted/scripted.h"

#include <cstdio>

namespace qm::scripted {
namespace mb = platform::mb;

std::string resultName(int result) {
    switch (result) {
        case mb::kResultOk: return "OK";
        case mb::kResultCancel: return "Cancel";
        case mb::kResultAbort: return "Abort";
        case mb::kResultRetry: return "Retry";
        case mb::kResultIgnore: return "Ignore";
        case mb::kResultYes: return "Yes";
        case mb::kResultNo: return "No";
        default: return std::to_string(result);
    }
}

std::optional<int> resultFromName(const std::string& name) {
    for (int r = mb::kResultOk; r <= mb::kResultNo; ++r) {
        if (resultName(r) == name) return r;
    }
    return std::nullopt;
}

int defaultResult(int style) {
    switch (style & 0x0F) {
        case 1: return mb::kResultOk;      // OK, Cancel
        case 2: return mb::kResultAbort;   // Abort, Retry, Ignore
        case 3:                            // Yes, No, Cancel
        case 4: return mb::kResultYes;     // Yes, No
        case 5: return mb::kResultRetry;   // Retry, Cancel
        default: return mb::kResultOk;
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

std::string describe(const Event& e) {
    switch (e.kind) {
        case Event::Kind::MessageBox:
            return "[message] " + quoted(e.text) + " style=" + std::to_string(e.style) + " title=" + quoted(e.title) +
                   " -> " + resultName(e.result);
        case Event::Kind::Beep: return "[beep]";
        case Event::Kind::Open: return "[open] " + e.text;
        case Event::Kind::FileWritten: return "[file written] " + e.text;
        case Event::Kind::FileRemoved: return "[file removed] " + e.text;
        case Event::Kind::ColorChooser: {
            if (e.result < 0) return "[colour chooser] -> Cancel";
            char buf[32];
            std::snprintf(buf, sizeof buf, "&H%06X", static_cast<unsigned>(e.result));
            return std::string("[colour chooser] -> ") + buf;
        }
        case Event::Kind::Note: return e.text;
    }
    return e.text;
}

int MessageBox::show(const std::string& text, int style, const std::string& title) {
    int result = defaultResult(style);
    if (!answers_.empty()) {
        result = answers_.front();
        answers_.pop_front();
    }
    Event e{Event::Kind::MessageBox, text, style, title, result};
    shown_.push_back(e);
    if (observer_) observer_(e);
    return result;
}

std::optional<int32_t> ColorChooser::choose(std::optional<int32_t> initial) {
    lastInitial_ = initial;
    std::optional<int32_t> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (observer_) observer_({Event::Kind::ColorChooser, {}, 0, {}, answer ? *answer : -1});
    return answer;
}

void Sound::beep() {
    ++beeps_;
    if (observer_) observer_({Event::Kind::Beep, {}, 0, {}, 0});
}

void Shell::open(const std::string& address) {
    opened_.push_back(address);
    if (observer_) observer_({Event::Kind::Open, address, 0, {}, 0});
    if (real_) real_->open(address);
}

std::string Locale::abbreviatedMonthName(int month) {
    static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (country_ && *country_ == "Japan") return std::to_string(month);
    return month >= 1 && month <= 12 ? kMonths[month - 1] : std::string();
}

void RecordingFileSystem::writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (failWrites_ > 0) {
        --failWrites_;
        throw platform::PlatformError("cannot write " + path + ": simulated failure");
    }
    real_.writeFileReplacing(path, bytes);
    if (observer_) observer_({Event::Kind::FileWritten, path + " (" + std::to_string(bytes.size()) + " bytes)", 0, {}, 0});
}

bool RecordingFileSystem::removeFile(const std::string& path) {
    const bool removed = real_.removeFile(path);
    if (removed && observer_) observer_({Event::Kind::FileRemoved, path, 0, {}, 0});
    return removed;
}

std::optional<std::string> TempFiles::tempFolder() {
    if (failFolder_) return std::nullopt;
    return real_.tempFolder();
}

std::optional<std::string> TempFiles::createTempFile(const std::string& folder, const std::string& prefix) {
    if (failFile_) return std::nullopt;
    return real_.createTempFile(folder, prefix);
}

}  // namespace qm::scripted
