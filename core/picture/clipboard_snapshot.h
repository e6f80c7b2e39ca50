// A copy of what the user had on the clipboard, taken before the add-in copies pictures
// through it and put back afterwards: bitmap, metafile picture, DIB and palette as
// pictures, the link format and text as text, in that order.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "core/platform/platform.h"

namespace qm::picture {

class ClipboardSnapshot {
public:
    // Reads every saved format the clipboard holds; a format that cannot be read is left out.
    static ClipboardSnapshot take(platform::Clipboard& clipboard);
    // Clears the clipboard and puts the saved entries back in their order; failures of
    // single entries are ignored so that the rest still comes back.
    void restore(platform::Clipboard& clipboard) const;
    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        int32_t format;
        std::variant<platform::Picture, std::string> value;
    };
    std::vector<Entry> entries_;
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
