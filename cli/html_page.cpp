// The runner's HTML page: blocks of fixed height in one column.
#include "cli/html_page.h"

#include <algorithm>

#include "core/picture/emf.h"
#include "core/text/strings.h"
#include "core/ui/headless/describe.h"

namespace qm::cli::html {
namespace {

using ui::headless::xmlText;

// The column, and each kind of block's font size, line height and the room above and below
// its lines (pixels).
constexpr double kMargin = 32;
constexpr double kColumn = HtmlPage::kWidth - 2 * kMargin;

struct Metrics {
    double size;
    double line;
    double above;
    double below;
};
constexpr Metrics kTitle{26, 34, 28, 4};
constexpr Metrics kAbout{13, 18, 0, 4};
constexpr Metrics kHeading{20, 28, 26, 4};
constexpr Metrics kParagraph{15, 22, 8, 4};
constexpr Metrics kTranscript{12, 16, 8, 12};  // below: the box's padding
constexpr Metrics kFailure{14, 20, 12, 16};
constexpr Metrics kOutcome{16, 24, 20, 36};
constexpr double kFigureAbove = 12;
constexpr double kCaption = 22;

constexpr const char* kStyle =
    "html,body{margin:0;padding:0;background:#FFFFFF}"
    "body{font-family:'Liberation Sans',Arial,'IPAPGothic',sans-serif;color:#1A1A1A}"
    ".b{box-sizing:border-box;overflow:hidden;padding:0 32px;white-space:pre}"
    ".title{font-size:26px;line-height:34px;font-weight:bold;padding-top:28px}"
    ".about{font-size:13px;line-height:18px;color:#666666}"
    ".h{font-size:20px;line-height:28px;font-weight:bold;padding-top:26px;color:#1F3A68}"
    ".p{font-size:15px;line-height:22px;padding-top:8px}"
    ".t{padding-top:8px}"
    ".t div{box-sizing:border-box;padding:6px 10px;background:#F3F3F1;border-left:3px solid #C8C6C0;"
    "font-family:'DejaVu Sans Mono','Liberation Mono',monospace;font-size:12px;line-height:16px;overflow:hidden}"
    ".t span{display:block;height:16px}"
    ".t .fail{background:#FFD0D0;color:#A00000;font-weight:bold}"
    ".f{padding-top:12px}"
    ".f svg,.f img{display:block}"
    ".cap{font-size:13px;line-height:18px;padding-top:4px;color:#555555}"
    ".x{padding-top:12px}"
    ".x div{box-sizing:border-box;border:2px solid #C00000;background:#FFF0F0;padding:6px 10px;"
    "font-size:14px;line-height:20px;color:#800000}"
    ".end{font-size:16px;line-height:24px;font-weight:bold;padding-top:20px}"
    ".ok{color:#1B6E20}.bad{color:#B00000}";

// Lines for a block that keeps line breaks (the escaping leaves none).
std::string escapedLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += (out.empty() ? "" : "\n") + xmlText(l);
    return out;
}

std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

HtmlPage::HtmlPage(std::string about, FileReader readFile) : readFile_(std::move(readFile)) {
    Block b;
    b.kind = Kind::About;
    b.text = std::move(about);
    blocks_.push_back(std::move(b));
}

HtmlPage::Block& HtmlPage::openBlock(Kind kind) {
    if (blocks_.empty() || blocks_.back().kind != kind || kind != Kind::Transcript) {
        Block b;
        b.kind = kind;
        blocks_.push_back(std::move(b));
    }
    return blocks_.back();
}

void HtmlPage::line(const std::string& text) {
    showWrittenFiles();
    if (!text.empty() && text[0] == '#') {
        std::string words = qm::text::trim(text.substr(1));
        if (words.empty()) {
            headingNext_ = true;
            headingOpen_ = false;
            inComment_ = false;
            return;
        }
        if (headingNext_) {
            // A heading runs to the end of the group's first sentence.
            if (headingOpen_) {
                blocks_.back().text += " " + words;
            } else {
                openBlock(titled_ ? Kind::Heading : Kind::Title).text = words;
                titled_ = true;
                headingOpen_ = true;
            }
            if (std::string_view(".!?:").find(words.back()) != std::string_view::npos) {
                headingNext_ = false;
                headingOpen_ = false;
            }
            inComment_ = false;  // the lines after a heading begin a paragraph
            return;
        }
        if (inComment_ && blocks_.back().kind == Kind::Paragraph) {
            blocks_.back().text += " " + words;
        } else {
            openBlock(Kind::Paragraph).text = std::move(words);
        }
        inComment_ = true;
        return;
    }
    headingNext_ = false;
    headingOpen_ = false;
    inComment_ = false;
    Block& b = openBlock(Kind::Transcript);
    b.lines.push_back(text);
    b.failed.push_back(false);
}

void HtmlPage::picture(Picture picture) {
    showWrittenFiles();
    headingNext_ = false;
    headingOpen_ = false;
    inComment_ = false;
    openBlock(Kind::Figure).picture = std::move(picture);
}

void HtmlPage::fileWritten(const std::string& path) { writtenFiles_.push_back(path); }

void HtmlPage::showWrittenFiles() {
    std::vector<std::string> files;
    files.swap(writtenFiles_);
    for (const std::string& path : files) {
        if (auto p = savedPicture(path)) openBlock(Kind::Figure).picture = std::move(*p);
    }
}

// A saved picture at its own size: a metafile played by the add-in's own reader with its
// text laid over, a bitmap as it is.
std::optional<Picture> HtmlPage::savedPicture(const std::string& path) {
    const auto bytes = readFile_ ? readFile_(path) : std::nullopt;
    if (!bytes) return std::nullopt;
    const auto metafile = picture::emf::read(*bytes);
    const std::optional<picture::Image> image = metafile ? picture::emf::play(*metafile, *bytes) : picture::decodeBmp(*bytes);
    const std::string kind = metafile ? "enhanced metafile" : "bitmap";
    if (!image || image->width <= 0 || image->height <= 0) return std::nullopt;
    const double scale = std::min(1.0, kColumn / image->width);
    Svg svg(image->width * scale + 2, image->height * scale + 2);
    svg.image(1, 1, image->width * scale, image->height * scale, pngDataUri(*image));
    svg.frame(0, 0, svg.width(), svg.height(), "#B0B0B0");
    if (metafile) {
        // The reader plays no text: the text records are written over the picture.
        TextStyle text;
        text.size = 13 * scale;
        text.family = "Arial, 'Liberation Sans', 'IPAPGothic', sans-serif";
        for (const auto& r : metafile->records) {
            if (r.type != picture::emf::rec::kExtTextOutW) continue;
            const double x = static_cast<int32_t>(picture::emf::param(*bytes, r, 7)) - metafile->header.bounds.left;
            const double y = static_cast<int32_t>(picture::emf::param(*bytes, r, 8)) - metafile->header.bounds.top;
            svg.text(1 + x * scale, 1 + (y + 11) * scale, picture::emf::text(*bytes, r), text);
        }
    }
    return svg.picture("Saved picture " + fileName(path) + ": " + kind + ", " + std::to_string(image->width) + " x " +
                       std::to_string(image->height) + " pixels, " + std::to_string(bytes->size()) + " bytes");
}

void HtmlPage::stopped(int scriptLine, const std::string& message, const std::string& expected,
                       const std::string& found) {
    showWrittenFiles();
    // The command that stopped the run is the last one shown.
    for (auto b = blocks_.rbegin(); b != blocks_.rend(); ++b) {
        if (b->kind != Kind::Transcript) continue;
        for (size_t i = b->lines.size(); i-- > 0;) {
            if (qm::text::startsWith(b->lines[i], "> ")) {
                b->failed[i] = true;
                break;
            }
        }
        break;
    }
    Block& f = openBlock(Kind::Failure);
    f.lines.push_back("Line " + std::to_string(scriptLine) + ": " + message);
    if (!expected.empty() || !found.empty()) {
        f.lines.push_back("expected: " + expected);
        f.lines.push_back("found:    " + found);
    }
}

std::vector<std::string> HtmlPage::paragraphLines(const Block& b, double size) {
    // Wrapped here rather than by the browser, so that the block's height is known; with
    // room to spare for a font wider than the one measured, a line never wraps again.
    return wrapText(b.text, size * 1.15, kColumn);
}

double HtmlPage::blockHeight(const Block& b) const {
    const auto lines = [](const Metrics& m, size_t n) { return m.above + m.line * static_cast<double>(n) + m.below; };
    switch (b.kind) {
        case Kind::Title: return lines(kTitle, paragraphLines(b, kTitle.size).size());
        case Kind::About: return lines(kAbout, 1);
        case Kind::Heading: return lines(kHeading, paragraphLines(b, kHeading.size).size());
        case Kind::Paragraph: return lines(kParagraph, paragraphLines(b, kParagraph.size).size());
        case Kind::Transcript: return lines(kTranscript, b.lines.size());
        case Kind::Figure: return kFigureAbove + b.picture.height + kCaption;
        case Kind::Failure: return lines(kFailure, b.lines.size());
        case Kind::Outcome: return lines(kOutcome, 1);
    }
    return 0;
}

std::string HtmlPage::blockHtml(const Block& b) const {
    const std::string open = "<div class=\"b ";
    const std::string height = "\" style=\"height:" + num(blockHeight(b)) + "px\">";
    const auto text = [&](const char* cls, double size) {
        return open + cls + height + escapedLines(paragraphLines(b, size)) + "</div>\n";
    };
    switch (b.kind) {
        case Kind::Title: return text("title", kTitle.size);
        case Kind::About: return open + "about" + height + xmlText(b.text) + "</div>\n";
        case Kind::Heading: return text("h", kHeading.size);
        case Kind::Paragraph: return text("p", kParagraph.size);
        case Kind::Transcript: {
            std::string out = open + "t" + height + "<div style=\"height:" +
                              num(kTranscript.line * static_cast<double>(b.lines.size()) + kTranscript.below) + "px\">";
            for (size_t i = 0; i < b.lines.size(); ++i) {
                out += std::string("<span") + (b.failed[i] ? " class=\"fail\"" : "") + ">" + xmlText(b.lines[i]) + "</span>";
            }
            return out + "</div></div>\n";
        }
        case Kind::Figure:
            return open + "f" + height + b.picture.svg + "<div class=\"cap\">" + xmlText(b.picture.caption) +
                   "</div></div>\n";
        case Kind::Failure: {
            return open + "x" + height + "<div>" + escapedLines(b.lines) + "</div></div>\n";
        }
        case Kind::Outcome: return open + "end" + height + b.text + "</div>\n";
    }
    return {};
}

std::string HtmlPage::html(int status) {
    showWrittenFiles();
    Block end;
    end.kind = Kind::Outcome;
    end.text = status == 0   ? "<span class=\"ok\">Every check held.</span>"
               : status == 1 ? "<span class=\"bad\">The run stopped at a check that did not hold.</span>"
                             : "<span class=\"bad\">The run stopped at a line the runner could not run.</span>";
    // The title first, then what ran, then the rest in order.
    std::vector<const Block*> order;
    const auto titleBlock = std::find_if(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.kind == Kind::Title; });
    if (titleBlock != blocks_.end()) order.push_back(&*titleBlock);
    for (const Block& b : blocks_) {
        if (order.empty() || &b != order.front()) order.push_back(&b);
    }
    order.push_back(&end);
    const std::string title = titleBlock != blocks_.end() ? titleBlock->text : "Quillmark in Excel";
    double total = 0;
    std::string body;
    for (const Block* b : order) {
        total += blockHeight(*b);
        body += blockHtml(*b);
    }
    const std::string w = num(kWidth), h = num(total);
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + xmlText(title) +
           "</title>\n<meta name=\"viewport\" content=\"width=" + w + "\">\n<style>" + kStyle +
           "</style>\n</head>\n<body data-width=\"" + w + "\" data-height=\"" + h + "\" style=\"width:" + w +
           "px;height:" + h + "px\">\n" + body + "</body>\n</html>\n";
}

}  // namespace qm::cli::html
