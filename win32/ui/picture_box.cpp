// The Win32 picture box: scale conversions, the drawing list and its GDI buffer.
#include "win32/ui/picture_box.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

std::vector<std::wstring> linesOf(const std::string& text) {
    std::vector<std::wstring> lines(1);
    for (wchar_t c : toUtf16(text)) {
        if (c == L'\n') {
            if (!lines.back().empty() && lines.back().back() == L'\r') lines.back().pop_back();
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    for (auto& line : lines) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
    }
    return lines;
}

// A BMP file's header and pixels, or nothing when the bytes are not one.
bool bmpParts(const std::vector<uint8_t>& bytes, const BITMAPINFO*& info, const uint8_t*& bits, LONG& width, LONG& height) {
    constexpr size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M') return false;
    uint32_t offset = 0;
    std::memcpy(&offset, bytes.data() + 10, sizeof(offset));
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bytes.data() + kFileHeader, sizeof(header));
    if (offset >= bytes.size() || header.biWidth <= 0 || header.biHeight == 0) return false;
    info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + kFileHeader);
    bits = bytes.data() + offset;
    width = header.biWidth;
    height = std::abs(header.biHeight);
    return true;
}

}  // namespace

PictureBox::PictureBox(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::PictureBox, std::move(name), b), drawFont_(form.fontSpec()) {
    createWindow(form.toolkit().controlClass(), WS_CLIPCHILDREN | WS_TABSTOP, 0, L"");
    redrawBuffer();
}

PictureBox::~PictureBox() {
    // The bitmap leaves the DC before either is deleted.
    if (bufferDc_ && bufferOld_) ::SelectObject(bufferDc_.get(), bufferOld_);
    buffer_.reset();
    bufferDc_.reset();
}

void PictureBox::setBorder(bool v) {
    if (v == border_) return;
    border_ = v;
    if (hwnd_) {
        auto ex = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
        ex = v ? ex | WS_EX_CLIENTEDGE : ex & ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
        ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(ex));
        ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    redrawBuffer();
}

void PictureBox::setBackColor(uint32_t color) {
    backColor_ = color;
    redrawBuffer();
}

double PictureBox::inset() const {
    // The sunken border is two pixels on each side.
    return border_ ? ::GetSystemMetrics(SM_CXEDGE) * form().toolkit().twipsPerPixelX() : 0;
}

double PictureBox::innerWidth() const { return std::max(0.0, bounds_.width - 2 * inset()); }

double PictureBox::innerHeight() const { return std::max(0.0, bounds_.height - 2 * inset()); }

SIZE PictureBox::measure(const qm::ui::Font& font, const std::string& text, int& lineHeight) const {
    MemoryDc scratch;
    HDC dc = bufferDc_.get();
    if (!dc) {
        scratch = MemoryDc(form().toolkit().tally());
        dc = scratch.get();
    }
    Selected selected(dc, form().font(font));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    lineHeight = tm.tmHeight;
    const std::vector<std::wstring> lines = linesOf(text);
    LONG widest = 0;
    for (const std::wstring& line : lines) {
        SIZE size{0, 0};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, size.cx);
    }
    return SIZE{widest, static_cast<LONG>(lines.size()) * lineHeight};
}

double PictureBox::textWidth(const std::string& text) const {
    int lineHeight = 0;
    return lengthFromTwipsX(measure(drawFont_, text, lineHeight).cx * form().toolkit().twipsPerPixelX());
}

double PictureBox::textHeight(const std::string& text) const {
    int lineHeight = 0;
    return lengthFromTwipsY(measure(drawFont_, text, lineHeight).cy * form().toolkit().twipsPerPixelY());
}

void PictureBox::printText(double x, double y, const std::string& text) {
    add(Text{toTwipsX(x), toTwipsY(y), text, drawFont_, drawColor_});
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, uint32_t color) {
    const double a = toTwipsX(x1), b = toTwipsX(x2), c = toTwipsY(y1), d = toTwipsY(y2);
    add(Box{std::min(a, b), std::min(c, d), std::fabs(b - a), std::fabs(d - c), color});
}

void PictureBox::paintPicture(const platform::Picture& picture, double x, double y, double width, double height) {
    const double a = toTwipsX(x), b = toTwipsX(x + width), c = toTwipsY(y), d = toTwipsY(y + height);
    add(Picture{picture, std::min(a, b), std::min(c, d), std::fabs(b - a), std::fabs(d - c)});
}

void PictureBox::clear() {
    items_.clear();
    redrawBuffer();
}

void PictureBox::add(Item item) {
    items_.push_back(std::move(item));
    if (!bufferDc_) return;
    drawItem(items_.back());
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::moved() {
    if (!hwnd_) return;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    if (client.right != bufferSize_.cx || client.bottom != bufferSize_.cy) redrawBuffer();
}

void PictureBox::redrawBuffer() {
    if (!hwnd_) return;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    const SIZE size{std::max(1L, client.right), std::max(1L, client.bottom)};
    ResourceTally& tally = form().toolkit().tally();
    if (!bufferDc_ || size.cx != bufferSize_.cx || size.cy != bufferSize_.cy) {
        if (bufferDc_ && bufferOld_) ::SelectObject(bufferDc_.get(), bufferOld_);
        buffer_.reset();
        if (!bufferDc_) bufferDc_ = MemoryDc(tally);
        HDC screen = ::GetDC(nullptr);
        buffer_ = GdiObject(::CreateCompatibleBitmap(screen, size.cx, size.cy), tally);
        ::ReleaseDC(nullptr, screen);
        bufferOld_ = ::SelectObject(bufferDc_.get(), buffer_.get());
        bufferSize_ = size;
    }
    RECT all{0, 0, size.cx, size.cy};
    ::FillRect(bufferDc_.get(), &all, form().brush(backColor_));
    for (const Item& item : items_) drawItem(item);
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::drawItem(const Item& item) {
    HDC dc = bufferDc_.get();
    const Toolkit& tk = form().toolkit();
    if (const auto* t = std::get_if<Text>(&item)) {
        Selected font(dc, form().font(t->font));
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, toColorRef(t->color));
        int y = tk.pixelsY(t->y);
        for (const std::wstring& line : linesOf(t->text)) {
            ::TextOutW(dc, tk.pixelsX(t->x), y, line.c_str(), static_cast<int>(line.size()));
            y += tm.tmHeight;
        }
    } else if (const auto* b = std::get_if<Box>(&item)) {
        RECT rc{tk.pixelsX(b->left), tk.pixelsY(b->top), tk.pixelsX(b->left + b->width), tk.pixelsY(b->top + b->height)};
        if (rc.right == rc.left) ++rc.right;  // a box narrower than a pixel still shows
        if (rc.bottom == rc.top) ++rc.bottom;
        ::FillRect(dc, &rc, form().brush(b->color));
    } else if (const auto* p = std::get_if<Picture>(&item)) {
        RECT rc{tk.pixelsX(p->left), tk.pixelsY(p->top), tk.pixelsX(p->left + p->width), tk.pixelsY(p->top + p->height)};
        const std::vector<uint8_t>& bytes = p->picture.bytes;
        if (p->picture.format == platform::cf::kEnhMetafile) {
            HENHMETAFILE emf = ::SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
            if (emf) {
                ::PlayEnhMetaFile(dc, emf, &rc);
                ::DeleteEnhMetaFile(emf);
            }
        } else {
            const BITMAPINFO* info = nullptr;
            const uint8_t* bits = nullptr;
            LONG w = 0, h = 0;
            if (bmpParts(bytes, info, bits, w, h)) {
                ::SetStretchBltMode(dc, HALFTONE);
                ::SetBrushOrgEx(dc, 0, 0, nullptr);
                ::StretchDIBits(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, 0, 0, w, h, bits, info,
                                DIB_RGB_COLORS, SRCCOPY);
            }
        }
    }
}

std::optional<COLORREF> PictureBox::bufferPixel(int x, int y) const {
    if (!bufferDc_ || x < 0 || y < 0 || x >= bufferSize_.cx || y >= bufferSize_.cy) return std::nullopt;
    return ::GetPixel(bufferDc_.get(), x, y);
}

LRESULT PictureBox::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // The controls the box holds report to it; they are the form's.
    if (form().route(msg, wParam, lParam, result)) return result;
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            if (bufferDc_) {
                ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                         ps.rcPaint.bottom - ps.rcPaint.top, bufferDc_.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
            }
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: moved(); break;
        default: break;
    }
    return Widget::message(msg, wParam, lParam);
}

void PictureBox::describeOwn(automation::Writer& w) const {
    w.record("border").flag(border_);
    if (const auto& user = scale_.user()) {
        w.record("scale").text("user").number(user->left).number(user->top).number(user->width).number(user->height);
    } else {
        w.record("scale").text("twips");
    }
    w.record("scale-size").number(scaleWidth()).number(scaleHeight());
    w.record("inner").number(innerWidth()).number(innerHeight());
    w.record("backcolor").integer(backColor_);
    for (const Item& item : items_) {
        if (const auto* t = std::get_if<Text>(&item)) {
            w.record("text").number(t->x).number(t->y).text(t->text).text(t->font.name).number(t->font.size);
            w.flag(t->font.bold).flag(t->font.italic).integer(t->color);
        } else if (const auto* b = std::get_if<Box>(&item)) {
            w.record("box").number(b->left).number(b->top).number(b->width).number(b->height).integer(b->color);
        } else if (const auto* p = std::get_if<Picture>(&item)) {
            w.record("picture").integer(p->picture.format).integer(static_cast<long long>(p->picture.bytes.size()));
            w.number(p->left).number(p->top).number(p->width).number(p->height);
        }
    }
}

}  // namespace qm::win32::ui
