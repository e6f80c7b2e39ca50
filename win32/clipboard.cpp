// The Windows clipboard and the conversions between its handles and file forms.
#include "win32/clipboard.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

#include "core/platform/platform.h"
#include "core/text/strings.h"

namespace qm::win32 {

namespace cf = platform::cf;

// ---------------------------------------------------------------- data conversions

namespace clipdata {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t read32(const uint8_t* p) { return static_cast<uint32_t>(read16(p)) | (static_cast<uint32_t>(read16(p + 2)) << 16); }
void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v));
    put16(out, static_cast<uint16_t>(v >> 16));
}

// Bytes of the DIB header plus its colour table (and the three masks a plain
// BITMAPINFOHEADER carries for BI_BITFIELDS): where the bits start in a packed DIB.
std::optional<size_t> dibBitsOffset(const uint8_t* dib, size_t size) {
    if (size < 4) return std::nullopt;
    const uint32_t headerSize = read32(dib);
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        if (size < headerSize) return std::nullopt;
        const uint16_t bitCount = read16(dib + 10);
        const size_t colors = bitCount <= 8 ? (size_t{1} << bitCount) : 0;
        return headerSize + colors * 3;
    }
    if (headerSize < sizeof(BITMAPINFOHEADER) || size < headerSize) return std::nullopt;
    const uint16_t bitCount = read16(dib + 14);
    const uint32_t compression = read32(dib + 16);
    const uint32_t used = read32(dib + 32);
    size_t colors = used != 0 ? used : (bitCount <= 8 ? (size_t{1} << bitCount) : 0);
    if (colors > 256 && bitCount <= 8) return std::nullopt;
    size_t offset = headerSize + colors * 4;
    if (headerSize == sizeof(BITMAPINFOHEADER) && (compression == BI_BITFIELDS || compression == 6 /*BI_ALPHABITFIELDS*/))
        offset += compression == BI_BITFIELDS ? 12 : 16;
    return offset;
}

// Whether the bits after `bitsAt` are all there: GDI reads as many as the header says,
// wherever the buffer ends.
bool bitsComplete(const uint8_t* dib, size_t size, size_t bitsAt) {
    if (read32(dib) == sizeof(BITMAPCOREHEADER)) {
        const size_t width = read16(dib + 4), height = read16(dib + 6), bitCount = read16(dib + 10);
        return size - bitsAt >= ((width * bitCount + 31) / 32) * 4 * height;
    }
    const int32_t width = static_cast<int32_t>(read32(dib + 4));
    const int32_t height = static_cast<int32_t>(read32(dib + 8));
    const uint16_t bitCount = read16(dib + 14);
    const uint32_t compression = read32(dib + 16);
    const uint32_t imageSize = read32(dib + 20);
    if (width <= 0 || height == 0 || bitCount == 0) return false;
    if (compression == BI_RGB || compression == BI_BITFIELDS || compression == 6) {
        const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
        return size - bitsAt >= stride * uint64_t(height < 0 ? -int64_t(height) : height);
    }
    return imageSize != 0 && size - bitsAt >= imageSize;  // compressed: as large as it says
}

}  // namespace

std::optional<std::vector<uint8_t>> packedDibFromBmp(const std::vector<uint8_t>& bmp) {
    if (bmp.size() < kFileHeaderSize + sizeof(BITMAPCOREHEADER) || bmp[0] != 'B' || bmp[1] != 'M') return std::nullopt;
    const uint32_t bitsAt = read32(bmp.data() + 10);
    const uint8_t* dib = bmp.data() + kFileHeaderSize;
    const size_t dibSize = bmp.size() - kFileHeaderSize;
    std::optional<size_t> tableEnd = dibBitsOffset(dib, dibSize);
    if (!tableEnd || kFileHeaderSize + *tableEnd > bitsAt || bitsAt > bmp.size()) return std::nullopt;
    // Header and colour table, then the bits, without any gap the file had between them.
    std::vector<uint8_t> out(dib, dib + *tableEnd);
    out.insert(out.end(), bmp.begin() + bitsAt, bmp.end());
    if (!bitsComplete(out.data(), out.size(), *tableEnd)) return std::nullopt;
    return out;
}

std::optional<std::vector<uint8_t>> bmpFromPackedDib(const uint8_t* dib, size_t size) {
    std::optional<size_t> bitsAt = dibBitsOffset(dib, size);
    if (!bitsAt || *bitsAt > size || !bitsComplete(dib, size, *bitsAt)) return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(kFileHeaderSize + size);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(kFileHeaderSize + size));
    put32(out, 0);
    put32(out, static_cast<uint32_t>(kFileHeaderSize + *bitsAt));
    out.insert(out.end(), dib, dib + size);
    return out;
}

std::vector<uint8_t> placeableWmf(const PlaceableBounds& b, const uint8_t* bits, size_t size) {
    std::vector<uint8_t> out;
    out.reserve(kPlaceableHeaderSize + size);
    put32(out, kPlaceableKey);
    put16(out, 0);  // hmf
    put16(out, static_cast<uint16_t>(b.left));
    put16(out, static_cast<uint16_t>(b.top));
    put16(out, static_cast<uint16_t>(b.right));
    put16(out, static_cast<uint16_t>(b.bottom));
    put16(out, b.unitsPerInch);
    put32(out, 0);  // reserved
    uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2) checksum ^= read16(out.data() + i);
    put16(out, checksum);
    out.insert(out.end(), bits, bits + size);
    return out;
}

std::optional<PlaceableBounds> placeableBounds(const std::vector<uint8_t>& wmf) {
    if (wmf.size() < kPlaceableHeaderSize || read32(wmf.data()) != kPlaceableKey) return std::nullopt;
    uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2) checksum ^= read16(wmf.data() + i);
    if (checksum != read16(wmf.data() + 20)) return std::nullopt;
    PlaceableBounds b;
    b.left = static_cast<int16_t>(read16(wmf.data() + 6));
    b.top = static_cast<int16_t>(read16(wmf.data() + 8));
    b.right = static_cast<int16_t>(read16(wmf.data() + 10));
    b.bottom = static_cast<int16_t>(read16(wmf.data() + 12));
    b.unitsPerInch = read16(wmf.data() + 14);
    if (b.unitsPerInch == 0) return std::nullopt;
    return b;
}

std::optional<WindowBox> metafileWindow(const uint8_t* bits, size_t size) {
    constexpr uint16_t kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C;
    if (size < 18) return std::nullopt;
    size_t at = static_cast<size_t>(read16(bits + 2)) * 2;  // the header's size in words
    WindowBox box;
    bool haveExtent = false, haveOrigin = false;
    while (at + 6 <= size && !(haveExtent && haveOrigin)) {
        const size_t recordSize = static_cast<size_t>(read32(bits + at)) * 2;
        const uint16_t function = read16(bits + at + 4);
        if (recordSize < 6 || at + recordSize > size || function == 0) break;
        // Both records hold y, then x.
        if (recordSize >= 10 && function == kSetWindowExt && !haveExtent) {
            box.height = static_cast<int16_t>(read16(bits + at + 6));
            box.width = static_cast<int16_t>(read16(bits + at + 8));
            haveExtent = true;
        } else if (recordSize >= 10 && function == kSetWindowOrg && !haveOrigin) {
            box.y = static_cast<int16_t>(read16(bits + at + 6));
            box.x = static_cast<int16_t>(read16(bits + at + 8));
            haveOrigin = true;
        }
        at += recordSize;
    }
    if (!haveExtent) return std::nullopt;
    return box;
}

PlaceableBounds boundsForPicture(const uint8_t* bits, size_t size, LONG mode, LONG xExt, LONG yExt) {
    auto clamp16 = [](double v) {
        return static_cast<int16_t>(std::lround(std::fmax(-32768.0, std::fmin(32767.0, v))));
    };
    auto inchFrom = [](double units, double himetric) {
        return static_cast<uint16_t>(std::lround(std::fmax(1.0, std::fmin(65535.0, units * 2540.0 / himetric))));
    };
    const bool scalable = mode == MM_ANISOTROPIC || mode == MM_ISOTROPIC;
    PlaceableBounds b;
    if (std::optional<WindowBox> window = metafileWindow(bits, size)) {
        b.left = window->x;
        b.top = window->y;
        b.right = clamp16(double(window->x) + window->width);
        b.bottom = clamp16(double(window->y) + window->height);
        if (scalable && xExt > 0) b.unitsPerInch = inchFrom(std::abs(window->width), xExt);
        else if (scalable && yExt > 0) b.unitsPerInch = inchFrom(std::abs(window->height), yExt);
        return b;
    }
    // No extent in the records: the picture's size alone, in the units of its mode.
    uint16_t inch = 96;
    switch (mode) {
        case MM_LOMETRIC: inch = 254; break;
        case MM_HIMETRIC:
        case MM_ISOTROPIC:
        case MM_ANISOTROPIC: inch = 2540; break;
        case MM_LOENGLISH: inch = 100; break;
        case MM_HIENGLISH: inch = 1000; break;
        case MM_TWIPS: inch = 1440; break;
        default: break;
    }
    double width = std::abs(double(xExt)), height = std::abs(double(yExt));
    const double largest = std::fmax(width, height);
    if (largest > 32767.0) {
        // Fewer units per inch, so that the box fits the header's 16-bit numbers.
        const double scale = 32767.0 / largest;
        width *= scale;
        height *= scale;
        inch = static_cast<uint16_t>(std::fmax(1.0, std::floor(inch * scale)));
    }
    b.right = clamp16(width);
    b.bottom = clamp16(height);
    b.unitsPerInch = inch;
    return b;
}

}  // namespace clipdata

// ---------------------------------------------------------------- the clipboard

namespace {

using clipdata::bmpFromPackedDib;
using clipdata::packedDibFromBmp;
using clipdata::put16;
using clipdata::put32;
using clipdata::read16;
using clipdata::read32;

// The clipboard, open for the lifetime of this object.
class OpenClipboardScope {
public:
    OpenClipboardScope(int attempts, DWORD delayMs) {
        DWORD error = 0;
        for (int i = 0; i < (attempts > 0 ? attempts : 1); ++i) {
            if (i > 0) ::Sleep(delayMs);
            if (::OpenClipboard(nullptr)) return;
            error = ::GetLastError();
        }
        throw platform::PlatformError("cannot open the clipboard: " + errorText(error));
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    ~OpenClipboardScope() { ::CloseClipboard(); }
};

struct GlobalFreer { void operator()(HGLOBAL h) const noexcept { ::GlobalFree(h); } };
using UniqueGlobal = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;
struct GdiDeleter { void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); } };
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;
struct MetafileDeleter { void operator()(HMETAFILE h) const noexcept { ::DeleteMetaFile(h); } };
using UniqueMetafile = std::unique_ptr<std::remove_pointer_t<HMETAFILE>, MetafileDeleter>;
struct EnhMetafileDeleter { void operator()(HENHMETAFILE h) const noexcept { ::DeleteEnhMetaFile(h); } };
using UniqueEnhMetafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, EnhMetafileDeleter>;

// A locked global memory block.
class Locked {
public:
    explicit Locked(HGLOBAL h) : h_(h), p_(h ? static_cast<uint8_t*>(::GlobalLock(h)) : nullptr) {}
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() {
        if (p_) ::GlobalUnlock(h_);
    }
    uint8_t* data() const { return p_; }
    size_t size() const { return p_ ? ::GlobalSize(h_) : 0; }

private:
    HGLOBAL h_;
    uint8_t* p_;
};

UniqueGlobal globalCopy(const void* data, size_t size) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1));
    if (!block) throw platform::PlatformError("out of memory for the clipboard");
    Locked locked(block.get());
    if (!locked.data()) throw platform::PlatformError("out of memory for the clipboard");
    if (size) std::memcpy(locked.data(), data, size);
    return block;
}

// Hands `handle` to the clipboard, which owns it from then on; on failure the caller
// still owns it.
void place(UINT format, HANDLE handle) {
    if (!::SetClipboardData(format, handle))
        throw platform::PlatformError("cannot put data on the clipboard: " + errorText(::GetLastError()));
}

std::optional<std::vector<uint8_t>> globalCopyOf(HANDLE handle) {
    Locked locked(handle);
    if (!locked.data()) return std::nullopt;
    return std::vector<uint8_t>(locked.data(), locked.data() + locked.size());
}

std::vector<uint8_t> globalBytes(HANDLE handle) { return globalCopyOf(handle).value_or(std::vector<uint8_t>{}); }

// A device bitmap as a 24-bit BMP file.
std::optional<std::vector<uint8_t>> bmpFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!::GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return std::nullopt;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const size_t stride = ((static_cast<size_t>(info.bmWidth) * 24 + 31) / 32) * 4;
    std::vector<uint8_t> dib(sizeof header + stride * static_cast<size_t>(info.bmHeight));
    std::memcpy(dib.data(), &header, sizeof header);
    HDC screen = ::GetDC(nullptr);
    int lines = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), dib.data() + sizeof header,
                            reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (lines != info.bmHeight) return std::nullopt;
    // GetDIBits may have filled in the image size; the header stays as asked otherwise.
    return bmpFromPackedDib(dib.data(), dib.size());
}

// The fields of a METAFILEPICT block.
std::optional<METAFILEPICT> pictureFields(HGLOBAL handle) {
    Locked locked(handle);
    if (!locked.data() || locked.size() < sizeof(METAFILEPICT)) return std::nullopt;
    METAFILEPICT picture;
    std::memcpy(&picture, locked.data(), sizeof picture);
    return picture;
}

// The records of a Windows metafile.
std::optional<std::vector<uint8_t>> metafileBits(HMETAFILE metafile) {
    const UINT size = ::GetMetaFileBitsEx(metafile, 0, nullptr);
    if (size == 0) return std::nullopt;
    std::vector<uint8_t> bits(size);
    if (::GetMetaFileBitsEx(metafile, size, bits.data()) != size) return std::nullopt;
    return bits;
}

// The placeable WMF of a METAFILEPICT.
std::optional<std::vector<uint8_t>> wmfFromPicture(HGLOBAL handle) {
    const std::optional<METAFILEPICT> picture = pictureFields(handle);
    if (!picture) return std::nullopt;
    const std::optional<std::vector<uint8_t>> bits = metafileBits(picture->hMF);
    if (!bits) return std::nullopt;
    clipdata::PlaceableBounds bounds =
        clipdata::boundsForPicture(bits->data(), bits->size(), picture->mm, picture->xExt, picture->yExt);
    return clipdata::placeableWmf(bounds, bits->data(), bits->size());
}

std::optional<std::vector<uint8_t>> emfBytes(HENHMETAFILE metafile) {
    const UINT size = ::GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0) return std::nullopt;
    std::vector<uint8_t> emf(size);
    if (::GetEnhMetaFileBits(metafile, size, emf.data()) != size) return std::nullopt;
    return emf;
}

std::optional<std::vector<uint8_t>> paletteBytes(HPALETTE palette) {
    WORD count = 0;
    if (!::GetObjectW(palette, sizeof count, &count) || count == 0) return std::nullopt;
    std::vector<PALETTEENTRY> entries(count);
    if (::GetPaletteEntries(palette, 0, count, entries.data()) != count) return std::nullopt;
    std::vector<uint8_t> out;
    put16(out, 0x300);
    put16(out, count);
    const auto* raw = reinterpret_cast<const uint8_t*>(entries.data());
    out.insert(out.end(), raw, raw + count * sizeof(PALETTEENTRY));
    return out;
}

[[noreturn]] void badPicture(const char* what) {
    throw platform::PlatformError(std::string("not a valid ") + what + " for the clipboard");
}

void placeBitmap(const std::vector<uint8_t>& bmp, UINT format = CF_BITMAP) {
    std::optional<std::vector<uint8_t>> dib = packedDibFromBmp(bmp);
    if (!dib) badPicture("bitmap file");
    const size_t offset = *clipdata::dibBitsOffset(dib->data(), dib->size());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib->data());
    HDC screen = ::GetDC(nullptr);
    UniqueGdi bitmap(::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, dib->data() + offset, info, DIB_RGB_COLORS));
    ::ReleaseDC(nullptr, screen);
    if (!bitmap) badPicture("bitmap");
    place(format, bitmap.get());
    bitmap.release();
}

void placeDib(const std::vector<uint8_t>& bmp) {
    std::optional<std::vector<uint8_t>> dib = packedDibFromBmp(bmp);
    if (!dib) badPicture("bitmap file");
    UniqueGlobal block = globalCopy(dib->data(), dib->size());
    place(CF_DIB, block.get());
    block.release();
}

// A metafile picture of these bits, mapping mode and extents.
void placeMetafilePicture(UINT format, const uint8_t* bits, size_t size, LONG mode, LONG xExt, LONG yExt) {
    UniqueMetafile metafile(::SetMetaFileBitsEx(static_cast<UINT>(size), bits));
    if (!metafile) badPicture("metafile");
    METAFILEPICT picture{};
    picture.mm = mode;
    picture.xExt = xExt;
    picture.yExt = yExt;
    picture.hMF = metafile.get();
    UniqueGlobal block = globalCopy(&picture, sizeof picture);
    place(format, block.get());
    block.release();
    metafile.release();  // the clipboard deletes it with the picture
}

void placePlaceableMetafile(const std::vector<uint8_t>& wmf) {
    std::optional<clipdata::PlaceableBounds> bounds = clipdata::placeableBounds(wmf);
    if (!bounds || wmf.size() <= clipdata::kPlaceableHeaderSize) badPicture("placeable metafile");
    // The size in HIMETRIC (0.01 mm), 2540 to the inch.
    placeMetafilePicture(CF_METAFILEPICT, wmf.data() + clipdata::kPlaceableHeaderSize,
                         wmf.size() - clipdata::kPlaceableHeaderSize, MM_ANISOTROPIC,
                         std::lround(std::abs(bounds->right - bounds->left) * 2540.0 / bounds->unitsPerInch),
                         std::lround(std::abs(bounds->bottom - bounds->top) * 2540.0 / bounds->unitsPerInch));
}

void placeEnhMetafile(const std::vector<uint8_t>& emf, UINT format = CF_ENHMETAFILE) {
    UniqueEnhMetafile metafile(::SetEnhMetaFileBits(static_cast<UINT>(emf.size()), emf.data()));
    if (!metafile) badPicture("enhanced metafile");
    place(format, metafile.get());
    metafile.release();
}

void placePalette(const std::vector<uint8_t>& bytes, UINT format = CF_PALETTE) {
    if (bytes.size() < 4) badPicture("palette");
    const uint16_t count = read16(bytes.data() + 2);
    if (count == 0 || bytes.size() < 4 + size_t{count} * sizeof(PALETTEENTRY)) badPicture("palette");
    // A copy with the structure's own alignment.
    std::vector<uint32_t> aligned((4 + size_t{count} * sizeof(PALETTEENTRY) + 3) / 4);
    std::memcpy(aligned.data(), bytes.data(), 4 + size_t{count} * sizeof(PALETTEENTRY));
    UniqueGdi palette(::CreatePalette(reinterpret_cast<const LOGPALETTE*>(aligned.data())));
    if (!palette) badPicture("palette");
    place(format, palette.get());
    palette.release();
}

// ---------------------------------------------------------------- every format

using Kind = platform::ClipboardEntry::Kind;

// A metafile picture's fields and bits, as ClipboardEntry::Kind::MetafilePicture carries them.
constexpr size_t kPictureFieldsSize = 12;

// How the system holds a format's data; nothing for data that cannot be copied: the
// owner-display format, the private formats (handles only their owner understands) and
// GDI-object formats of kinds other than bitmaps, palettes and enhanced metafiles.
std::optional<Kind> kindOf(UINT format, HANDLE handle) {
    switch (format) {
        case CF_OWNERDISPLAY: return std::nullopt;
        case CF_BITMAP:
        case CF_DSPBITMAP: return Kind::Bitmap;
        case CF_PALETTE: return Kind::Palette;
        case CF_ENHMETAFILE:
        case CF_DSPENHMETAFILE: return Kind::EnhMetafile;
        case CF_METAFILEPICT:
        case CF_DSPMETAFILEPICT: return Kind::MetafilePicture;
        default: break;
    }
    if (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) return std::nullopt;
    if (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST) {
        switch (::GetObjectType(handle)) {
            case OBJ_BITMAP: return Kind::Bitmap;
            case OBJ_PAL: return Kind::Palette;
            case OBJ_ENHMETAFILE: return Kind::EnhMetafile;
            default: return std::nullopt;
        }
    }
    return Kind::Memory;  // every other format is a global memory block, which the system frees
}

// The bytes a copy of the data will take, found without copying it; nothing when the
// data cannot be read.
std::optional<size_t> copySize(Kind kind, HANDLE handle) {
    switch (kind) {
        case Kind::Memory: {
            Locked locked(handle);
            if (!locked.data()) return std::nullopt;
            return locked.size();
        }
        case Kind::Bitmap: {
            BITMAP info{};
            if (!::GetObjectW(handle, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return std::nullopt;
            const size_t stride = ((static_cast<size_t>(info.bmWidth) * 24 + 31) / 32) * 4;
            return 14 + sizeof(BITMAPINFOHEADER) + stride * static_cast<size_t>(info.bmHeight);
        }
        case Kind::Palette: {
            WORD count = 0;
            if (!::GetObjectW(handle, sizeof count, &count)) return std::nullopt;
            return 4 + size_t{count} * sizeof(PALETTEENTRY);
        }
        case Kind::EnhMetafile: {
            const UINT size = ::GetEnhMetaFileBits(static_cast<HENHMETAFILE>(handle), 0, nullptr);
            if (size == 0) return std::nullopt;
            return size;
        }
        case Kind::MetafilePicture: {
            const std::optional<METAFILEPICT> picture = pictureFields(handle);
            const UINT size = picture ? ::GetMetaFileBitsEx(picture->hMF, 0, nullptr) : 0;
            if (size == 0) return std::nullopt;
            return kPictureFieldsSize + size;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> copyData(Kind kind, HANDLE handle) {
    switch (kind) {
        case Kind::Memory: return globalCopyOf(handle);
        case Kind::Bitmap: return bmpFromBitmap(static_cast<HBITMAP>(handle));
        case Kind::Palette: return paletteBytes(static_cast<HPALETTE>(handle));
        case Kind::EnhMetafile: return emfBytes(static_cast<HENHMETAFILE>(handle));
        case Kind::MetafilePicture: {
            const std::optional<METAFILEPICT> picture = pictureFields(handle);
            const std::optional<std::vector<uint8_t>> bits = picture ? metafileBits(picture->hMF) : std::nullopt;
            if (!bits) return std::nullopt;
            std::vector<uint8_t> out;
            out.reserve(kPictureFieldsSize + bits->size());
            put32(out, static_cast<uint32_t>(picture->mm));
            put32(out, static_cast<uint32_t>(picture->xExt));
            put32(out, static_cast<uint32_t>(picture->yExt));
            out.insert(out.end(), bits->begin(), bits->end());
            return out;
        }
    }
    return std::nullopt;
}

// A registered format's name; empty for the system's own formats.
std::string formatName(UINT format) {
    if (format < 0xC000) return {};
    wchar_t name[256];
    const int length = ::GetClipboardFormatNameW(format, name, 256);
    return length > 0 ? toUtf8(std::wstring_view(name, static_cast<size_t>(length))) : std::string();
}

// OLE's "DataObject" format names the copying program's live data object, not data: once
// the clipboard is put back that program no longer owns it, so it is left out, as OLE
// itself drops it when it flushes the clipboard and leaves the data behind.
bool isLiveObjectReference(const std::string& name) { return text::equalsIgnoreCase(name, "DataObject"); }

// Places one entry on the open clipboard, under its registered name where it has one.
void placeEntry(const platform::ClipboardEntry& entry) {
    const UINT format = entry.name.empty() ? entry.format : ::RegisterClipboardFormatW(toUtf16(entry.name).c_str());
    if (format == 0) throw platform::PlatformError("no clipboard format " + entry.name);
    switch (entry.kind) {
        case Kind::Memory: {
            UniqueGlobal block = globalCopy(entry.bytes.data(), entry.bytes.size());
            place(format, block.get());
            block.release();
            return;
        }
        case Kind::Bitmap: placeBitmap(entry.bytes, format); return;
        case Kind::Palette: placePalette(entry.bytes, format); return;
        case Kind::EnhMetafile: placeEnhMetafile(entry.bytes, format); return;
        case Kind::MetafilePicture: {
            if (entry.bytes.size() <= kPictureFieldsSize) badPicture("metafile picture");
            const uint8_t* b = entry.bytes.data();
            placeMetafilePicture(format, b + kPictureFieldsSize, entry.bytes.size() - kPictureFieldsSize,
                                 static_cast<LONG>(read32(b)), static_cast<LONG>(read32(b + 4)),
                                 static_cast<LONG>(read32(b + 8)));
            return;
        }
    }
}

}  // namespace

UINT Win32Clipboard::systemFormat(int32_t format) {
    if (format == cf::kLink) return ::RegisterClipboardFormatW(L"Link");
    return static_cast<uint16_t>(format);
}

void Win32Clipboard::clear() {
    OpenClipboardScope open(attempts_, retryDelayMs_);
    if (!::EmptyClipboard()) throw platform::PlatformError("cannot empty the clipboard: " + errorText(::GetLastError()));
}

bool Win32Clipboard::hasFormat(int32_t format) {
    if (format == cf::kText) return ::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT);
    UINT number = systemFormat(format);
    return number != 0 && ::IsClipboardFormatAvailable(number);
}

std::optional<platform::Picture> Win32Clipboard::getPicture(int32_t format) {
    if (!hasFormat(format)) return std::nullopt;
    OpenClipboardScope open(attempts_, retryDelayMs_);
    std::optional<std::vector<uint8_t>> bytes;
    switch (format) {
        case cf::kBitmap:
            if (HANDLE h = ::GetClipboardData(CF_BITMAP)) bytes = bmpFromBitmap(static_cast<HBITMAP>(h));
            break;
        case cf::kDib:
            if (HANDLE h = ::GetClipboardData(CF_DIB)) {
                std::vector<uint8_t> dib = globalBytes(h);
                bytes = bmpFromPackedDib(dib.data(), dib.size());
            }
            break;
        case cf::kMetafilePict:
            if (HANDLE h = ::GetClipboardData(CF_METAFILEPICT)) bytes = wmfFromPicture(h);
            break;
        case cf::kEnhMetafile:
            if (HANDLE h = ::GetClipboardData(CF_ENHMETAFILE)) bytes = emfBytes(static_cast<HENHMETAFILE>(h));
            break;
        case cf::kPalette:
            if (HANDLE h = ::GetClipboardData(CF_PALETTE)) bytes = paletteBytes(static_cast<HPALETTE>(h));
            break;
        default:
            break;
    }
    if (!bytes) return std::nullopt;
    return platform::Picture{format, std::move(*bytes)};
}

std::optional<std::string> Win32Clipboard::getText(int32_t format) {
    if (!hasFormat(format)) return std::nullopt;
    OpenClipboardScope open(attempts_, retryDelayMs_);
    if (format == cf::kText) {
        if (HANDLE h = ::IsClipboardFormatAvailable(CF_UNICODETEXT) ? ::GetClipboardData(CF_UNICODETEXT) : nullptr) {
            Locked locked(h);
            if (!locked.data()) return std::nullopt;
            const auto* text = reinterpret_cast<const wchar_t*>(locked.data());
            const size_t limit = locked.size() / sizeof(wchar_t);
            size_t length = 0;
            while (length < limit && text[length] != L'\0') ++length;
            return toUtf8(std::wstring_view(text, length));
        }
        HANDLE h = ::GetClipboardData(CF_TEXT);
        Locked locked(h);
        if (!locked.data()) return std::nullopt;
        const auto* text = reinterpret_cast<const char*>(locked.data());
        return ansiToUtf8(std::string_view(text, ::strnlen(text, locked.size())));
    }
    HANDLE h = ::GetClipboardData(systemFormat(format));
    if (!h) return std::nullopt;
    std::vector<uint8_t> bytes = globalBytes(h);
    while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
    return ansiToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void Win32Clipboard::setPicture(const platform::Picture& picture, int32_t format) {
    OpenClipboardScope open(attempts_, retryDelayMs_);
    switch (format) {
        case cf::kBitmap: placeBitmap(picture.bytes); break;
        case cf::kDib: placeDib(picture.bytes); break;
        case cf::kMetafilePict: placePlaceableMetafile(picture.bytes); break;
        case cf::kEnhMetafile: placeEnhMetafile(picture.bytes); break;
        case cf::kPalette: placePalette(picture.bytes); break;
        default: throw platform::PlatformError("no picture format " + std::to_string(format) + " on the clipboard");
    }
}

void Win32Clipboard::setText(const std::string& text, int32_t format) {
    UINT number = systemFormat(format);
    if (number == 0) throw platform::PlatformError("no clipboard format " + std::to_string(format));
    OpenClipboardScope open(attempts_, retryDelayMs_);
    if (format == cf::kText) {
        std::wstring wide = toUtf16(text);
        UniqueGlobal unicode = globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        place(CF_UNICODETEXT, unicode.get());
        unicode.release();
        std::string ansi = utf8ToAnsi(text);
        UniqueGlobal narrow = globalCopy(ansi.c_str(), ansi.size() + 1);
        place(CF_TEXT, narrow.get());
        narrow.release();
        return;
    }
    // The parts of a link end in NUL, and the whole in a second one.
    std::string bytes = utf8ToAnsi(text);
    bytes.append(2, '\0');
    UniqueGlobal block = globalCopy(bytes.data(), bytes.size());
    place(number, block.get());
    block.release();
}

std::vector<platform::ClipboardEntry> Win32Clipboard::copyAll(size_t maxBytes) {
    OpenClipboardScope open(attempts_, retryDelayMs_);
    // The list first: reading a delayed format makes its owner render it.
    std::vector<UINT> formats;
    for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    std::vector<platform::ClipboardEntry> entries;
    size_t used = 0;
    for (UINT format : formats) {
        try {
            HANDLE handle = ::GetClipboardData(format);
            if (!handle) continue;  // delayed, and its owner did not render it
            const std::optional<Kind> kind = kindOf(format, handle);
            std::string name = formatName(format);
            if (!kind || isLiveObjectReference(name)) continue;
            const std::optional<size_t> size = copySize(*kind, handle);
            if (!size || *size > maxBytes - used) continue;
            std::optional<std::vector<uint8_t>> bytes = copyData(*kind, handle);
            if (!bytes || bytes->size() > maxBytes - used) continue;
            used += bytes->size();
            entries.push_back({format, std::move(name), *kind, std::move(*bytes)});
        } catch (const std::bad_alloc&) {
            // Too large to copy at this moment: left out like a format beyond the limit.
        }
    }
    return entries;
}

void Win32Clipboard::replaceAll(const std::vector<platform::ClipboardEntry>& entries) {
    OpenClipboardScope open(attempts_, retryDelayMs_);
    if (!::EmptyClipboard()) throw platform::PlatformError("cannot empty the clipboard: " + errorText(::GetLastError()));
    for (const platform::ClipboardEntry& entry : entries) {
        try {
            placeEntry(entry);
        } catch (const platform::PlatformError&) {
        } catch (const std::bad_alloc&) {
        }
    }
}

void Win32Clipboard::add(const platform::ClipboardEntry& entry) {
    OpenClipboardScope open(attempts_, retryDelayMs_);
    placeEntry(entry);
}

}  // namespace qm::win32
