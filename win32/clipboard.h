// The Windows clipboard for the add-in: text and the picture formats it reads and places,
// each carried as the bytes of its file form (BMP, placeable WMF, EMF, LOGPALETTE), and
// every format at once for keeping the user's clipboard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/platform.h"
#include "win32/utf.h"

namespace qm::win32 {

// Conversions between clipboard data and file forms, usable without a clipboard.
namespace clipdata {

// A BMP file's bytes to a packed DIB (header, colour table, bits) and back. Nothing when
// the bytes are not a bitmap this understands.
std::optional<std::vector<uint8_t>> packedDibFromBmp(const std::vector<uint8_t>& bmp);
std::optional<std::vector<uint8_t>> bmpFromPackedDib(const uint8_t* dib, size_t size);

// The 22-byte header that makes a Windows metafile a placeable one: its bounding box in
// metafile units and how many of those make an inch.
struct PlaceableBounds {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    uint16_t unitsPerInch = 1440;
};
inline constexpr size_t kPlaceableHeaderSize = 22;

// Header plus metafile bits.
std::vector<uint8_t> placeableWmf(const PlaceableBounds& bounds, const uint8_t* bits, size_t size);
// The bounds of a placeable WMF; nothing when the key or checksum is wrong or it is too short.
std::optional<PlaceableBounds> placeableBounds(const std::vector<uint8_t>& wmf);

// The window origin and extent a metafile sets (its first SetWindowOrg / SetWindowExt
// records), in metafile units; nothing when it sets no extent.
struct WindowBox {
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;
    int16_t height = 0;
};
std::optional<WindowBox> metafileWindow(const uint8_t* bits, size_t size);

// The placeable bounds for a metafile picture of mapping mode `mode` and extents in
// that mode's units (HIMETRIC for the isotropic and anisotropic modes).
PlaceableBounds boundsForPicture(const uint8_t* bits, size_t size, LONG mode, LONG xExt, LONG yExt);

}  // namespace clipdata

class Win32Clipboard : public platform::Clipboard {
public:
    // The clipboard is busy while another program has it open: opening is tried
    // `attempts` times, `retryDelayMs` apart.
    explicit Win32Clipboard(int attempts = 20, DWORD retryDelayMs = 25) noexcept
        : attempts_(attempts), retryDelayMs_(retryDelayMs) {}

    // The add-in's format numbers name the system's formats, except the link format
    // (0xBF00), which is the registered "Link" format.
    static UINT systemFormat(int32_t format);

    // Each throws PlatformError when the clipboard cannot be opened or the data not be
    // placed; a format that is absent or unreadable reads as nothing.
    void clear() override;
    bool hasFormat(int32_t format) override;
    // Bitmap (CF_BITMAP, as a 24-bit BMP file), DIB (as a BMP file), metafile picture (as
    // a placeable WMF), enhanced metafile (EMF file), palette (LOGPALETTE).
    std::optional<platform::Picture> getPicture(int32_t format) override;
    // Text is CF_UNICODETEXT when present, else CF_TEXT in the ANSI code page. Other
    // formats read as ANSI text of all their bytes (the link format holds several
    // NUL-separated parts).
    std::optional<std::string> getText(int32_t format) override;
    // Adds the format to what the clipboard holds (clear() empties it).
    void setPicture(const platform::Picture& picture, int32_t format) override;
    // Text goes as CF_UNICODETEXT and CF_TEXT.
    void setText(const std::string& text, int32_t format) override;

    // Every format, including those the system synthesizes from another (they are read,
    // and so come back, as data of their own). Bitmaps are kept as 24-bit BMP files.
    std::vector<platform::ClipboardEntry> copyAll(size_t maxBytes) override;
    void replaceAll(const std::vector<platform::ClipboardEntry>& entries) override;
    void add(const platform::ClipboardEntry& entry) override;

private:
    int attempts_;
    DWORD retryDelayMs_;
};

}  // namespace qm::win32
