// The runner's HTML page as a script makes it: comments as headings and paragraphs, the
// transcript without the dumps the pictures stand for, saved pictures inline, the failure
// marked, a declared height that is what the blocks add up to; and the runner's --locale,
// under which an English script holds on a Japanese system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "cli/script_language.h"
#include "cli/session.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string transcript;
    std::string html;
};

class Page : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        dir_ = fs::path(::testing::TempDir()) / ("qm_page_" + std::to_string(random()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    Outcome run(const std::string& text, std::optional<std::string> locale = std::nullopt) {
        Options options;
        options.htmlFile = (dir_ / "page.html").string();
        options.scriptName = "/somewhere/test.qms";
        options.locale = std::move(locale);
        Script script = Script::fromText(text, "test.qms");
        std::ostringstream out;
        Outcome r;
        {
            Session session(out, options);
            r.status = session.run(script);
        }
        r.transcript = out.str();
        std::ifstream in(options.htmlFile, std::ios::binary);
        std::ostringstream html;
        html << in.rdbuf();
        r.html = html.str();
        return r;
    }

    // Forward slashes: a script reads a backslash as an escape.
    std::string path(const std::string& name) const { return (dir_ / name).generic_string(); }

    fs::path dir_;
};

// The text of the page's blocks of one class ("title", "h", "p"), in order.
std::vector<std::string> blocks(const std::string& html, const std::string& cls) {
    std::vector<std::string> out;
    const std::regex block("<div class=\"b " + cls + "\" style=\"height:[0-9.]+px\">([^<]*)</div>");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), block); it != std::sregex_iterator(); ++it) {
        out.push_back((*it)[1]);
    }
    return out;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

constexpr const char* kConnected = "workbook Book1 sheets Sheet1\nconnect\n";

TEST_F(Page, CommentsBecomeTheTitleHeadingsAndParagraphs) {
    const Outcome r = run(
        "# A title whose sentence goes on\n"
        "# over two lines.\n"
        "# The first paragraph, written over\n"
        "# two lines as well.\n" +
        std::string(kConnected) +
        "# A paragraph between commands.\n"
        "#\n"
        "# A heading.\n"
        "# Its paragraph.\n"
        "disconnect\n");
    ASSERT_EQ(r.status, 0) << r.transcript;
    EXPECT_EQ(blocks(r.html, "title"), std::vector<std::string>{"A title whose sentence goes on over two lines."});
    EXPECT_EQ(blocks(r.html, "h"), std::vector<std::string>{"A heading."});
    EXPECT_EQ(blocks(r.html, "p"), (std::vector<std::string>{"The first paragraph, written over two lines as well.",
                                                              "A paragraph between commands.", "Its paragraph."}));
    EXPECT_NE(r.html.find("<title>A title whose sentence goes on over two lines.</title>"), std::string::npos);
    EXPECT_NE(r.html.find("Script test.qms, run by quillmark"), std::string::npos);
    EXPECT_NE(r.html.find("<span>&gt; connect</span>"), std::string::npos);
    EXPECT_NE(r.html.find("Every check held."), std::string::npos);
}

TEST_F(Page, DumpsArePicturesAndNotText) {
    const Outcome r = run(std::string(kConnected) + "dump bar \"QM\"\ndump bars visible names\n");
    ASSERT_EQ(r.status, 0) << r.transcript;
    // The transcript still has the text; the page has pictures in its place.
    EXPECT_NE(r.transcript.find("  bar \"QM\" index="), std::string::npos);
    EXPECT_EQ(r.html.find("bar \"QM\" index="), std::string::npos);
    EXPECT_NE(r.html.find("Command bar &quot;QM&quot;: docked at the top, row 4"), std::string::npos);
    EXPECT_NE(r.html.find("The Excel window: Microsoft Excel - Book1"), std::string::npos);
    EXPECT_EQ(count(r.html, "<svg width="), 2u);
}

TEST_F(Page, DeclaresTheHeightItsBlocksAddUpTo) {
    const Outcome r = run("# Title.\n# A paragraph long enough to be wrapped onto more than one line of the page, "
                      "since it goes on and on about the add-in and what it does in the simulated Excel.\n" +
                      std::string(kConnected) + "dump bar \"Worksheet Menu Bar\"\nhost version 12.0\ndisconnect\n");
    ASSERT_EQ(r.status, 0) << r.transcript;
    std::smatch declared;
    ASSERT_TRUE(std::regex_search(r.html, declared, std::regex("data-height=\"([0-9]+)\"")));
    double sum = 0;
    const std::regex block("<div class=\"b [a-z]+\" style=\"height:([0-9.]+)px\">");
    for (auto it = std::sregex_iterator(r.html.begin(), r.html.end(), block); it != std::sregex_iterator(); ++it) {
        sum += std::stod((*it)[1]);
    }
    EXPECT_EQ(std::to_string(static_cast<int>(sum)), declared[1].str());
    // The long paragraph was broken into lines here, not by the browser.
    ASSERT_EQ(blocks(r.html, "p").size(), 1u);
    EXPECT_NE(blocks(r.html, "p")[0].find('\n'), std::string::npos);
}

TEST_F(Page, AFailedCheckIsMarkedAndEndsThePage) {
    const Outcome r = run(std::string(kConnected) + "expect bar \"QM\" visible = False\ndisconnect\n");
    ASSERT_EQ(r.status, 1);
    EXPECT_NE(r.html.find("<span class=\"fail\">&gt; expect bar &quot;QM&quot; visible = False</span>"), std::string::npos);
    EXPECT_NE(r.html.find("Line 3: check failed"), std::string::npos);
    EXPECT_NE(r.html.find("expected: False\nfound:    True"), std::string::npos);
    EXPECT_NE(r.html.find("The run stopped at a check that did not hold."), std::string::npos);
    EXPECT_EQ(r.html.find("&gt; disconnect"), std::string::npos);
    EXPECT_EQ(count(r.html, "class=\"fail\""), 1u);
}

TEST_F(Page, AMalformedLineIsMarkedToo) {
    const Outcome r = run(std::string(kConnected) + "frobnicate\n");
    ASSERT_EQ(r.status, 2);
    EXPECT_NE(r.html.find("<span class=\"fail\">&gt; frobnicate</span>"), std::string::npos);
    EXPECT_NE(r.html.find("unknown command"), std::string::npos);
    EXPECT_NE(r.html.find("a line the runner could not run"), std::string::npos);
}

TEST_F(Page, SavedPicturesAreShownButNotTemporaryFiles) {
    const Outcome r = run(
        "workbook Book1 sheets Sheet1\n"
        "shape rectangle Box left=10 top=10 width=100 height=50 text=Hello\n"
        "connect\n"
        "select shapes Box\n"
        "save-as \"" + path("saved.emf") + "\"\n"
        "click \"QM > &Save Picture\"\n"
        "select cells A1:B2\n"
        "save-as \"" + path("cells.bmp") + "\"\n"
        "click \"QM > &Save Picture\"\n"
        "setting Setting BackColor 1\n"
        "setting Setting BackColorValue &HCCFFFF\n"
        "answer Yes\n"
        "click \"QM > Goto &Draw mode\"\n"
        "window click cmdOK\n");
    ASSERT_EQ(r.status, 0) << r.transcript;
    EXPECT_NE(r.html.find("Saved picture saved.emf: enhanced metafile, "), std::string::npos);
    EXPECT_NE(r.html.find("Saved picture cells.bmp: bitmap, 128 x 34 pixels"), std::string::npos);
    // The metafile's text, which the reader does not play, is written over it.
    EXPECT_NE(r.html.find(">Hello</text>"), std::string::npos);
    // Entering Draw mode wrote (and removed) a temporary bitmap: no picture of it.
    EXPECT_NE(r.transcript.find("[file written] %TEMP%/"), std::string::npos);
    EXPECT_EQ(count(r.html, "<div class=\"cap\">Saved picture "), 2u);
}

TEST_F(Page, AFileThatCannotBeWrittenStopsTheRunBeforeItStarts) {
    Options options;
    options.htmlFile = path("no/such/folder/page.html");
    std::ostringstream out;
    try {
        Session session(out, options);
        FAIL() << "the session started";
    } catch (const ScriptAbort& e) {
        EXPECT_EQ(e.message(), "cannot write " + options.htmlFile);
    }
}

// ---------------------------------------------------------------- --locale

TEST(ScriptLanguage, PathsAndTextsReadThroughTheStringTable) {
    EXPECT_EQ(japaneseTextOf("Goto &Draw mode"), "Drawモードへ移行(&D)");
    EXPECT_EQ(japaneseTextOf("Shifts to Draw mode.\n\nCreate new-seat for drawing?"),
              "Drawモードに移行します。\n\n描画用シートを新規に作成しますか？");
    EXPECT_EQ(japaneseTextOf("Goto Draw mode"), std::nullopt);
    // Bar names and captions the table does not hold stay as they are.
    EXPECT_EQ(japanesePath("QM_MENU > &File > &Save Picture"), "QM_MENU > ファイル(&F) > 選択オブジェクトを画像として保存(&S)");
    EXPECT_EQ(japanesePath("Worksheet Menu Bar > &Tools > &Options..."), "Worksheet Menu Bar > &Tools > &Options...");
    EXPECT_EQ(japanesePath("QM"), "QM");
}

constexpr const char* kEnglishChecks =
    "workbook Book1 sheets Sheet1\n"
    "connect\n"
    "expect control \"Worksheet Menu Bar > &NVK > &Quillmark > Goto &Draw mode\" caption = \"Goto &Draw mode\"\n"
    "answer No\n"
    "click \"QM > Goto &Draw mode\"\n"
    "expect message \"Shifts to Draw mode.\\n\\nCreate new-seat for drawing?\" style=35\n"
    "window click cmdOK\n"
    "expect control \"Worksheet Menu Bar > &Help\" id = 30010\n";

TEST_F(Page, AnEnglishScriptHoldsOnAJapaneseSystem) {
    const Outcome r = run(kEnglishChecks, "Japan");
    ASSERT_EQ(r.status, 0) << r.transcript;
    EXPECT_NE(r.transcript.find("[message] \"Drawモードに移行します。"), std::string::npos);
    // The message box shows the system's own button captions.
    EXPECT_NE(r.html.find("はい("), std::string::npos);
    EXPECT_NE(r.html.find("system locale Japan"), std::string::npos);
}

TEST_F(Page, WithoutTheOptionTextsAreTakenAsWritten) {
    const Outcome r = run("host locale Japan\n" + std::string(kEnglishChecks));
    EXPECT_EQ(r.status, 1);
}

TEST_F(Page, OnAJapaneseSystemTheEnglishTextItselfDoesNotPass) {
    // Read through the table, the check wants the Japanese caption: an add-in that still
    // showed English would fail it.
    const Outcome r = run(std::string(kConnected) + "expect control tag NVK_SITE caption = \"&Quillmark\"\n", "Japan");
    EXPECT_EQ(r.status, 1);
    const Outcome english = run("host locale Japan\n" + std::string(kConnected) +
                            "expect control tag NVK_SITE caption = \"&Developer's Site\"\n");
    EXPECT_EQ(english.status, 1);
}

TEST_F(Page, TheLocaleCanStillChangeDuringTheScript) {
    const Outcome r = run("host locale \"United States\"\n" + std::string(kConnected) +
                          "expect control tag NVK_SITE caption = \"&Developer's Site\"\n"
                          "disconnect\nhost locale Japan\nconnect\n"
                          "expect control tag NVK_SITE caption = \"&Developer's Site\"\n"
                          "expect control tag NVK_SITE caption = \"開発元ホームページへ(&D)\"\n",
                      "Japan");
    EXPECT_EQ(r.status, 0) << r.transcript;
}

}  // namespace
}  // namespace qm::cli
