// Enhanced metafiles: a writer for the few records the pictures of drawing objects and
// cells need, and a reader that walks the records of any EMF file and checks its framing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/picture/bmp.h"

namespace qm::picture::emf {

// Record types (EMR_...) the writer emits and the reader names.
namespace rec {
inline constexpr uint32_t kHeader = 1;
inline constexpr uint32_t kEof = 14;
inline constexpr uint32_t kSetWindowExtEx = 9;
inline constexpr uint32_t kSetWindowOrgEx = 10;
inline constexpr uint32_t kSetMapMode = 17;
inline constexpr uint32_t kSetBkMode = 18;
inline constexpr uint32_t kSetPolyFillMode = 19;
inline constexpr uint32_t kSetTextAlign = 22;
inline constexpr uint32_t kSetTextColor = 24;
inline constexpr uint32_t kMoveToEx = 27;
inline constexpr uint32_t kSelectObject = 37;
inline constexpr uint32_t kCreatePen = 38;
inline constexpr uint32_t kCreateBrushIndirect = 39;
inline constexpr uint32_t kDeleteObject = 40;
inline constexpr uint32_t kEllipse = 42;
inline constexpr uint32_t kRectangle = 43;
inline constexpr uint32_t kBeginPath = 59;
inline constexpr uint32_t kEndPath = 60;
inline constexpr uint32_t kCloseFigure = 61;
inline constexpr uint32_t kStrokeAndFillPath = 63;
inline constexpr uint32_t kStrokePath = 64;
inline constexpr uint32_t kExtCreateFontIndirectW = 82;
inline constexpr uint32_t kExtTextOutW = 84;
inline constexpr uint32_t kPolygon16 = 86;
inline constexpr uint32_t kPolyline16 = 87;
inline constexpr uint32_t kPolyBezierTo16 = 88;
inline constexpr uint32_t kPolylineTo16 = 89;
}  // namespace rec

// The header's "EMF" signature (" EMF" read as a little-endian number).
inline constexpr uint32_t kSignature = 0x464D4520;

// Logical coordinates: with MM_TEXT one unit is one pixel, and a pixel's centre lies on
// the integer coordinate, as GDI draws them.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// GDI rectangles: RECTANGLE and ELLIPSE leave out the right and bottom edges.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

// A handle in the metafile's object table (1 and up; 0 is the metafile itself), or a
// stock object.
using Handle = uint32_t;

// Stock objects: a device context's defaults, selected to free the metafile's own objects
// before they are deleted.
namespace stock {
inline constexpr Handle kWhiteBrush = 0x80000000;
inline constexpr Handle kNullBrush = 0x80000005;
inline constexpr Handle kBlackPen = 0x80000007;
inline constexpr Handle kNullPen = 0x80000008;
inline constexpr Handle kSystemFont = 0x8000000D;
}  // namespace stock

// Builds one metafile of a picture `width` x `height` pixels at 96 dpi. Objects are
// created, selected and deleted by the caller; finish() appends EMR_EOF and fills in the
// header's counts. Coordinates must fit the 16-bit point records (the picture's size is
// limited accordingly).
class Writer {
public:
    // The largest width or height the 16-bit records can address.
    static constexpr int32_t kMaxExtent = 32767;

    Writer(int32_t width, int32_t height);

    Handle createPen(uint32_t color, int32_t width);
    Handle createNullPen();
    Handle createBrush(uint32_t color);
    Handle createNullBrush();
    // A font `height` pixels tall (the character height, as a negative LOGFONT height),
    // its baseline turned `escapement` tenths of a degree counter-clockwise.
    Handle createFont(int32_t height, int32_t escapement, const std::string& face);
    void select(Handle handle);
    // Frees the handle's slot for the next object created. Select another object in its
    // place first: a selected object cannot be deleted.
    void deleteObject(Handle handle);

    void setPolyFillMode(bool alternate);  // even-odd (ALTERNATE) or non-zero (WINDING)
    void setBkModeTransparent();
    void setTextColor(uint32_t color);
    void setTextAlignTopLeft();

    void rectangle(const Rect& r);
    void ellipse(const Rect& r);
    void polygon(const std::vector<Point>& points);
    void polyline(const std::vector<Point>& points);

    // A path: figures of line and Bézier segments, then stroked, or stroked and filled.
    void beginPath();
    void moveTo(Point p);
    void lineTo(const std::vector<Point>& points);
    // Three points per curve: two control points and the end point.
    void bezierTo(const std::vector<Point>& points);
    void closeFigure();
    void endPath();
    void strokeAndFillPath();
    void strokePath();

    // One line of text with its reference point at the top-left, in the current text
    // colour and font; `advance` is the width given to each character.
    void textOut(Point at, const std::string& utf8, int32_t advance);

    // The file's bytes. The writer is spent afterwards.
    std::vector<uint8_t> finish();

private:
    void record(uint32_t type, const std::vector<uint32_t>& params);
    void recordBytes(uint32_t type, const std::vector<uint8_t>& params);
    void pointRecord(uint32_t type, const std::vector<Point>& points);
    Handle allocate();

    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> bytes_;
    uint32_t records_ = 0;
    std::vector<bool> inUse_;  // object table slots 1..n
    bool finished_ = false;
};

// ---------------------------------------------------------------- reading

struct Header {
    Rect bounds;  // inclusive, device pixels
    Rect frame;   // inclusive, 0.01 mm
    uint32_t version = 0;
    uint32_t bytes = 0;
    uint32_t records = 0;
    uint16_t handles = 0;
    uint32_t paletteEntries = 0;
    int32_t deviceWidth = 0;  // pixels
    int32_t deviceHeight = 0;
    int32_t deviceWidthMm = 0;
    int32_t deviceHeightMm = 0;
    uint32_t headerSize = 0;
};

struct Record {
    uint32_t type = 0;
    uint32_t offset = 0;  // from the start of the file
    uint32_t size = 0;    // the whole record, type and size included
};

struct Metafile {
    Header header;
    std::vector<Record> records;  // header first, EOF last
};

// Parses the framing of an EMF file: the header's signature and counts, each record's
// size and alignment, the end-of-file record last. On failure, says why in `error`.
std::optional<Metafile> read(const std::vector<uint8_t>& bytes, std::string* error = nullptr);

// A record's 32-bit parameter `index` (0 = the first word after type and size).
uint32_t param(const std::vector<uint8_t>& bytes, const Record& r, size_t index);
// The points of a 16-bit point record (POLYGON16, POLYLINE16, POLYBEZIERTO16 ...).
std::vector<Point> points16(const std::vector<uint8_t>& bytes, const Record& r);
// The text of an EXTTEXTOUTW record, as UTF-8.
std::string text(const std::vector<uint8_t>& bytes, const Record& r);

// Draws the metafile on white, one pixel per logical unit from the bounds' top-left
// corner, for previews and for comparing it with a bitmap. Plays pens, brushes, the
// poly-fill mode, rectangles, ellipses, 16-bit polygons and polylines and paths of lines
// and Béziers; other records (text among them) are passed over. Nothing when the file
// cannot be read.
std::optional<Image> play(const std::vector<uint8_t>& bytes);
// The same for a file already read.
std::optional<Image> play(const Metafile& metafile, const std::vector<uint8_t>& bytes);

}  // namespace qm::picture::emf
