// Clipboard snapshot and restore.
#include "core/picture/clipboard_snapshot.h"

namespace qm::picture {
namespace {

namespace cf = platform::cf;
constexpr int32_t kSavedFormats[] = {cf::kBitmap, cf::kMetafilePict, cf::kDib, cf::kPalette, cf::kLink, cf::kText};

bool isPicture(int32_t format) {
    return format == cf::kBitmap || format == cf::kMetafilePict || format == cf::kDib || format == cf::kPalette;
}

}  // namespace

ClipboardSnapshot ClipboardSnapshot::take(platform::Clipboard& clipboard) {
    ClipboardSnapshot snap;
    for (int32_t format : kSavedFormats) {
        try {
            if (!clipboard.hasFormat(format)) continue;
            if (isPicture(format)) {
                if (auto p = clipboard.getPicture(format)) snap.entries_.push_back({format, std::move(*p)});
            } else if (auto t = clipboard.getText(format)) {
                snap.entries_.push_back({format, std::move(*t)});
            }
        } catch (const std::exception&) {
        }
    }
    return snap;
}

void ClipboardSnapshot::restore(platform::Clipboard& clipboard) const {
    try {
        clipboard.clear();
    } catch (const std::exception&) {
    }
    for (const Entry& e : entries_) {
        try {
            if (const auto* p = std::get_if<platform::Picture>(&e.value)) clipboard.setPicture(*p, e.format);
            else clipboard.setText(std::get<std::string>(e.value), e.format);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace qm::picture
