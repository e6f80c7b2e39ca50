// The drawing sheet and its commands.
#include "core/draw/drawing_sheet.h"

#include "core/addin/errors.h"
#include "core/host/constants.h"
#include "core/picture/bmp.h"
#include "core/text/number.h"

namespace qm::draw {
namespace {

namespace keys = settings::keys;
using namespace host;

// A host that refuses every name would keep the naming loop going for ever; far more
// sheets than any workbook holds is where it gives up and keeps the host's own name.
constexpr int kMaxNamingAttempts = 10000;

void setBackgroundFromColor(addin::AddinState& s, const SheetPtr& sheet, int32_t color, bool ignoreFailure,
                            std::optional<HostError>& failure) {
    const std::string path = makeColorBitmapFile(s, color);
    if (path.empty()) return;
    if (ignoreFailure) addin::ignoreErrors([&] { sheet->setBackgroundPicture(path); });
    else failure = addin::captureError([&] { must(sheet).setBackgroundPicture(path); });
    s.os.files.removeFile(path);
}

}  // namespace

void createDrawingSheet(addin::AddinState& s) {
    SheetsPtr sheets = must(s.app->activeWorkbook()).sheets();
    SheetPtr sheet = must(sheets).add(sheets->item(sheets->count()));
    if (!sheet) return;

    for (int n = 0; n < kMaxNamingAttempts; ++n) {
        const std::string name = n == 0 ? "DRAW" : "DRAW(" + std::to_string(n) + ")";
        if (addin::ignoreErrors([&] { sheet->setName(name); })) break;
    }
    addin::ignoreErrors([&] { must(sheet->cells()).setColumnWidth(s.settings.number(keys::GridWidth)); });
    addin::ignoreErrors([&] { must(sheet->cells()).setRowHeight(s.settings.number(keys::GridHeight)); });
    if (s.settings.number(keys::BackColor) == 1.0) {
        // A colour that does not read as a number leaves the sheet without a background.
        if (auto color = addin::tryGet([&] { return s.settings.integer(keys::BackColorValue); })) {
            std::optional<HostError> ignored;
            setBackgroundFromColor(s, sheet, *color, true, ignored);
        }
    }
}

void gridViewClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    WindowPtr window = s.app->activeWindow();
    if (!window) return;
    addin::ignoreErrors([&] {
        window->setDisplayGridlines(must(s.button(addin::Btn::GridView).get()).state() == msoButtonUp);
    });
    syncGridViewButton(s);
}

void syncGridViewButton(addin::AddinState& s) {
    if (!s.drawMode) return;
    addin::EventButton& button = s.button(addin::Btn::GridView);
    if (!button) return;
    const bool shown = addin::tryGet([&] { return must(s.app->activeWindow()).displayGridlines(); }).value_or(false);
    addin::ignoreErrors([&] { button->setState(shown ? msoButtonDown : msoButtonUp); });
}

void backColorNonClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    if (auto e = addin::captureError([&] { must(s.app->activeSheet()).setBackgroundPicture(""); })) s.showError(*e);
}

void backColorColorClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!addin::hostReady(s)) return;
    std::optional<int32_t> color = s.os.colors.choose(std::nullopt);
    if (!color) return;  // Cancel changes nothing and shows nothing
    std::optional<HostError> failure;
    setBackgroundFromColor(s, s.app->activeSheet(), *color, false, failure);
    if (failure && failure->number() != 0 && failure->number() != err::kCommonDialogCancel) s.showError(*failure);
}

std::string makeColorBitmapFile(addin::AddinState& s, int32_t color) {
    const std::string path = getTempFilePath(s);
    if (path.empty()) return {};
    const auto image = picture::solidImage(kColorBitmapWidth, kColorBitmapHeight, static_cast<uint32_t>(color));
    try {
        s.os.files.writeFileReplacing(path, picture::encodeBmp(image));
    } catch (const platform::PlatformError&) {
        s.os.files.removeFile(path);
        return {};
    }
    return path;
}

std::string getTempFilePath(addin::AddinState& s) { return newTempFileName(s); }

std::string newTempFileName(addin::AddinState& s) {
    const std::string folder = tempFolderPath(s);
    if (folder.empty()) return {};  // already reported
    std::optional<std::string> path = s.os.temp.createTempFile(folder, "NVK");
    if (!path) {
        s.message("Err", platform::mb::kOkOnly);
        return {};
    }
    return *path;
}

std::string tempFolderPath(addin::AddinState& s) {
    std::optional<std::string> folder = s.os.temp.tempFolder();
    if (!folder) {
        s.message("Err", platform::mb::kOkOnly);
        return {};
    }
    if (!folder->empty() && folder->back() != '\\' && folder->back() != '/') folder->push_back('\\');
    return *folder;
}

}  // namespace qm::draw
