// Clipboard snapshot and restore.
#include "core/picture/clipboard_snapshot.h"

#include <exception>

namespace qm::picture {

ClipboardSnapshot ClipboardSnapshot::take(platform::Clipboard& clipboard, size_t maxBytes) {
    ClipboardSnapshot snap;
    try {
        snap.entries_ = clipboard.copyAll(maxBytes);
    } catch (const std::exception&) {
    }
    return snap;
}

void ClipboardSnapshot::restore(platform::Clipboard& clipboard) const {
    try {
        clipboard.replaceAll(entries_);
    } catch (const std::exception&) {
        // Not even emptied: one more try at least takes the add-in's picture off.
        try {
            clipboard.clear();
        } catch (const std::exception&) {
        }
    }
}

}  // namespace qm::picture
