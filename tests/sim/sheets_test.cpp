// The application object, workbooks, sheets, cells, windows and sheet backgrounds.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace qm::sim {
namespace {

using namespace host;
using testing::expectHostError;
using testing::HostWithBook;

const char* const kNameRefused =
    "Cannot rename a sheet to the same name as another sheet, a referenced object library or a workbook "
    "referenced by Visual Basic.";

TEST(SimApplication, AnswersWithNothingWhileNoWorkbookIsOpen) {
    SimHost host;
    auto app = host.application();
    EXPECT_EQ(app->version(), "11.0");
    EXPECT_EQ(app->activeWorkbook(), nullptr);
    EXPECT_EQ(app->activeWindow(), nullptr);
    EXPECT_EQ(app->activeSheet(), nullptr);
    EXPECT_EQ(app->selection(), nullptr);
    EXPECT_EQ(app->caption(), "Microsoft Excel");
    EXPECT_DOUBLE_EQ(app->top(), 1.75);
    EXPECT_DOUBLE_EQ(app->centimetersToPoints(2.54), 72.0);

    host.setVersion("12.0");
    host.setApplicationTop(20.5);
    host.addWorkbook("Budget.xls");
    EXPECT_EQ(app->version(), "12.0");
    EXPECT_DOUBLE_EQ(app->top(), 20.5);
    EXPECT_EQ(app->caption(), "Microsoft Excel - Budget.xls");
}

TEST(SimApplication, RemembersDisplaySettings) {
    SimHost host;
    auto app = host.application();
    app->setScreenUpdating(false);
    app->setDisplayFormulaBar(false);
    app->setDisplayFullScreen(true);
    EXPECT_FALSE(app->screenUpdating());
    EXPECT_FALSE(host.displayFormulaBar());
    EXPECT_TRUE(app->displayFullScreen());
}

TEST(SimApplication, SaveAsDialogAnswersFromTheQueueAndRecordsItsArguments) {
    SimHost host;
    auto app = host.application();
    host.queueSaveAsAnswer("/tmp/a.emf");
    host.queueSaveAsAnswer(std::nullopt);
    const std::string filter = "meta (*.emf),*.emf,bitmap (*.bmp),*.bmp";
    EXPECT_EQ(app->getSaveAsFilename("", filter, 2, "Save"), "/tmp/a.emf");
    EXPECT_EQ(app->getSaveAsFilename("", filter, 1, "Save"), "False");
    EXPECT_EQ(app->getSaveAsFilename("", filter, 1, "Again"), "False");
    ASSERT_EQ(host.saveAsRequests().size(), 3u);
    EXPECT_EQ(host.saveAsRequests()[0].filterIndex, 2);
    EXPECT_EQ(host.saveAsRequests()[0].fileFilter, filter);
    EXPECT_EQ(host.saveAsRequests()[2].title, "Again");
}

TEST(SimApplication, WindowFinderAnswersForTheMainWindowOnly) {
    SimHost host;
    host.addWorkbook("Book1");
    auto& finder = host.windowFinder();
    const auto rect = finder.findWindowRect("XLMAIN", "Microsoft Excel - Book1");
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(rect->right, 1024);
    EXPECT_FALSE(finder.findWindowRect("XLMAIN", "Microsoft Excel").has_value());
    EXPECT_FALSE(finder.findWindowRect("Notepad", "Microsoft Excel - Book1").has_value());
    host.setMainWindowRect(std::nullopt);
    EXPECT_FALSE(finder.findWindowRect("XLMAIN", "Microsoft Excel - Book1").has_value());
}

TEST(SimSheets, RenamingRefusesTakenAndInvalidNames) {
    HostWithBook h;
    h.host.addWorksheet(h.book, "DRAW");
    auto sheet = h.app->activeSheet();
    for (const std::string& bad : std::vector<std::string>{"draw", "", "a:b", "a\\b", "a/b", "a?b", "a*b", "a[b",
                                                          "a]b", std::string(32, 'x')}) {
        expectHostError([&] { sheet->setName(bad); }, err::kApplicationDefined, kNameRefused);
    }
    EXPECT_EQ(sheet->name(), "Sheet1");
    sheet->setName("DRAW(1)");
    EXPECT_EQ(sheet->name(), "DRAW(1)");
    sheet->setName(std::string(31, 'x'));
    sheet->setName("draw(1)");  // its own name in another case
    EXPECT_EQ(h.sheet->name, "draw(1)");
}

TEST(SimSheets, AddPutsANewNumberedWorksheetAfterTheGivenSheetAndActivatesIt) {
    HostWithBook h;
    h.host.addWorksheet(h.book, "Sheet2");
    h.host.addWorksheet(h.book, "Sheet3");
    auto sheets = h.app->activeWorkbook()->sheets();
    auto added = sheets->add(sheets->item(sheets->count()));
    EXPECT_EQ(added->name(), "Sheet4");
    EXPECT_EQ(sheets->count(), 4);
    EXPECT_EQ(sheets->item(4)->name(), "Sheet4");
    EXPECT_EQ(h.app->activeSheet()->name(), "Sheet4");

    auto before = sheets->add(nullptr);  // before the active sheet
    EXPECT_EQ(before->name(), "Sheet5");
    EXPECT_EQ(sheets->item(4)->name(), "Sheet5");
    expectHostError([&] { sheets->item(9); }, 9, "Subscript out of range");
}

TEST(SimSheets, CellSizesHaveDefaultsAndRefuseValuesOutOfRange) {
    HostWithBook h;
    auto cells = h.app->activeSheet()->cells();
    EXPECT_DOUBLE_EQ(cells->columnWidth(), 8.43);
    EXPECT_DOUBLE_EQ(cells->rowHeight(), 12.75);
    EXPECT_EQ(cells->count(), 65536 * 256);
    cells->setColumnWidth(1.0);
    cells->setRowHeight(10.0);
    EXPECT_DOUBLE_EQ(h.sheet->columnWidth, 1.0);
    EXPECT_DOUBLE_EQ(cells->rowHeight(), 10.0);

    expectHostError([&] { cells->setColumnWidth(256); }, err::kApplicationDefined,
                    "Unable to set the ColumnWidth property of the Range class");
    expectHostError([&] { cells->setColumnWidth(-1); }, err::kApplicationDefined);
    expectHostError([&] { cells->setRowHeight(409.5); }, err::kApplicationDefined,
                    "Unable to set the RowHeight property of the Range class");
    EXPECT_DOUBLE_EQ(cells->columnWidth(), 1.0);
    EXPECT_DOUBLE_EQ(cells->rowHeight(), 10.0);
    cells->setColumnWidth(255);
    cells->setRowHeight(0);
}

TEST(SimSheets, ChartSheetsLackCellsShapesAndBackgrounds) {
    HostWithBook h;
    auto chart = h.host.addChartSheet(h.book, "Chart1");
    h.host.activateSheet(chart);
    auto sheet = h.app->activeSheet();
    EXPECT_EQ(sheet->typeName(), "Chart");
    expectHostError([&] { sheet->cells(); }, err::kNotSupported, "Object doesn't support this property or method");
    expectHostError([&] { sheet->shapes(); }, err::kNotSupported);
    expectHostError([&] { sheet->setBackgroundPicture(""); }, err::kNotSupported);
    EXPECT_EQ(h.app->selection()->typeName(), "ChartArea");
}

TEST(SimSheets, GridlinesBelongToEachSheetOfTheWindow) {
    HostWithBook h;
    auto second = h.host.addWorksheet(h.book, "Sheet2");
    auto window = h.app->activeWindow();
    EXPECT_TRUE(window->displayGridlines());
    window->setDisplayGridlines(false);
    h.host.activateSheet(second);
    EXPECT_TRUE(window->displayGridlines());
    h.host.activateSheet(h.sheet);
    EXPECT_FALSE(window->displayGridlines());
}

class BackgroundTest : public ::testing::Test {
protected:
    std::string write(const std::vector<uint8_t>& bytes) {
        path_ = ::testing::TempDir() + "qm_sim_background_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tmp";
        std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
        return path_;
    }
    void TearDown() override {
        if (!path_.empty()) std::remove(path_.c_str());
    }
    HostWithBook h;
    std::string path_;
};

TEST_F(BackgroundTest, ASolidBitmapShowsItsColour) {
    auto sheet = h.app->activeSheet();
    sheet->setBackgroundPicture(write(testing::makeBmp(57, 50, 0x0000FF)));
    ASSERT_TRUE(h.sheet->background.has_value());
    EXPECT_EQ(h.sheet->background->solidColor, 0x0000FF);
    EXPECT_EQ(h.sheet->background->width, 57);
    EXPECT_EQ(h.sheet->background->height, 50);
    sheet->setBackgroundPicture("");
    EXPECT_FALSE(h.sheet->background.has_value());
}

TEST_F(BackgroundTest, A32BitPatternedBitmapHasNoSingleColour) {
    h.app->activeSheet()->setBackgroundPicture(write(testing::makeBmp(4, 3, 0x123456, 32, true)));
    ASSERT_TRUE(h.sheet->background.has_value());
    EXPECT_FALSE(h.sheet->background->solidColor.has_value());
}

TEST_F(BackgroundTest, MissingOrInvalidFilesAreRefused) {
    auto sheet = h.app->activeSheet();
    const std::string refused = "Unable to set the SetBackgroundPicture property of the Worksheet class";
    expectHostError([&] { sheet->setBackgroundPicture(::testing::TempDir() + "qm_sim_no_such_file.bmp"); },
                    err::kApplicationDefined, refused);
    auto truncated = testing::makeBmp(10, 10, 0xFFFFFF);
    truncated.resize(truncated.size() - 1);
    expectHostError([&] { sheet->setBackgroundPicture(write(truncated)); }, err::kApplicationDefined, refused);
    auto eightBit = testing::makeBmp(10, 10, 0xFFFFFF);
    eightBit[28] = 8;
    expectHostError([&] { sheet->setBackgroundPicture(write(eightBit)); }, err::kApplicationDefined, refused);
    EXPECT_FALSE(h.sheet->background.has_value());
}

}  // namespace
}  // namespace qm::sim
