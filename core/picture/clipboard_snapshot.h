// A copy of what the user had on the clipboard, taken before the add-in copies pictures
// through it and put back afterwards: every format that holds data, in the clipboard's
// order, up to a size limit.
#pragma once

#include <cstddef>
#include <vector>

#include "core/platform/platform.h"

namespace qm::picture {

// How much of the clipboard is kept, all formats together. A copy of a large range of
// cells from a spreadsheet (some 100,000 cells, in its dozen text, spreadsheet and
// picture formats) stays under it, and the add-in, a guest in a 32-bit host, holds no
// more than this for the moment it needs the clipboard. A format that would go beyond it
// is left out.
inline constexpr size_t kKeptClipboardBytes = size_t{64} << 20;

class ClipboardSnapshot {
public:
    // Reads every format the clipboard holds; what cannot be read is left out. A clipboard
    // that cannot be read at all gives an empty snapshot.
    static ClipboardSnapshot take(platform::Clipboard& clipboard, size_t maxBytes = kKeptClipboardBytes);
    // Empties the clipboard and puts the saved formats back in their order; a format the
    // system refuses is skipped so that the rest still comes back.
    void restore(platform::Clipboard& clipboard) const;
    size_t size() const { return entries_.size(); }

private:
    std::vector<platform::ClipboardEntry> entries_;
};

// Restores a snapshot on every path out of a scope.
class ClipboardGuard {
public:
    explicit ClipboardGuard(platform::Clipboard& clipboard)
        : clipboard_(clipboard), snapshot_(ClipboardSnapshot::take(clipboard)) {}
    ~ClipboardGuard() { snapshot_.restore(clipboard_); }
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;

private:
    platform::Clipboard& clipboard_;
    ClipboardSnapshot snapshot_;
};

}  // namespace qm::picture
