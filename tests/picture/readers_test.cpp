// The renderer's files as other programs read them: emf2svg and printemf for the
// metafiles, ImageMagick for the bitmaps. The programs were found when the build was
// configured; a missing one fails the tests that need it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "core/picture/emf.h"
#include "core/picture/png.h"
#include "tests/picture/sheet.h"

namespace qm::sim::testing {
namespace {

namespace fs = std::filesystem;
namespace emf = picture::emf;

struct Outcome {
    int status = -1;
    std::string output;  // standard output and error
};

Outcome run(const std::string& command) {
    Outcome r;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
    r.status = pclose(pipe);
    return r;
}

std::string shellQuoted(const fs::path& p) { return "'" + p.string() + "'"; }

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Readers : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        dir_ = fs::path(::testing::TempDir()) / ("qm_picture_readers_" + std::to_string(random()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // The program's path; fails the test when it was not found at configure time.
    static std::string program(const char* path, const char* name) {
        if (std::string(path).empty()) {
            ADD_FAILURE() << name << " was not found when the build was configured. Install it "
                          << "(scripts/setup.sh installs emf2svg, printemf and imagemagick) and configure "
                          << "again, or configure with -DQM_PICTURE_READERS=OFF to leave these tests out.";
        }
        return path;
    }

    fs::path write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

    // The SVG emf2svg makes of the file; empty (and the test failed) when it refuses it.
    std::string svgOf(const std::vector<uint8_t>& emfBytes) const {
        const std::string tool = program(QM_READER_EMF2SVG_CONV, "emf2svg-conv");
        if (tool.empty()) return {};
        const fs::path in = write("picture.emf", emfBytes);
        const fs::path out = dir_ / "picture.svg";
        const Outcome r = run(shellQuoted(tool) + " -i " + shellQuoted(in) + " -o " + shellQuoted(out));
        EXPECT_EQ(r.status, 0) << r.output;
        return r.status == 0 ? readText(out) : std::string();
    }

    // Every pixel of a BMP or PNG file ("bmp", "png") as ImageMagick reads it, as 0x00BBGGRR;
    // a pixel left fully transparent has its top byte set.
    std::optional<picture::Image> imageMagickPixels(const std::vector<uint8_t>& bytes, const std::string& kind = "bmp") const {
        const std::string identify = program(QM_READER_IDENTIFY, "identify");
        const std::string convert = program(QM_READER_CONVERT, "convert");
        if (identify.empty() || convert.empty()) return std::nullopt;
        const fs::path in = write("picture." + kind, bytes);
        const Outcome id = run(shellQuoted(identify) + " -format '%m %w %h' " + shellQuoted(in));
        EXPECT_EQ(id.status, 0) << id.output;
        std::istringstream fields(id.output);
        std::string format;
        picture::Image img;
        fields >> format >> img.width >> img.height;
        std::string upper = kind;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(format.rfind(upper, 0), 0u) << id.output;
        if (img.width <= 0 || img.height <= 0) return std::nullopt;
        img.pixels.assign(static_cast<size_t>(img.width) * static_cast<size_t>(img.height), 0xFE000000u);

        const Outcome txt = run(shellQuoted(convert) + " " + shellQuoted(in) + " txt:-");
        EXPECT_EQ(txt.status, 0) << txt.output.substr(0, 500);
        // "12,3: (255,0,0)  #FF0000  red", "12,3: (255,0,0,0)  #FF000000  ..."
        static const std::regex line(R"(^(\d+),(\d+):.*#([0-9A-Fa-f]{6})([0-9A-Fa-f]{2})?)");
        std::istringstream lines(txt.output);
        std::string l;
        std::smatch m;
        while (std::getline(lines, l)) {
            if (!std::regex_search(l, m, line)) continue;
            const int32_t x = std::stoi(m[1]), y = std::stoi(m[2]);
            const auto rgb = static_cast<uint32_t>(std::stoul(m[3], nullptr, 16));
            const uint32_t hidden = m[4].matched && m[4] == "00" ? 0xFF000000u : 0;
            if (x < img.width && y < img.height) img.at(x, y) = hidden | (rgb >> 16) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
        }
        return img;
    }

    fs::path dir_;
};

// A red rectangle, a turned green oval, a blue freeform with a curve, a line and a text box.
Pictures shapesPicture(Sheet& s) {
    const auto rect = s.rectangle(0, 0, 100, 50, kRed);
    const auto oval = s.add(ShapeKind::AutoShape, host::msoShapeOval, 120, 0, 80, 40, kGreen, 30);
    const auto free = s.freeform({node(0, 120), node(0, 70, host::msoSegmentCurve), node(100, 70, host::msoSegmentCurve),
                                  node(100, 120, host::msoSegmentCurve), node(0, 120)},
                                 kBlue);
    const auto line = s.add(ShapeKind::Line, 0, 120, 60, 80, 60);
    const auto text = s.add(ShapeKind::TextBox, 0, 0, 140, 100, 30);
    text->text = "Quill";
    return s.render({rect, oval, free, line, text});
}

TEST_F(Readers, Emf2svgDrawsTheShapes) {
    Sheet s;
    const Pictures p = shapesPicture(s);
    const std::string svg = svgOf(p.emf);
    ASSERT_FALSE(svg.empty());
    EXPECT_NE(svg.find("<rect"), std::string::npos) << svg;
    // Colours 0x00BBGGRR become #RRGGBB.
    EXPECT_TRUE(std::regex_search(svg, std::regex(R"(<rect[^>]*fill="#FF0000")"))) << svg;
    EXPECT_TRUE(std::regex_search(svg, std::regex(R"(<path d="M[^"]*C[^>]*fill="#00FF00")"))) << svg;
    EXPECT_TRUE(std::regex_search(svg, std::regex(R"(<path d="M[^"]*C[^"]*L[^>]*fill="#0000FF")"))) << svg;
    EXPECT_TRUE(std::regex_search(svg, std::regex(R"(<path d="M [^"]*" stroke="#000000"[^>]*fill="none")"))) << svg;
    EXPECT_NE(svg.find("Quill"), std::string::npos) << svg;
}

TEST_F(Readers, Emf2svgDrawsCellsWithGridlinesAndText) {
    Sheet s;
    s.sheet->cellText[{1, 1}] = "abc";
    s.sheet->cellText[{2, 2}] = "12.5";
    const Pictures p = s.render({}, CellArea{{1, 1}, {3, 3}, false});
    const std::string svg = svgOf(p.emf);
    ASSERT_FALSE(svg.empty());
    EXPECT_NE(svg.find("stroke=\"#C0C0C0\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("abc"), std::string::npos) << svg;
    EXPECT_NE(svg.find("12.5"), std::string::npos) << svg;
}

TEST_F(Readers, PrintemfListsEveryRecord) {
    const std::string tool = program(QM_READER_PRINTEMF, "printemf");
    if (tool.empty()) return;
    Sheet s;
    s.sheet->cellText[{1, 1}] = "abc";
    for (const Pictures& p : {shapesPicture(s), s.render({}, CellArea{{1, 1}, {2, 2}, false})}) {
        const auto m = emf::read(p.emf);
        ASSERT_TRUE(m);
        const Outcome r = run(shellQuoted(tool) + " " + shellQuoted(write("picture.emf", p.emf)));
        ASSERT_EQ(r.status, 0) << r.output;
        std::vector<std::string> names;
        std::istringstream lines(r.output);
        for (std::string l; std::getline(lines, l);) {
            if (!l.empty() && l[0] == '*') names.push_back(l);
        }
        ASSERT_EQ(names.size(), m->records.size()) << r.output;
        EXPECT_EQ(names.front(), "*HEADER*");
        EXPECT_EQ(names.back(), "*EOF*");
        EXPECT_TRUE(std::regex_search(r.output, std::regex("nBytes\\s*:\\s*" + std::to_string(p.emf.size()) + "\\b"))) << r.output;
        EXPECT_EQ(r.output.find("rror"), std::string::npos) << r.output;
    }
}

TEST_F(Readers, ImageMagickReadsTheBitmapsPixelForPixel) {
    Sheet s;
    s.sheet->cellText[{1, 1}] = "abc";
    for (const Pictures& p : {shapesPicture(s), s.render({}, CellArea{{1, 1}, {3, 2}, false})}) {
        const auto seen = imageMagickPixels(p.bmp);
        ASSERT_TRUE(seen);
        ASSERT_EQ(seen->width, p.image.width);
        ASSERT_EQ(seen->height, p.image.height);
        EXPECT_EQ(seen->pixels, p.image.pixels);
    }
    // Colours land where they should, not only the same in both readers.
    const auto seen = imageMagickPixels(s.render({s.rectangle(0, 0, 100, 50, kRed)}).bmp);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->width, 134);
    EXPECT_EQ(seen->at(66, 33), kRed);
    EXPECT_EQ(seen->at(0, 33), kBlack);
}

TEST_F(Readers, ImageMagickReadsOurPngsPixelForPixel) {
    // Rows longer than deflate's 32K window, with noise (literals), a gradient and flat runs
    // (matches, which must stay inside the window).
    picture::Image image = picture::solidImage(11000, 3, 0x203040);
    uint32_t seed = 1;
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            if (x % 1000 < 300) {
                seed = seed * 1103515245u + 12345u;
                image.at(x, y) = (seed >> 8) & 0xFFFFFF;
            } else if (x % 1000 < 600) {
                image.at(x, y) = static_cast<uint32_t>(x & 0xFF) * 0x010101u;
            }
        }
    }
    const auto seen = imageMagickPixels(picture::encodePng(image), "png");
    ASSERT_TRUE(seen);
    ASSERT_EQ(seen->width, image.width);
    ASSERT_EQ(seen->height, image.height);
    EXPECT_TRUE(seen->pixels == image.pixels);

    // With a transparent colour: those pixels, and only those, are left out.
    const auto cut = imageMagickPixels(picture::encodePng(image, 0x203040), "png");
    ASSERT_TRUE(cut);
    size_t wrong = 0;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const bool hidden = (cut->pixels[i] & 0xFF000000u) != 0;
        wrong += hidden != (image.pixels[i] == 0x203040) || (!hidden && cut->pixels[i] != image.pixels[i]);
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace qm::sim::testing
