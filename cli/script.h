// Scenario scripts: lines of words, read one command at a time by the runner (and by the
// modal windows it drives, which read on until they close).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qm::cli {

// Ends a scenario run. Deliberately not a std::exception: it passes through the add-in's
// own error handling (which reports host and system failures to the user) up to the runner,
// also from a check made inside a window that a click opened.
class ScriptAbort {
public:
    explicit ScriptAbort(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// A malformed line: unknown command, missing or bad argument.
class ScriptError : public ScriptAbort {
public:
    using ScriptAbort::ScriptAbort;
};

// A check that did not hold.
class CheckFailed : public ScriptAbort {
public:
    CheckFailed(const std::string& what, std::string expected, std::string found)
        : ScriptAbort(what), expected(std::move(expected)), found(std::move(found)) {}
    std::string expected;
    std::string found;
};

// Splits a line into words: blanks separate; "double quoted" words may hold blanks and the
// escapes \" \\ \n \r \t; key="quoted value" keeps its key. A "#" outside quotes at the
// start of a word begins a comment.
std::vector<std::string> tokenize(const std::string& line);

// The words of one command after its verb.
class Args {
public:
    Args(std::vector<std::string> words, size_t first) : words_(std::move(words)), next_(first) {}

    // The next positional word; ScriptError naming `what` when there is none.
    std::string next(const std::string& what);
    std::optional<std::string> nextIf();
    // The next word must be `word` (case-insensitive); consumed when it is.
    bool accept(const std::string& word);
    double nextNumber(const std::string& what);
    int nextInt(const std::string& what);
    // All remaining positional words joined by blanks.
    std::string rest(const std::string& what);
    // key=value options anywhere among the remaining words.
    std::optional<std::string> option(const std::string& key);
    bool flag(const std::string& word);  // a bare word anywhere among the remaining ones
    // Nothing may be left unused.
    void done();

private:
    std::vector<std::string> words_;
    size_t next_;
    std::vector<bool> used_;
    void markUsed(size_t i);
    bool isUsed(size_t i) const { return i < used_.size() && used_[i]; }
};

struct ScriptLine {
    int number = 0;
    std::string text;
};

class Script {
public:
    static Script fromText(const std::string& text, const std::string& name);
    const std::string& name() const { return name_; }
    bool atEnd() const { return next_ >= lines_.size(); }
    const ScriptLine& take() {
        last_ = lines_[next_].number;
        return lines_[next_++];
    }
    // The number of the line read last.
    int lastLine() const { return last_; }

private:
    std::string name_;
    std::vector<ScriptLine> lines_;
    size_t next_ = 0;
    int last_ = 0;
};

}  // namespace qm::cli
