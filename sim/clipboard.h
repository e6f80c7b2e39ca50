// The simulated clipboard: an ordered list of formats, each with its data, as the
// system's clipboard holds them. Text goes as Unicode and 8-bit text (UTF-8 standing for
// the ANSI code page), the link format is the registered "Link", pictures are kept in
// their file form whatever their kind.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/platform/platform.h"

namespace qm::sim {

class SimClipboard : public platform::Clipboard {
public:
    void clear() override;
    bool hasFormat(int32_t format) override;
    std::optional<platform::Picture> getPicture(int32_t format) override;
    std::optional<std::string> getText(int32_t format) override;
    void setPicture(const platform::Picture& picture, int32_t format) override;
    void setText(const std::string& text, int32_t format) override;

    std::vector<platform::ClipboardEntry> copyAll(size_t maxBytes) override;
    void replaceAll(const std::vector<platform::ClipboardEntry>& entries) override;
    void add(const platform::ClipboardEntry& entry) override;

private:
    // Registered formats get numbers from 0xC000 up, one per name whatever its case, as
    // the system gives them.
    uint32_t registered(const std::string& name);
    const platform::ClipboardEntry* find(uint32_t number) const;

    struct Registered {
        uint32_t number;
        std::string name;
    };
    std::vector<platform::ClipboardEntry> entries_;
    std::map<std::string, Registered> registered_;  // by the name in upper case
};

// Text as the bytes of the Unicode text format (UTF-16, little-endian, ending in a NUL)
// and back (up to the first NUL).
std::vector<uint8_t> unicodeTextBytes(const std::string& utf8);
std::string textFromUnicodeBytes(const std::vector<uint8_t>& bytes);

}  // namespace qm::sim
