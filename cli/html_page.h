// The runner's HTML page (quillmark --html FILE): the script told step by step, readable
// without the runner. Comment lines become headings and paragraphs, commands and what the
// user saw a compact transcript, and what would be on screen pictures: command bars,
// windows, message boxes and the pictures the add-in saved. The page is one
// self-contained file (inline SVG and data: addresses, no scripts) whose every block has
// a fixed height, so that it declares its own size.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/html_svg.h"

namespace qm::cli::html {

class HtmlPage {
public:
    using FileReader = std::function<std::optional<std::vector<uint8_t>>(const std::string& path)>;

    static constexpr double kWidth = 1100;

    // `about` says what ran ("scenarios/tour.qms, system locale Japan"); written files are
    // read through `readFile`.
    HtmlPage(std::string about, FileReader readFile);

    // A transcript line as the runner prints it: "# comment", "> command", or what the
    // user saw, indented.
    void line(const std::string& text);
    void picture(Picture picture);
    // A file the add-in wrote: shown, when it is a picture, after the command that wrote it.
    void fileWritten(const std::string& path);
    // The run stopped at a script line: a check that did not hold, or a malformed line.
    void stopped(int scriptLine, const std::string& message, const std::string& expected = {},
                 const std::string& found = {});

    // The whole page, ending with the outcome of the run (its exit status).
    std::string html(int status);

private:
    enum class Kind { Title, About, Heading, Paragraph, Transcript, Figure, Failure, Outcome };
    struct Block {
        Kind kind = Kind::Paragraph;
        std::string text;                // headings and paragraphs, as written
        std::vector<std::string> lines;  // transcript lines, failure lines
        std::vector<bool> failed;        // per transcript line
        Picture picture;
    };

    Block& openBlock(Kind kind);
    void showWrittenFiles();
    std::optional<Picture> savedPicture(const std::string& path);
    static std::vector<std::string> paragraphLines(const Block& b, double size);
    double blockHeight(const Block& b) const;
    std::string blockHtml(const Block& b) const;

    FileReader readFile_;
    std::vector<Block> blocks_;
    std::vector<std::string> writtenFiles_;
    bool headingNext_ = true;   // at the start, and after a bare "#"
    bool headingOpen_ = false;  // a heading's sentence goes on on the next comment line
    bool inComment_ = false;    // the line before was a comment
    bool titled_ = false;
};

}  // namespace qm::cli::html
