// Writing and reading enhanced metafiles: records are little-endian 32-bit words, each
// record 4-byte aligned, the header first and EMR_EOF last.
#include "core/picture/emf.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>

#include "core/picture/raster.h"
#include "core/text/utf8.h"

namespace qm::picture::emf {
namespace {

constexpr uint32_t kHeaderSize = 108;  // with the description, pixel-format and micrometre fields
constexpr uint32_t kVersion = 0x10000;
constexpr uint32_t kMmText = 1;
constexpr uint32_t kTransparent = 1;
constexpr uint32_t kAlternate = 1;
constexpr uint32_t kWinding = 2;
constexpr uint32_t kPsSolid = 0;
constexpr uint32_t kPsNull = 5;
constexpr uint32_t kBsSolid = 0;
constexpr uint32_t kBsNull = 1;
constexpr uint32_t kGmCompatible = 1;
constexpr uint32_t kTextHeight = 16;  // a line's height, for record bounds only
constexpr size_t kLogFontPanoseSize = 320;
constexpr size_t kFaceNameChars = 32;
constexpr uint8_t kDefaultCharset = 1;
constexpr uint32_t kFwNormal = 400;

// A reference device of 96 dots per inch, so that the frame gives a picture its true size:
// 1024 x 768 pixels are 270.933 x 203.2 mm.
constexpr int32_t kDeviceWidth = 1024;
constexpr int32_t kDeviceHeight = 768;
constexpr int32_t kDeviceWidthUm = 270933;
constexpr int32_t kDeviceHeightUm = 203200;

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void set32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
int32_t geti32(const std::vector<uint8_t>& b, size_t at) { return static_cast<int32_t>(get32(b, at)); }
uint32_t u(int32_t v) { return static_cast<uint32_t>(v); }

// Hundredths of a millimetre for a length in 96-dpi pixels.
int32_t hundredthsMm(int32_t pixels) { return static_cast<int32_t>(std::lround(pixels * 2540.0 / 96.0)); }

uint32_t packPoint16(Point p) {
    return static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(p.x))) |
           static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(p.y))) << 16;
}

Rect boundsOf(const std::vector<Point>& points) {
    Rect r{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const Point& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

void checkPoint16(Point p) {
    constexpr int32_t lo = std::numeric_limits<int16_t>::min();
    constexpr int32_t hi = std::numeric_limits<int16_t>::max();
    if (p.x < lo || p.x > hi || p.y < lo || p.y > hi) throw std::out_of_range("EMF point outside the 16-bit range");
}

std::vector<uint16_t> utf16(const std::string& s) {
    const std::u16string units = text::utf8::toUtf16(s);
    return {units.begin(), units.end()};
}

}  // namespace

// ---------------------------------------------------------------- writing

Writer::Writer(int32_t width, int32_t height) : width_(width), height_(height) {
    if (width < 1 || height < 1 || width > kMaxExtent || height > kMaxExtent) {
        throw std::invalid_argument("EMF picture size out of range");
    }
    // The header; its counts are filled in by finish().
    put32(bytes_, rec::kHeader);
    put32(bytes_, kHeaderSize);
    for (int32_t v : {0, 0, width - 1, height - 1}) put32(bytes_, u(v));
    for (int32_t v : {0, 0, hundredthsMm(width) - 1, hundredthsMm(height) - 1}) put32(bytes_, u(v));
    put32(bytes_, kSignature);
    put32(bytes_, kVersion);
    put32(bytes_, 0);  // nBytes
    put32(bytes_, 0);  // nRecords
    put32(bytes_, 0);  // nHandles, sReserved
    put32(bytes_, 0);  // nDescription
    put32(bytes_, 0);  // offDescription
    put32(bytes_, 0);  // nPalEntries
    put32(bytes_, u(kDeviceWidth));
    put32(bytes_, u(kDeviceHeight));
    put32(bytes_, u((kDeviceWidthUm + 500) / 1000));
    put32(bytes_, u((kDeviceHeightUm + 500) / 1000));
    put32(bytes_, 0);  // cbPixelFormat
    put32(bytes_, 0);  // offPixelFormat
    put32(bytes_, 0);  // bOpenGL
    put32(bytes_, u(kDeviceWidthUm));
    put32(bytes_, u(kDeviceHeightUm));
    records_ = 1;
    record(rec::kSetMapMode, {kMmText});
}

void Writer::record(uint32_t type, const std::vector<uint32_t>& params) {
    if (finished_) throw std::logic_error("EMF writer already finished");
    put32(bytes_, type);
    put32(bytes_, static_cast<uint32_t>(8 + 4 * params.size()));
    for (uint32_t p : params) put32(bytes_, p);
    ++records_;
}

void Writer::recordBytes(uint32_t type, const std::vector<uint8_t>& params) {
    std::vector<uint32_t> words((params.size() + 3) / 4, 0);
    for (size_t i = 0; i < params.size(); ++i) words[i / 4] |= static_cast<uint32_t>(params[i]) << (8 * (i % 4));
    record(type, words);
}

Handle Writer::allocate() {
    for (size_t i = 0; i < inUse_.size(); ++i) {
        if (!inUse_[i]) {
            inUse_[i] = true;
            return static_cast<Handle>(i + 1);
        }
    }
    inUse_.push_back(true);
    return static_cast<Handle>(inUse_.size());
}

Handle Writer::createPen(uint32_t color, int32_t width) {
    const Handle h = allocate();
    record(rec::kCreatePen, {h, kPsSolid, u(std::max(width, 1)), 0, color & 0xFFFFFF});
    return h;
}

Handle Writer::createNullPen() {
    const Handle h = allocate();
    record(rec::kCreatePen, {h, kPsNull, 0, 0, 0});
    return h;
}

Handle Writer::createBrush(uint32_t color) {
    const Handle h = allocate();
    record(rec::kCreateBrushIndirect, {h, kBsSolid, color & 0xFFFFFF, 0});
    return h;
}

Handle Writer::createNullBrush() {
    const Handle h = allocate();
    record(rec::kCreateBrushIndirect, {h, kBsNull, 0, 0});
    return h;
}

Handle Writer::createFont(int32_t height, int32_t escapement, const std::string& face) {
    const Handle h = allocate();
    // The handle, then the LOGFONT with the zeroed extension the system's own writer adds
    // (full name, style, version ..., PANOSE), which some readers insist on.
    std::vector<uint8_t> p;
    put32(p, h);
    put32(p, u(-std::abs(height)));
    put32(p, 0);  // width: the font's own
    put32(p, u(escapement));
    put32(p, u(escapement));  // orientation
    put32(p, kFwNormal);
    for (uint8_t v : {uint8_t{0}, uint8_t{0}, uint8_t{0}, kDefaultCharset, uint8_t{0}, uint8_t{0}, uint8_t{0}, uint8_t{0}}) {
        p.push_back(v);
    }
    std::vector<uint16_t> name = utf16(face);
    name.resize(kFaceNameChars - 1);
    name.push_back(0);
    for (uint16_t c : name) {
        p.push_back(static_cast<uint8_t>(c));
        p.push_back(static_cast<uint8_t>(c >> 8));
    }
    p.resize(4 + kLogFontPanoseSize, 0);
    recordBytes(rec::kExtCreateFontIndirectW, p);
    return h;
}

void Writer::select(Handle handle) { record(rec::kSelectObject, {handle}); }

void Writer::deleteObject(Handle handle) {
    if (handle == 0 || handle > inUse_.size() || !inUse_[handle - 1]) {
        throw std::invalid_argument("EMF object handle not in use");
    }
    record(rec::kDeleteObject, {handle});
    inUse_[handle - 1] = false;
}

void Writer::setPolyFillMode(bool alternate) { record(rec::kSetPolyFillMode, {alternate ? kAlternate : kWinding}); }
void Writer::setBkModeTransparent() { record(rec::kSetBkMode, {kTransparent}); }
void Writer::setTextColor(uint32_t color) { record(rec::kSetTextColor, {color & 0xFFFFFF}); }
void Writer::setTextAlignTopLeft() { record(rec::kSetTextAlign, {0}); }

void Writer::rectangle(const Rect& r) { record(rec::kRectangle, {u(r.left), u(r.top), u(r.right), u(r.bottom)}); }
void Writer::ellipse(const Rect& r) { record(rec::kEllipse, {u(r.left), u(r.top), u(r.right), u(r.bottom)}); }

void Writer::pointRecord(uint32_t type, const std::vector<Point>& points) {
    if (points.empty()) throw std::invalid_argument("EMF point record without points");
    for (const Point& p : points) checkPoint16(p);
    const Rect b = boundsOf(points);
    std::vector<uint32_t> params{u(b.left), u(b.top), u(b.right), u(b.bottom), static_cast<uint32_t>(points.size())};
    for (const Point& p : points) params.push_back(packPoint16(p));
    record(type, params);
}

void Writer::polygon(const std::vector<Point>& points) { pointRecord(rec::kPolygon16, points); }
void Writer::polyline(const std::vector<Point>& points) { pointRecord(rec::kPolyline16, points); }

void Writer::beginPath() { record(rec::kBeginPath, {}); }
void Writer::moveTo(Point p) { record(rec::kMoveToEx, {u(p.x), u(p.y)}); }
void Writer::lineTo(const std::vector<Point>& points) { pointRecord(rec::kPolylineTo16, points); }

void Writer::bezierTo(const std::vector<Point>& points) {
    if (points.size() % 3 != 0) throw std::invalid_argument("Bezier segments take three points each");
    pointRecord(rec::kPolyBezierTo16, points);
}

void Writer::closeFigure() { record(rec::kCloseFigure, {}); }
void Writer::endPath() { record(rec::kEndPath, {}); }

// The bounds of these two records are informational; readers take the path's own.
void Writer::strokeAndFillPath() { record(rec::kStrokeAndFillPath, {0, 0, u(width_ - 1), u(height_ - 1)}); }
void Writer::strokePath() { record(rec::kStrokePath, {0, 0, u(width_ - 1), u(height_ - 1)}); }

void Writer::textOut(Point at, const std::string& utf8, int32_t advance) {
    const std::vector<uint16_t> chars = utf16(utf8);
    if (chars.empty()) return;
    const auto n = static_cast<uint32_t>(chars.size());
    const uint32_t stringWords = (n + 1) / 2;
    constexpr uint32_t kStringOffset = 76;
    const uint32_t dxOffset = kStringOffset + 4 * stringWords;
    std::vector<uint32_t> params{
        u(at.x), u(at.y), u(at.x + advance * static_cast<int32_t>(n) - 1), u(at.y + static_cast<int32_t>(kTextHeight) - 1),
        kGmCompatible,
        0, 0,  // exScale, eyScale: unused in the compatible graphics mode
        u(at.x), u(at.y), n, kStringOffset,
        0,                                 // fOptions: neither opaque nor clipped
        0, 0, u(-1), u(-1),                // rcl: none
        dxOffset,
    };
    for (uint32_t i = 0; i < stringWords; ++i) {
        const uint32_t lo = chars[2 * i];
        const uint32_t hi = 2 * i + 1 < n ? chars[2 * i + 1] : 0;
        params.push_back(lo | hi << 16);
    }
    for (uint32_t i = 0; i < n; ++i) params.push_back(u(advance));
    record(rec::kExtTextOutW, params);
}

std::vector<uint8_t> Writer::finish() {
    record(rec::kEof, {0, 16, 20});  // no palette entries; nSizeLast = this record's size
    finished_ = true;
    set32(bytes_, 48, static_cast<uint32_t>(bytes_.size()));
    set32(bytes_, 52, records_);
    set32(bytes_, 56, static_cast<uint32_t>(inUse_.size() + 1));
    return std::move(bytes_);
}

// ---------------------------------------------------------------- reading

std::optional<Metafile> read(const std::vector<uint8_t>& b, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<Metafile> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (b.size() < 88) return fail("shorter than an EMF header");
    if (get32(b, 0) != rec::kHeader) return fail("the first record is not EMR_HEADER");
    if (get32(b, 40) != kSignature) return fail("no EMF signature");
    Metafile m;
    Header& h = m.header;
    h.headerSize = get32(b, 4);
    if (h.headerSize < 88 || h.headerSize % 4 != 0 || h.headerSize > b.size()) return fail("bad header size");
    h.bounds = {geti32(b, 8), geti32(b, 12), geti32(b, 16), geti32(b, 20)};
    h.frame = {geti32(b, 24), geti32(b, 28), geti32(b, 32), geti32(b, 36)};
    h.version = get32(b, 44);
    h.bytes = get32(b, 48);
    h.records = get32(b, 52);
    h.handles = static_cast<uint16_t>(get32(b, 56) & 0xFFFF);
    h.paletteEntries = get32(b, 68);
    h.deviceWidth = geti32(b, 72);
    h.deviceHeight = geti32(b, 76);
    h.deviceWidthMm = geti32(b, 80);
    h.deviceHeightMm = geti32(b, 84);
    if (h.bytes != b.size()) return fail("nBytes is " + std::to_string(h.bytes) + ", the file has " + std::to_string(b.size()));
    if (h.handles < 1) return fail("nHandles is 0");

    size_t at = 0;
    while (at < b.size()) {
        if (b.size() - at < 8) return fail("a record's head is cut off at " + std::to_string(at));
        Record r{get32(b, at), static_cast<uint32_t>(at), get32(b, at + 4)};
        if (r.size < 8 || r.size % 4 != 0) return fail("record at " + std::to_string(at) + " has size " + std::to_string(r.size));
        if (r.size > b.size() - at) return fail("record at " + std::to_string(at) + " runs past the end");
        if (!m.records.empty() && r.type == rec::kHeader) return fail("a second header at " + std::to_string(at));
        m.records.push_back(r);
        at += r.size;
        if (r.type == rec::kEof) break;
    }
    if (m.records.back().type != rec::kEof) return fail("no EMR_EOF record");
    if (at != b.size()) return fail("bytes after EMR_EOF");
    if (m.records.size() != h.records) {
        return fail("nRecords is " + std::to_string(h.records) + ", the file has " + std::to_string(m.records.size()));
    }
    return m;
}

uint32_t param(const std::vector<uint8_t>& b, const Record& r, size_t index) {
    const size_t at = r.offset + 8 + 4 * index;
    if (at + 4 > static_cast<size_t>(r.offset) + r.size) throw std::out_of_range("EMF record parameter out of range");
    return get32(b, at);
}

std::vector<Point> points16(const std::vector<uint8_t>& b, const Record& r) {
    const uint32_t count = param(b, r, 4);
    if (count > (r.size - 28) / 4) throw std::out_of_range("EMF point count larger than its record");
    std::vector<Point> out;
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t v = param(b, r, 5 + i);
        out.push_back({static_cast<int16_t>(v & 0xFFFF), static_cast<int16_t>(v >> 16)});
    }
    return out;
}

std::string text(const std::vector<uint8_t>& b, const Record& r) {
    if (r.type != rec::kExtTextOutW || r.size < 76) throw std::invalid_argument("not an EXTTEXTOUTW record");
    const uint32_t n = param(b, r, 9);
    const uint32_t offset = param(b, r, 10);
    if (offset > r.size || n > (r.size - offset) / 2) throw std::out_of_range("EMF text outside its record");
    std::string out;
    for (uint32_t i = 0; i < n; ++i) {
        const size_t at = r.offset + offset + 2 * i;
        char32_t c = static_cast<char32_t>(b[at] | b[at + 1] << 8);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < n) {
            const auto lo = static_cast<char32_t>(b[at + 2] | b[at + 3] << 8);
            if (lo >= 0xDC00 && lo < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        text::utf8::append(out, c);
    }
    return out;
}

// ---------------------------------------------------------------- playing

namespace {

struct PenOrBrush {
    bool pen = false;
    std::optional<uint32_t> color;  // nothing: the null pen or brush
    double width = 1;
};

// GDI puts pixel i's centre on coordinate i; the rasterizer on i + 0.5.
PointF centre(Point p, const Rect& origin) { return {p.x - origin.left + 0.5, p.y - origin.top + 0.5}; }

}  // namespace

std::optional<Image> play(const std::vector<uint8_t>& b) {
    const auto m = read(b);
    if (!m) return std::nullopt;
    return play(*m, b);
}

std::optional<Image> play(const Metafile& m, const std::vector<uint8_t>& b) {
    const Rect& bounds = m.header.bounds;
    const int64_t w = int64_t{bounds.right} - bounds.left + 1;
    const int64_t h = int64_t{bounds.bottom} - bounds.top + 1;
    if (w < 1 || h < 1 || w > Writer::kMaxExtent || h > Writer::kMaxExtent) return std::nullopt;
    Image image = solidImage(static_cast<int32_t>(w), static_cast<int32_t>(h), 0xFFFFFF);

    std::map<uint32_t, PenOrBrush> objects;
    PenOrBrush pen{true, 0x000000, 1};  // the device context's defaults
    PenOrBrush brush{false, 0xFFFFFF, 0};
    FillRule fillRule = FillRule::EvenOdd;
    std::vector<Polyline> path;
    std::vector<bool> closed;
    PointF current;

    auto draw = [&](const std::vector<Polyline>& figures, const std::vector<bool>& isClosed, bool fill) {
        if (fill && brush.color) {
            std::vector<Polyline> rings;
            for (size_t i = 0; i < figures.size(); ++i) {
                if (figures[i].size() >= 3) rings.push_back(figures[i]);  // GDI fills open figures closed
            }
            fillPolygons(image, rings, *brush.color, fillRule);
        }
        if (pen.color) {
            for (size_t i = 0; i < figures.size(); ++i) strokePolyline(image, figures[i], isClosed[i], pen.width, *pen.color);
        }
    };
    auto box = [&](const Record& r) {
        const Point tl{static_cast<int32_t>(param(b, r, 0)), static_cast<int32_t>(param(b, r, 1))};
        const Point br{static_cast<int32_t>(param(b, r, 2)) - 1, static_cast<int32_t>(param(b, r, 3)) - 1};
        const PointF a = centre(tl, bounds);
        const PointF z = centre(br, bounds);
        return std::pair{a, z};
    };

    for (const Record& r : m.records) {
        switch (r.type) {
            case rec::kCreatePen: {
                const uint32_t style = param(b, r, 1);
                objects[param(b, r, 0)] = {true, style == kPsNull ? std::nullopt : std::optional<uint32_t>(param(b, r, 4)),
                                           static_cast<double>(std::max<int32_t>(1, static_cast<int32_t>(param(b, r, 2))))};
                break;
            }
            case rec::kCreateBrushIndirect: {
                const uint32_t style = param(b, r, 1);
                objects[param(b, r, 0)] = {false, style == kBsSolid ? std::optional<uint32_t>(param(b, r, 2)) : std::nullopt, 0};
                break;
            }
            case rec::kSelectObject: {
                const Handle h = param(b, r, 0);
                if (h == stock::kWhiteBrush || h == stock::kNullBrush) {
                    brush = {false, h == stock::kWhiteBrush ? std::optional<uint32_t>(0xFFFFFF) : std::nullopt, 0};
                } else if (h == stock::kBlackPen || h == stock::kNullPen) {
                    pen = {true, h == stock::kBlackPen ? std::optional<uint32_t>(0x000000) : std::nullopt, 1};
                } else if (const auto it = objects.find(h); it != objects.end()) {
                    (it->second.pen ? pen : brush) = it->second;
                }
                break;
            }
            case rec::kDeleteObject: objects.erase(param(b, r, 0)); break;
            case rec::kSetPolyFillMode: fillRule = param(b, r, 0) == kWinding ? FillRule::NonZero : FillRule::EvenOdd; break;
            case rec::kRectangle: {
                const auto [a, z] = box(r);
                const Figure f = rectangleFigure(a.x, a.y, z.x, z.y);
                draw(flatten({f}, 0.2), {true}, true);
                break;
            }
            case rec::kEllipse: {
                const auto [a, z] = box(r);
                draw(flatten({ellipseFigure(a.x, a.y, z.x, z.y)}, 0.2), {true}, true);
                break;
            }
            case rec::kPolygon16:
            case rec::kPolyline16: {
                Polyline line;
                for (Point p : points16(b, r)) line.push_back(centre(p, bounds));
                const bool isPolygon = r.type == rec::kPolygon16;
                draw({line}, {isPolygon}, isPolygon);
                break;
            }
            case rec::kBeginPath:
                path.clear();
                closed.clear();
                break;
            case rec::kMoveToEx:
                current = centre({static_cast<int32_t>(param(b, r, 0)), static_cast<int32_t>(param(b, r, 1))}, bounds);
                path.push_back({current});
                closed.push_back(false);
                break;
            case rec::kPolylineTo16:
            case rec::kPolyBezierTo16: {
                if (path.empty()) {
                    path.push_back({current});
                    closed.push_back(false);
                }
                std::vector<PointF> pts;
                for (Point p : points16(b, r)) pts.push_back(centre(p, bounds));
                if (r.type == rec::kPolylineTo16) {
                    path.back().insert(path.back().end(), pts.begin(), pts.end());
                } else {
                    for (size_t i = 0; i + 2 < pts.size(); i += 3) {
                        flattenCubic(path.back().back(), pts[i], pts[i + 1], pts[i + 2], 0.2, path.back());
                    }
                }
                current = path.back().back();
                break;
            }
            case rec::kCloseFigure:
                if (!closed.empty()) closed.back() = true;
                break;
            case rec::kStrokeAndFillPath:
                draw(path, closed, true);
                break;
            case rec::kStrokePath:
                draw(path, closed, false);
                break;
            default: break;
        }
    }
    return image;
}

}  // namespace qm::picture::emf
