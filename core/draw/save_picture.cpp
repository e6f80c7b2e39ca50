// Save Picture.
#include "core/draw/save_picture.h"

#include "core/addin/errors.h"
#include "core/host/constants.h"
#include "core/picture/clipboard_snapshot.h"
#include "core/text/strings.h"

namespace qm::draw {
namespace {

using namespace host;
namespace cf = platform::cf;
namespace mb = platform::mb;

// Writes the clipboard's picture of `format` to `path`; false when the clipboard has none.
bool writeClipboardPicture(addin::AddinState& s, int32_t format, const std::string& path) {
    if (!s.os.clipboard.hasFormat(format)) return false;
    std::optional<platform::Picture> picture = s.os.clipboard.getPicture(format);
    if (!picture) return false;
    try {
        s.os.files.writeFileReplacing(path, picture->bytes);
    } catch (const platform::PlatformError& e) {
        throw HostError(75, std::string("Path/File access error (") + e.what() + ")");
    }
    return true;
}

}  // namespace

void savePictureClick(addin::AddinState& s, const CommandBarControlPtr&, bool&) {
    if (!s.app->activeWorkbook() || !s.app->activeWindow() || !s.app->selection()) return;
    if (!addin::hostReady(s)) return;
    SelectionPtr selection = s.app->selection();
    if (!selection) return;

    const std::string typeName = text::upperAscii(selection->typeName());
    const bool cells = typeName == "RANGE";
    if (s.draw.btnSelectObjects && s.draw.btnSelectObjects->state() == msoButtonDown && cells) {
        s.message(text::loadResText(s.text.base() + 505), mb::kCritical);
        return;
    }
    if (cells && selection->count() == 1) {
        if (s.message(text::loadResText(s.text.base() + 506), mb::kOkCancel | mb::kQuestion) == mb::kResultCancel) {
            return;
        }
    }
    const std::string path = s.app->getSaveAsFilename("", kSavePictureFilter, cells ? 2 : 1, "Save");
    if (path.empty() || text::upperAscii(path) == "FALSE") return;

    // From here on the clipboard comes back on every path, after the messages.
    const picture::ClipboardGuard clipboardGuard(s.os.clipboard);
    std::optional<HostError> failure = addin::captureError([&] {
        s.os.clipboard.clear();
        must(s.app->selection()).copy();
    });
    const std::string extension = path.size() >= 4 ? text::upperAscii(path.substr(path.size() - 4)) : std::string();
    const int32_t format = extension == ".EMF" ? cf::kEnhMetafile : extension == ".BMP" ? cf::kBitmap : 0;
    bool pictureFound = false;
    if (format) {
        if (auto e = addin::captureError([&] { pictureFound = writeClipboardPicture(s, format, path); })) {
            pictureFound = true;  // the picture was there; the failure is reported below
            if (!failure) failure = e;
        }
    }
    if (!pictureFound) s.message("Err", mb::kOkOnly);
    if (failure) s.showError(*failure);
}

}  // namespace qm::draw
