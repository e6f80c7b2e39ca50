// Text metrics, the picture box's scales and display list, and the SVG it writes: read
// back here by a small XML reader, so a malformed document fails.
#include <cctype>
#include <map>
#include <vector>

#include "core/ui/draw_scale.h"
#include "core/ui/headless/metrics.h"
#include "tests/ui/window.h"

namespace qm::ui::headless {
namespace {

using testing::as;
using testing::errorNumberOf;
using testing::Window;

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<XmlElement> children;
};

// Reads a document made of a declaration, elements, attributes and character data with
// the five predefined entities; throws on anything malformed.
class XmlReader {
public:
    explicit XmlReader(std::string s) : s_(std::move(s)) {}

    XmlElement document() {
        if (s_.rfind("<?xml", 0) == 0) pos_ = s_.find("?>") + 2;
        skipSpace();
        XmlElement root = element();
        skipSpace();
        if (pos_ != s_.size()) fail("content after the root element");
        return root;
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw std::runtime_error(why + " at offset " + std::to_string(pos_));
    }
    void skipSpace() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    }
    std::string name() {
        const size_t start = pos_;
        while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == ':' ||
                                    s_[pos_] == '-' || s_[pos_] == '_')) {
            ++pos_;
        }
        if (pos_ == start) fail("name expected");
        return s_.substr(start, pos_ - start);
    }
    std::string characters(char stop) {
        std::string out;
        while (pos_ < s_.size() && s_[pos_] != stop) {
            if (s_[pos_] == '<') fail("'<' in character data");
            if (s_[pos_] == '&') {
                const size_t end = s_.find(';', pos_);
                if (end == std::string::npos) fail("unterminated entity");
                static const std::map<std::string, char> kEntities = {
                    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
                const auto it = kEntities.find(s_.substr(pos_ + 1, end - pos_ - 1));
                if (it == kEntities.end()) fail("unknown entity");
                out.push_back(it->second);
                pos_ = end + 1;
            } else {
                out.push_back(s_[pos_++]);
            }
        }
        if (pos_ == s_.size()) fail("unexpected end");
        return out;
    }
    XmlElement element() {
        if (s_[pos_] != '<') fail("'<' expected");
        ++pos_;
        XmlElement e;
        e.name = name();
        for (;;) {
            skipSpace();
            if (s_.compare(pos_, 2, "/>") == 0) {
                pos_ += 2;
                return e;
            }
            if (s_[pos_] == '>') break;
            const std::string attribute = name();
            if (s_[pos_] != '=' || s_[pos_ + 1] != '"') fail("quoted attribute value expected");
            pos_ += 2;
            if (!e.attributes.emplace(attribute, characters('"')).second) fail("repeated attribute");
            ++pos_;
        }
        ++pos_;
        for (;;) {
            if (s_.compare(pos_, 2, "</") == 0) {
                pos_ += 2;
                if (name() != e.name) fail("mismatched end tag of " + e.name);
                if (s_[pos_++] != '>') fail("'>' expected");
                return e;
            }
            if (s_[pos_] == '<') {
                e.children.push_back(element());
            } else {
                e.text += characters('<');
            }
        }
    }

    std::string s_;
    size_t pos_ = 0;
};

void collect(const XmlElement& e, const std::string& name, std::vector<const XmlElement*>& out) {
    if (e.name == name) out.push_back(&e);
    for (const XmlElement& c : e.children) collect(c, name, out);
}

std::vector<const XmlElement*> elements(const XmlElement& root, const std::string& name) {
    std::vector<const XmlElement*> out;
    collect(root, name, out);
    return out;
}

std::vector<uint8_t> fromBase64(const std::string& text) {
    static const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        bits = (bits << 6) | static_cast<uint32_t>(kAlphabet.find(c));
        if ((count += 6) >= 8) {
            count -= 8;
            out.push_back(static_cast<uint8_t>(bits >> count));
        }
    }
    return out;
}

TEST(TextMetrics, AsciiIsNarrowerThanOtherCharactersAndLinesStack) {
    const Font font{"MS UI Gothic", 10, false, false, 128};
    EXPECT_DOUBLE_EQ(textWidthTwips(font, "ab"), 2 * 0.55 * 200);
    EXPECT_DOUBLE_EQ(textWidthTwips(font, "日本"), 2 * 200);
    EXPECT_DOUBLE_EQ(textWidthTwips(font, "a\r\n日本語\nb"), 3 * 200);  // the widest line
    EXPECT_DOUBLE_EQ(textHeightTwips(font, ""), 240);
    EXPECT_DOUBLE_EQ(textHeightTwips(font, "a\r\nb\rc"), 3 * 240);
}

TEST(PictureBox, UserScaleConvertsDrawingToTwipsInsideTheBorder) {
    Window w;
    auto& pic = as<PictureBox>(w.form->addPictureBox("picNode(1)", nullptr, {0, 0, 1060, 560}));
    pic.setBorder(true);  // 30 twips a side: the client area is 1000 x 500
    EXPECT_EQ(pic.scaleWidth(), 1000);
    pic.setUserScale(10, 20, 100, 50);
    EXPECT_EQ(pic.scaleWidth(), 100);
    EXPECT_EQ(pic.scaleHeight(), 50);
    pic.setDrawFont({"MS UI Gothic", 10, false, false, 128});
    EXPECT_DOUBLE_EQ(pic.textWidth("ab"), 220.0 / 10);
    EXPECT_DOUBLE_EQ(pic.textHeight("ab"), 240.0 / 10);

    pic.setDrawColor(0x0000FF);
    pic.printText(20, 25, "A");
    pic.fillBox(60, 70, 30, 40, 0x00FF00);  // corners in either order
    ASSERT_EQ(pic.displayList().size(), 2u);
    const auto& text = std::get<DrawnText>(pic.displayList()[0]);
    EXPECT_DOUBLE_EQ(text.x, 100);
    EXPECT_DOUBLE_EQ(text.y, 50);
    EXPECT_EQ(text.color, 0x0000FFu);
    const auto& box = std::get<DrawnBox>(pic.displayList()[1]);
    EXPECT_DOUBLE_EQ(box.left, 200);
    EXPECT_DOUBLE_EQ(box.top, 200);
    EXPECT_DOUBLE_EQ(box.width, 300);
    EXPECT_DOUBLE_EQ(box.height, 300);

    // A negative height puts the origin at the bottom.
    pic.setUserScale(0, 50, 100, -50);
    pic.printText(0, 50, "B");
    EXPECT_DOUBLE_EQ(std::get<DrawnText>(pic.displayList()[2]).y, 0);
    pic.printText(0, 0, "C");
    EXPECT_DOUBLE_EQ(std::get<DrawnText>(pic.displayList()[3]).y, 500);

    EXPECT_EQ(errorNumberOf([&] { pic.setUserScale(0, 0, 0, 10); }), 380);
    pic.setScaleTwips();
    EXPECT_EQ(pic.scaleWidth(), 1000);
    pic.clear();
    EXPECT_TRUE(pic.displayList().empty());
}

TEST(DrawScale, LengthsAreSizesAndAnEmptyAreaHasNone) {
    DrawScale scale;
    EXPECT_EQ(scale.lengthFromTwipsX(-300, 0), -300);  // twips pass through as they are
    scale.setUser("picPreview", 0, 50, 100, -50);
    EXPECT_DOUBLE_EQ(scale.lengthFromTwipsY(250, 500), 25);
    EXPECT_DOUBLE_EQ(scale.toTwipsY(25, 500), 250);
    EXPECT_EQ(scale.lengthFromTwipsX(250, 0), 0);
    EXPECT_EQ(scale.width(1000), 100);
    EXPECT_EQ(errorNumberOf([&] { scale.setUser("picPreview", 0, 0, 10, 0); }), 380);
    EXPECT_EQ(scale.height(500), -50);  // the refused scale changed nothing
    scale.setTwips();
    EXPECT_EQ(scale.height(500), 500);
}

TEST(PictureBox, SvgIsWellFormedAndCarriesTheDisplayList) {
    Window w;
    auto& pic = as<PictureBox>(w.form->addPictureBox("picNode(1)", nullptr, {0, 0, 3000, 1500}));
    pic.setBorder(true);
    pic.setBackColor(0xFFFFFF);
    pic.setDrawColor(0x0000FF);
    pic.printText(100, 100, "a < b & \"c\"\r\n日本 \xff!");
    pic.fillBox(0, 0, 300, 150, 0xC08040);
    const std::vector<uint8_t> bmp = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 0xFF, 0};
    pic.paintPicture({platform::cf::kBitmap, bmp}, 500, 500, 600, 300);
    pic.paintPicture({platform::cf::kEnhMetafile, std::vector<uint8_t>(40, 1)}, 1200, 500, 600, 300);

    const std::string svg = pic.toSvg();
    XmlElement root;
    ASSERT_NO_THROW(root = XmlReader(svg).document()) << svg;
    EXPECT_EQ(root.name, "svg");
    EXPECT_EQ(root.attributes.at("viewBox"), "0 0 3000 1500");
    EXPECT_EQ(root.attributes.at("width"), "200");

    const auto texts = elements(root, "text");
    ASSERT_EQ(texts.size(), 2u);  // one per line
    EXPECT_EQ(texts[0]->text, "a < b & \"c\"");
    EXPECT_EQ(texts[1]->text, "日本 \xEF\xBF\xBD!");  // a malformed byte shows as U+FFFD
    EXPECT_EQ(texts[0]->attributes.at("fill"), "#FF0000");
    EXPECT_EQ(texts[0]->attributes.at("y"), "280");  // top 100 + one em of 9 points
    EXPECT_EQ(texts[1]->attributes.at("y"), "496");  // the next line, 1.2 em lower

    const auto images = elements(root, "image");
    ASSERT_EQ(images.size(), 1u);
    const std::string href = images[0]->attributes.at("xlink:href");
    const std::string prefix = "data:image/bmp;base64,";
    ASSERT_EQ(href.rfind(prefix, 0), 0u);
    EXPECT_EQ(fromBase64(href.substr(prefix.size())), bmp);
    EXPECT_EQ(images[0]->attributes.at("width"), "600");

    int hatched = 0, filled = 0;
    for (const XmlElement* r : elements(root, "rect")) {
        const auto fill = r->attributes.find("fill");
        if (fill == r->attributes.end()) continue;
        if (fill->second == "url(#hatch)") ++hatched;
        if (fill->second == "#4080C0") ++filled;
    }
    EXPECT_EQ(hatched, 1);  // the metafile
    EXPECT_EQ(filled, 1);
    EXPECT_EQ(elements(root, "pattern").size(), 1u);
}

}  // namespace
}  // namespace qm::ui::headless
