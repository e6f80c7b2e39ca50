// The Windows clipboard: every format the add-in reads and places put on the real
// clipboard and read back, the user's whole clipboard kept and put back over the add-in's
// copy, and the file-form conversions on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/picture/bmp.h"
#include "core/picture/clipboard_snapshot.h"
#include "win32/clipboard.h"

namespace qm::win32 {
namespace {

namespace cf = platform::cf;
using clipdata::PlaceableBounds;

// A 24-bit BMP file of a 3 x 2 image with six different colours.
std::vector<uint8_t> sampleBmp() {
    picture::Image image{3, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF, 0x000000}};
    return picture::encodeBmp(image);
}

// An 8-bit BMP with a 2-colour table and a gap before the bits, as some writers leave.
std::vector<uint8_t> paletteBmpWithGap() {
    std::vector<uint8_t> bmp(14 + 40 + 8 + 6 + 8, 0);  // header, info, 2 colours, gap, 2 rows of 4
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(bmp.data() + at, &v, 4); };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<uint32_t>(bmp.size()));
    put32(10, 14 + 40 + 8 + 6);
    put32(14, 40);
    put32(18, 2);                          // width
    put32(22, 2);                          // height
    bmp[26] = 1;                           // planes
    bmp[28] = 8;                           // bits per pixel
    put32(46, 2);                          // colours used
    put32(54, 0x00FF0000);                 // red (BGRA)
    put32(58, 0x000000FF);                 // blue
    bmp[68] = 1, bmp[69] = 0, bmp[72] = 0, bmp[73] = 1;  // the pixels
    return bmp;
}

// A small Windows metafile: window extent 1000 x 500, one rectangle.
std::vector<uint8_t> sampleWmfBits() {
    HDC dc = ::CreateMetaFileW(nullptr);
    ::SetWindowOrgEx(dc, 10, 20, nullptr);
    ::SetWindowExtEx(dc, 1000, 500, nullptr);
    ::Rectangle(dc, 10, 20, 500, 300);
    HMETAFILE metafile = ::CloseMetaFile(dc);
    std::vector<uint8_t> bits(::GetMetaFileBitsEx(metafile, 0, nullptr));
    ::GetMetaFileBitsEx(metafile, static_cast<UINT>(bits.size()), bits.data());
    ::DeleteMetaFile(metafile);
    return bits;
}

std::vector<uint8_t> sampleEmf() {
    RECT frame{0, 0, 2000, 1000};  // 0.01 mm
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, L"test\0picture\0");
    ::Ellipse(dc, 0, 0, 60, 30);
    HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
    std::vector<uint8_t> bytes(::GetEnhMetaFileBits(metafile, 0, nullptr));
    ::GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    ::DeleteEnhMetaFile(metafile);
    return bytes;
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override { clipboard.clear(); }
    void TearDown() override { clipboard.clear(); }
    Win32Clipboard clipboard;
};

TEST_F(Clipboard, ClearEmptiesIt) {
    clipboard.setText("something", cf::kText);
    EXPECT_TRUE(clipboard.hasFormat(cf::kText));
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasFormat(cf::kText));
    EXPECT_EQ(clipboard.getText(cf::kText), std::nullopt);
    EXPECT_EQ(clipboard.getPicture(cf::kBitmap), std::nullopt);
}

TEST_F(Clipboard, TextKeepsCharactersOutsideTheAnsiCodePage) {
    const std::string text = "Zeilen\r\n図形 ✓";
    clipboard.setText(text, cf::kText);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(clipboard.getText(cf::kText), text);
}

TEST_F(Clipboard, LinkIsTheRegisteredLinkFormatWithAllItsParts) {
    EXPECT_EQ(Win32Clipboard::systemFormat(cf::kLink), ::RegisterClipboardFormatW(L"Link"));
    const std::string link("Excel\0[Book1]Sheet1\0R1C1:R2C2", 29);
    clipboard.setText(link, cf::kLink);
    EXPECT_TRUE(clipboard.hasFormat(cf::kLink));
    EXPECT_EQ(clipboard.getText(cf::kLink), link);
}

TEST_F(Clipboard, BitmapReadsBackPixelForPixel) {
    clipboard.setPicture({cf::kBitmap, sampleBmp()}, cf::kBitmap);
    ASSERT_TRUE(clipboard.hasFormat(cf::kBitmap));
    std::optional<platform::Picture> back = clipboard.getPicture(cf::kBitmap);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->format, cf::kBitmap);
    std::optional<picture::Image> image = picture::decodeBmp(back->bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, picture::decodeBmp(sampleBmp())->pixels);
}

TEST_F(Clipboard, DibKeepsItsColourTable) {
    clipboard.setPicture({cf::kDib, paletteBmpWithGap()}, cf::kDib);
    std::optional<platform::Picture> back = clipboard.getPicture(cf::kDib);
    ASSERT_TRUE(back);
    // The same header, table and bits, now without the gap.
    std::vector<uint8_t> expected = paletteBmpWithGap();
    expected.erase(expected.begin() + 14 + 40 + 8, expected.begin() + 14 + 40 + 8 + 6);
    ASSERT_GE(back->bytes.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(back->bytes.begin() + 14, back->bytes.begin() + expected.size()),
              std::vector<uint8_t>(expected.begin() + 14, expected.end()));
    uint32_t bitsAt = 0;
    std::memcpy(&bitsAt, back->bytes.data() + 10, 4);
    EXPECT_EQ(bitsAt, 14u + 40u + 8u);
}

TEST_F(Clipboard, MetafilePictureKeepsBitsAndBounds) {
    const std::vector<uint8_t> bits = sampleWmfBits();
    const std::vector<uint8_t> wmf = clipdata::placeableWmf({10, 20, 1010, 520, 1440}, bits.data(), bits.size());
    clipboard.setPicture({cf::kMetafilePict, wmf}, cf::kMetafilePict);
    std::optional<platform::Picture> back = clipboard.getPicture(cf::kMetafilePict);
    ASSERT_TRUE(back);
    std::optional<PlaceableBounds> bounds = clipdata::placeableBounds(back->bytes);
    ASSERT_TRUE(bounds);
    EXPECT_EQ(bounds->left, 10);
    EXPECT_EQ(bounds->top, 20);
    EXPECT_EQ(bounds->right, 1010);
    EXPECT_EQ(bounds->bottom, 520);
    EXPECT_EQ(bounds->unitsPerInch, 1440);
    EXPECT_EQ(std::vector<uint8_t>(back->bytes.begin() + clipdata::kPlaceableHeaderSize, back->bytes.end()), bits);
}

TEST_F(Clipboard, EnhancedMetafileReadsBackTheSameFile) {
    const std::vector<uint8_t> emf = sampleEmf();
    clipboard.setPicture({cf::kEnhMetafile, emf}, cf::kEnhMetafile);
    std::optional<platform::Picture> back = clipboard.getPicture(cf::kEnhMetafile);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes, emf);
}

TEST_F(Clipboard, PaletteReadsBackItsEntries) {
    const std::vector<uint8_t> palette = {0x00, 0x03, 3, 0, 255, 0, 0, 0, 0, 128, 0, 0, 1, 2, 3, 0};
    clipboard.setPicture({cf::kPalette, palette}, cf::kPalette);
    std::optional<platform::Picture> back = clipboard.getPicture(cf::kPalette);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bytes, palette);
}

TEST_F(Clipboard, SeveralFormatsSitSideBySide) {
    clipboard.setText("caption", cf::kText);
    clipboard.setPicture({cf::kEnhMetafile, sampleEmf()}, cf::kEnhMetafile);
    EXPECT_TRUE(clipboard.hasFormat(cf::kText));
    EXPECT_TRUE(clipboard.hasFormat(cf::kEnhMetafile));
    EXPECT_EQ(clipboard.getText(cf::kText), "caption");
}

TEST_F(Clipboard, BadPicturesAreRefusedWithoutTouchingTheClipboard) {
    clipboard.setText("kept", cf::kText);
    std::vector<uint8_t> truncated = sampleBmp();
    truncated.resize(truncated.size() - 4);
    EXPECT_THROW(clipboard.setPicture({cf::kBitmap, truncated}, cf::kBitmap), platform::PlatformError);
    EXPECT_THROW(clipboard.setPicture({cf::kEnhMetafile, {1, 2, 3}}, cf::kEnhMetafile), platform::PlatformError);
    EXPECT_THROW(clipboard.setPicture({cf::kMetafilePict, sampleBmp()}, cf::kMetafilePict), platform::PlatformError);
    EXPECT_THROW(clipboard.setPicture({cf::kPalette, {0, 3, 5, 0}}, cf::kPalette), platform::PlatformError);
    EXPECT_EQ(clipboard.getText(cf::kText), "kept");
}

// ---------------------------------------------------------------- the whole clipboard

// The clipboard through the system's own calls, not through the code under test.
class Raw {
public:
    explicit Raw(HWND owner = nullptr) { opened_ = ::OpenClipboard(owner); }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;
    ~Raw() {
        if (opened_) ::CloseClipboard();
    }
    bool opened() const { return opened_; }

    static void putMemory(UINT format, const void* data, size_t size) {
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(::GlobalLock(block), data, size);
        ::GlobalUnlock(block);
        EXPECT_TRUE(::SetClipboardData(format, block)) << format;
    }
    static void putText(UINT format, const std::string& text) { putMemory(format, text.c_str(), text.size() + 1); }

    static std::vector<UINT> formats() {
        std::vector<UINT> out;
        for (UINT f = ::EnumClipboardFormats(0); f; f = ::EnumClipboardFormats(f)) out.push_back(f);
        return out;
    }
    static std::vector<uint8_t> memory(UINT format) {
        HANDLE h = ::GetClipboardData(format);
        if (!h) return {};
        const auto* p = static_cast<const uint8_t*>(::GlobalLock(h));
        std::vector<uint8_t> out(p, p + ::GlobalSize(h));
        ::GlobalUnlock(h);
        return out;
    }

private:
    bool opened_ = false;
};

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.c_str(), text.c_str() + text.size() + 1}; }

// Where `wanted` stand in `all`, in order; a format missing gives -1.
std::vector<int> positions(const std::vector<UINT>& all, const std::vector<UINT>& wanted) {
    std::vector<int> out;
    for (UINT w : wanted) {
        const auto it = std::find(all.begin(), all.end(), w);
        out.push_back(it == all.end() ? -1 : static_cast<int>(it - all.begin()));
    }
    return out;
}

TEST_F(Clipboard, EveryFormatComesBackWithItsDataInItsOrderOverTheAddinsCopy) {
    const UINT html = ::RegisterClipboardFormatW(L"HTML Format");
    const UINT rtf = ::RegisterClipboardFormatW(L"Rich Text Format");
    const std::wstring unicode = L"\u56f3\u5f62\t42\r\n";
    const std::vector<uint8_t> emf = sampleEmf();
    const std::vector<uint8_t> wmf = sampleWmfBits();
    {
        Raw open;
        ASSERT_TRUE(open.opened());
        ::EmptyClipboard();
        Raw::putText(html, "<td>42</td>");
        Raw::putText(rtf, "{\\rtf1 42}");
        Raw::putMemory(CF_UNICODETEXT, unicode.c_str(), (unicode.size() + 1) * sizeof(wchar_t));
        ::SetClipboardData(CF_ENHMETAFILE, ::SetEnhMetaFileBits(static_cast<UINT>(emf.size()), emf.data()));
        METAFILEPICT picture{MM_ISOTROPIC, 1234, 567, ::SetMetaFileBitsEx(static_cast<UINT>(wmf.size()), wmf.data())};
        Raw::putMemory(CF_METAFILEPICT, &picture, sizeof picture);
        // A private format's handle means something to its owner only: it cannot be kept
        // (where the system takes one at all: Wine does not). OLE's reference to the
        // copying program's data object is no data and is not kept either.
        ::SetClipboardData(CF_PRIVATEFIRST + 3, reinterpret_cast<HANDLE>(0x1234));
        Raw::putText(::RegisterClipboardFormatW(L"DataObject"), "live");
    }
    const picture::ClipboardSnapshot snapshot = picture::ClipboardSnapshot::take(clipboard);
    clipboard.clear();
    clipboard.setPicture({cf::kBitmap, sampleBmp()}, cf::kBitmap);  // the add-in's copy
    snapshot.restore(clipboard);

    Raw open;
    ASSERT_TRUE(open.opened());
    const std::vector<int> at = positions(Raw::formats(), {html, rtf, CF_UNICODETEXT, CF_ENHMETAFILE, CF_METAFILEPICT});
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end()) && at.front() >= 0) << ::testing::PrintToString(at);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_PRIVATEFIRST + 3));
    EXPECT_FALSE(::IsClipboardFormatAvailable(::RegisterClipboardFormatW(L"DataObject")));
    EXPECT_EQ(Raw::memory(html), bytesOf("<td>42</td>"));
    EXPECT_EQ(Raw::memory(rtf), bytesOf("{\\rtf1 42}"));
    const std::vector<uint8_t> text = Raw::memory(CF_UNICODETEXT);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(text.data())), unicode);
    HENHMETAFILE back = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
    std::vector<uint8_t> emfBack(::GetEnhMetaFileBits(back, 0, nullptr));
    ::GetEnhMetaFileBits(back, static_cast<UINT>(emfBack.size()), emfBack.data());
    EXPECT_EQ(emfBack, emf);
    const std::vector<uint8_t> pictureBack = Raw::memory(CF_METAFILEPICT);
    ASSERT_GE(pictureBack.size(), sizeof(METAFILEPICT));
    METAFILEPICT fields;
    std::memcpy(&fields, pictureBack.data(), sizeof fields);
    EXPECT_EQ(fields.mm, MM_ISOTROPIC);
    EXPECT_EQ(fields.xExt, 1234);
    EXPECT_EQ(fields.yExt, 567);
    std::vector<uint8_t> wmfBack(::GetMetaFileBitsEx(fields.hMF, 0, nullptr));
    ::GetMetaFileBitsEx(fields.hMF, static_cast<UINT>(wmfBack.size()), wmfBack.data());
    EXPECT_EQ(wmfBack, wmf);
}

TEST_F(Clipboard, BitmapsAndPalettesComeBackAsTheyWere) {
    const std::vector<uint8_t> palette = {0x00, 0x03, 2, 0, 255, 0, 0, 0, 1, 2, 3, 0};
    clipboard.setPicture({cf::kBitmap, sampleBmp()}, cf::kBitmap);
    clipboard.setPicture({cf::kPalette, palette}, cf::kPalette);
    const picture::ClipboardSnapshot snapshot = picture::ClipboardSnapshot::take(clipboard);
    clipboard.clear();
    snapshot.restore(clipboard);
    EXPECT_EQ(picture::decodeBmp(clipboard.getPicture(cf::kBitmap).value().bytes)->pixels,
              picture::decodeBmp(sampleBmp())->pixels);
    EXPECT_EQ(clipboard.getPicture(cf::kPalette).value().bytes, palette);
}

TEST_F(Clipboard, APaletteUnderAGdiObjectFormatComesBack) {
    {
        Raw open;
        ASSERT_TRUE(open.opened());
        struct {
            WORD version = 0x300, count = 1;
            PALETTEENTRY entry{10, 20, 30, 0};
        } one;
        HPALETTE palette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&one));
        if (!::SetClipboardData(CF_GDIOBJFIRST + 1, palette)) {
            ::DeleteObject(palette);
            GTEST_SKIP() << "this system takes no GDI objects under their own formats (Wine does not)";
        }
    }
    const picture::ClipboardSnapshot snapshot = picture::ClipboardSnapshot::take(clipboard);
    clipboard.clear();
    snapshot.restore(clipboard);
    Raw open;
    HANDLE gdi = ::GetClipboardData(CF_GDIOBJFIRST + 1);
    ASSERT_TRUE(gdi);
    ASSERT_EQ(::GetObjectType(gdi), DWORD{OBJ_PAL});
    PALETTEENTRY entry{};
    EXPECT_EQ(::GetPaletteEntries(static_cast<HPALETTE>(gdi), 0, 1, &entry), 1u);
    EXPECT_EQ(entry.peGreen, 20);
}

TEST_F(Clipboard, WhatHasNoDataOrGoesBeyondTheLimitIsLeftOutAndTheRestKept) {
    const UINT big = ::RegisterClipboardFormatW(L"Quillmark test big");
    const UINT delayed = ::RegisterClipboardFormatW(L"Quillmark test delayed");
    const UINT small = ::RegisterClipboardFormatW(L"Quillmark test small");
    // A window that owns the clipboard but never renders its delayed format.
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    {
        Raw open(owner);
        ASSERT_TRUE(open.opened());
        ::EmptyClipboard();
        const std::vector<uint8_t> large(5000, 'x');
        Raw::putMemory(big, large.data(), large.size());
        ::SetClipboardData(delayed, nullptr);
        Raw::putText(small, "small");
    }
    ASSERT_TRUE(::IsClipboardFormatAvailable(delayed));
    const std::vector<platform::ClipboardEntry> kept = clipboard.copyAll(4000);
    ::DestroyWindow(owner);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].name, "Quillmark test small");
    EXPECT_EQ(kept[0].format, small);
    EXPECT_EQ(kept[0].bytes, bytesOf("small"));
    // Within the limit, the large one is there too, before the small one.
    clipboard.replaceAll({{0, "Quillmark test big", platform::ClipboardEntry::Kind::Memory, std::vector<uint8_t>(5000, 'x')},
                          kept[0]});
    const std::vector<platform::ClipboardEntry> all = clipboard.copyAll(picture::kKeptClipboardBytes);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].format, big);
    EXPECT_EQ(all[1].format, small);
}

// ---------------------------------------------------------------- conversions

TEST(ClipboardData, BmpAndPackedDibConvertBothWays) {
    const std::vector<uint8_t> bmp = sampleBmp();
    std::optional<std::vector<uint8_t>> dib = clipdata::packedDibFromBmp(bmp);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->size(), bmp.size() - 14);
    EXPECT_EQ(clipdata::bmpFromPackedDib(dib->data(), dib->size()), bmp);
    std::vector<uint8_t> notBmp = bmp;
    notBmp[0] = 'X';
    EXPECT_FALSE(clipdata::packedDibFromBmp(notBmp));
    // Bits cut short would have GDI read past the end.
    EXPECT_FALSE(clipdata::bmpFromPackedDib(dib->data(), dib->size() - 1));
}

TEST(ClipboardData, PlaceableHeaderChecksItsKeyAndChecksum) {
    const uint8_t bits[] = {1, 0, 9, 0, 0, 3};
    std::vector<uint8_t> wmf = clipdata::placeableWmf({-5, 0, 100, 50, 96}, bits, sizeof bits);
    ASSERT_EQ(wmf.size(), clipdata::kPlaceableHeaderSize + sizeof bits);
    std::optional<PlaceableBounds> b = clipdata::placeableBounds(wmf);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->left, -5);
    EXPECT_EQ(b->unitsPerInch, 96);
    wmf[8] ^= 1;  // top changed, checksum not
    EXPECT_FALSE(clipdata::placeableBounds(wmf));
}

TEST(ClipboardData, PictureBoundsFollowTheWindowExtentOrTheSize) {
    const std::vector<uint8_t> bits = sampleWmfBits();
    // 1000 units across 2 inches (5080 HIMETRIC): 500 to the inch.
    PlaceableBounds fromWindow = clipdata::boundsForPicture(bits.data(), bits.size(), MM_ANISOTROPIC, 5080, 2540);
    EXPECT_EQ(fromWindow.left, 10);
    EXPECT_EQ(fromWindow.right, 1010);
    EXPECT_EQ(fromWindow.bottom, 520);
    EXPECT_EQ(fromWindow.unitsPerInch, 500);
    // Records that set no window: the size in HIMETRIC, scaled into 16 bits when large.
    const uint8_t header[18] = {1, 0, 9, 0, 0, 3, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PlaceableBounds fromSize = clipdata::boundsForPicture(header, sizeof header, MM_ANISOTROPIC, 2540, 1270);
    EXPECT_EQ(fromSize.right, 2540);
    EXPECT_EQ(fromSize.bottom, 1270);
    EXPECT_EQ(fromSize.unitsPerInch, 2540);
    PlaceableBounds large = clipdata::boundsForPicture(header, sizeof header, MM_ANISOTROPIC, 65534, 100);
    EXPECT_EQ(large.right, 32767);
    EXPECT_EQ(large.unitsPerInch, 1270);
}

}  // namespace
}  // namespace qm::win32
