// Script reading and argument parsing.
#include "cli/script.h"

#include <cstdlib>

#include "core/text/strings.h"

namespace qm::cli {

std::vector<std::string> tokenize(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        if (line[i] == '#') break;
        std::string word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    char e = line[i++];
                    switch (e) {
                        case 'n': word += '\n'; break;
                        case 'r': word += '\r'; break;
                        case 't': word += '\t'; break;
                        default: word += e;
                    }
                    continue;
                }
                word += c;
            }
            if (!closed) throw ScriptError("unterminated quoted text");
        }
        words.push_back(std::move(word));
    }
    return words;
}

void Args::markUsed(size_t i) {
    if (used_.size() <= i) used_.resize(i + 1, false);
    used_[i] = true;
}

std::optional<std::string> Args::nextIf() {
    while (next_ < words_.size() && isUsed(next_)) ++next_;
    if (next_ >= words_.size()) return std::nullopt;
    markUsed(next_);
    return words_[next_++];
}

std::string Args::next(const std::string& what) {
    auto w = nextIf();
    if (!w) throw ScriptError("missing " + what);
    return *w;
}

bool Args::accept(const std::string& word) {
    size_t i = next_;
    while (i < words_.size() && isUsed(i)) ++i;
    if (i < words_.size() && text::equalsIgnoreCase(words_[i], word)) {
        markUsed(i);
        next_ = i + 1;
        return true;
    }
    return false;
}

double Args::nextNumber(const std::string& what) {
    const std::string w = next(what);
    char* end = nullptr;
    const double v = std::strtod(w.c_str(), &end);
    if (w.empty() || *end) throw ScriptError(what + " must be a number, found \"" + w + "\"");
    return v;
}

int Args::nextInt(const std::string& what) {
    const std::string w = next(what);
    char* end = nullptr;
    const long v = std::strtol(w.c_str(), &end, 10);
    if (w.empty() || *end) throw ScriptError(what + " must be a whole number, found \"" + w + "\"");
    return static_cast<int>(v);
}

std::string Args::rest(const std::string& what) {
    std::vector<std::string> parts;
    while (auto w = nextIf()) parts.push_back(*w);
    if (parts.empty()) throw ScriptError("missing " + what);
    return text::join(parts, " ");
}

std::optional<std::string> Args::option(const std::string& key) {
    for (size_t i = next_; i < words_.size(); ++i) {
        if (isUsed(i)) continue;
        const std::string& w = words_[i];
        if (w.size() > key.size() && w[key.size()] == '=' && text::equalsIgnoreCase(w.substr(0, key.size()), key)) {
            markUsed(i);
            return w.substr(key.size() + 1);
        }
    }
    return std::nullopt;
}

bool Args::flag(const std::string& word) {
    for (size_t i = next_; i < words_.size(); ++i) {
        if (!isUsed(i) && text::equalsIgnoreCase(words_[i], word)) {
            markUsed(i);
            return true;
        }
    }
    return false;
}

void Args::done() {
    for (size_t i = next_; i < words_.size(); ++i) {
        if (!isUsed(i)) throw ScriptError("unexpected \"" + words_[i] + "\"");
    }
}

Script Script::fromText(const std::string& text, const std::string& name) {
    Script s;
    s.name_ = name;
    int number = 0;
    for (const std::string& raw : text::split(text, '\n')) {
        ++number;
        std::string t = raw;
        if (!t.empty() && t.back() == '\r') t.pop_back();
        s.lines_.push_back({number, t});
    }
    return s;
}

}  // namespace qm::cli
