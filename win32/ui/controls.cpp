// The simple Win32 controls.
#include "win32/ui/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "core/host/error.h"
#include "win32/ui/form.h"
#include "win32/ui/toolkit.h"

namespace qm::win32::ui {

namespace {

constexpr int32_t kInvalidPropertyValue = 380;
constexpr int kBackspace = 8;
constexpr int kSpace = 32;
constexpr int kDelete = 127;

[[noreturn]] void invalidValue(const std::string& what) {
    throw qm::host::HostError(kInvalidPropertyValue, "Invalid property value (" + what + ")");
}

bool isArrowCaption(const std::string& caption) {
    return caption == "3" || caption == "4" || caption == "5" || caption == "6";
}

// Code points and UTF-16 positions in a text.
int codePointsBefore(const std::wstring& text, size_t units) {
    int n = 0;
    for (size_t i = 0; i < std::min(units, text.size()); ++i) {
        if (!(text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF)) ++n;
    }
    return n;
}

size_t unitsBefore(const std::wstring& text, int codePoints) {
    size_t i = 0;
    for (int n = 0; n < codePoints && i < text.size(); ++n) {
        i += (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
    }
    return i;
}

}  // namespace

// ---------------------------------------------------------------- Label

Label::Label(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Label, std::move(name), b) {
    // SS_NOTIFY: the label reports clicks (and is hit by the mouse at all).
    createWindow(L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, L"");
}

void Label::setCaption(const std::string& text) {
    caption_ = text;
    if (hwnd_) ::SetWindowTextW(hwnd_, toUtf16(text).c_str());
}

void Label::setForeColor(uint32_t color) {
    foreColor_ = color;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Label::notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC) {
        result = reinterpret_cast<LRESULT>(backgroundBrush(reinterpret_cast<HDC>(wParam)));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), toColorRef(foreColor_));
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        // Labels take no focus: only onClick runs.
        if (acceptsInput()) fireEvent(onClick);
        return true;
    }
    return Widget::notification(msg, wParam, lParam, result);
}

void Label::describeOwn(automation::Writer& w) const { w.record("forecolor").integer(foreColor_); }

// ---------------------------------------------------------------- Button

Button::Button(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Button, std::move(name), b) {
    createWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, L"");
}

void Button::setCaption(const std::string& text) {
    caption_ = text;
    if (hwnd_) ::SetWindowTextW(hwnd_, toUtf16(text).c_str());
    updateStyle();
}

void Button::setFont(const qm::ui::Font& f) {
    applyFont(f);
    updateStyle();
}

void Button::setCancel(bool v) {
    Button*& slot = form().cancelButtonSlot();
    if (v) {
        slot = this;
    } else if (slot == this) {
        slot = nullptr;
    }
}

bool Button::cancel() const { return form().cancelButtonSlot() == this; }

void Button::setDefault(bool v) {
    Button*& slot = form().defaultButtonSlot();
    Button* before = slot;
    if (v) {
        slot = this;
    } else if (slot == this) {
        slot = nullptr;
    }
    if (before && before != slot) before->updateStyle();
    updateStyle();
}

bool Button::isDefault() const { return form().defaultButtonSlot() == this; }

void Button::setFaceColor(uint32_t color) {
    faceColor_ = color;
    ownFace_ = true;
    updateStyle();
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Button::updateStyle() {
    if (!hwnd_) return;
    // Drawn here: a button in a colour of its own, and an arrow button whose symbol font
    // (Marlett) is not installed, which would otherwise show the digit.
    const bool arrowWithoutFont = isArrowCaption(caption_) && fontSpec_.name == "Marlett" && !form().exactFace(fontSpec_);
    const DWORD type = ownFace_ || arrowWithoutFont ? BS_OWNERDRAW : isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    if ((style & BS_TYPEMASK) == type) return;
    ::SendMessageW(hwnd_, BM_SETSTYLE, type, TRUE);
    ::SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>((style & ~static_cast<DWORD>(BS_TYPEMASK)) | type));
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Button::press() {
    if (acceptsInput()) fireEvent(onClick);
}

bool Button::notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        press();
        return true;
    }
    if (msg == WM_DRAWITEM) {
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return Widget::notification(msg, wParam, lParam, result);
}

void Button::drawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    RECT inner = rc;
    ::InflateRect(&inner, -3, -3);
    if (pushed) ::OffsetRect(&inner, 1, 1);
    if (ownFace_) ::FillRect(dc, &inner, form().brush(faceColor_));
    const COLORREF ink = ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    if (isArrowCaption(caption_) && fontSpec_.name == "Marlett" && !form().exactFace(fontSpec_)) {
        // The triangle Marlett draws for 3 (left), 4 (right), 5 (up) and 6 (down).
        const int cx = static_cast<int>(inner.left + inner.right) / 2, cy = static_cast<int>(inner.top + inner.bottom) / 2;
        const int r = std::max<int>(2, std::min<int>(inner.right - inner.left, inner.bottom - inner.top) / 4);
        POINT p[3];
        switch (caption_[0]) {
            case '3': p[0] = {cx + r / 2, cy - r}; p[1] = {cx + r / 2, cy + r}; p[2] = {cx - r / 2, cy}; break;
            case '4': p[0] = {cx - r / 2, cy - r}; p[1] = {cx - r / 2, cy + r}; p[2] = {cx + r / 2, cy}; break;
            case '5': p[0] = {cx - r, cy + r / 2}; p[1] = {cx + r, cy + r / 2}; p[2] = {cx, cy - r / 2}; break;
            default: p[0] = {cx - r, cy - r / 2}; p[1] = {cx + r, cy - r / 2}; p[2] = {cx, cy + r / 2}; break;
        }
        Selected pen(dc, ::GetStockObject(DC_PEN));
        Selected fill(dc, ::GetStockObject(DC_BRUSH));
        ::SetDCPenColor(dc, ink);
        ::SetDCBrushColor(dc, ink);
        ::Polygon(dc, p, 3);
    } else {
        Selected font(dc, currentFont());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ink);
        std::wstring text = toUtf16(caption_);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = rc;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(dc, &focus);
    }
}

void Button::describeOwn(automation::Writer& w) const {
    w.record("cancel").flag(cancel());
    w.record("default").flag(isDefault());
    w.record("facecolor").integer(faceColor_);
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::CheckBox, std::move(name), b) {
    // Not an automatic box: the value changes here, so that code and clicks raise one event.
    createWindow(L"BUTTON", BS_3STATE | WS_TABSTOP, 0, L"");
}

void CheckBox::setCaption(const std::string& text) {
    caption_ = text;
    if (hwnd_) ::SetWindowTextW(hwnd_, toUtf16(text).c_str());
}

void CheckBox::setValue(int v) {
    if (v < 0 || v > 2) invalidValue(name_ + ".Value = " + std::to_string(v));
    if (v == value_) return;
    value_ = v;
    if (hwnd_) ::SendMessageW(hwnd_, BM_SETCHECK, static_cast<WPARAM>(v), 0);
    fireEvent(onClick);
}

bool CheckBox::notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // A click (or the space bar): grayed turns unchecked.
        if (acceptsInput()) setValue(value_ == 0 ? 1 : 0);
        return true;
    }
    return Widget::notification(msg, wParam, lParam, result);
}

// ---------------------------------------------------------------- Frame

Frame::Frame(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Frame, std::move(name), b) {
    createWindow(L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, 0, L"");
}

void Frame::setCaption(const std::string& text) {
    caption_ = text;
    if (hwnd_) ::SetWindowTextW(hwnd_, toUtf16(text).c_str());
}

LRESULT Frame::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // A group box tells its own parent nothing: the controls it holds are the form's.
    if (form().route(msg, wParam, lParam, result)) return result;
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(hwnd_, &rc);
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, form().brush(qm::ui::kColorButtonFace));
            return 1;
        }
        default:
            break;
    }
    return Widget::message(msg, wParam, lParam);
}

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::TextBox, std::move(name), b) {
    createWindow(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, L"");
}

std::wstring TextBox::windowText() const {
    if (!hwnd_) return toUtf16(text_);
    const int n = ::GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd_, text.data(), n + 1)));
    return text;
}

std::string TextBox::text() const { return hwnd_ ? toUtf8(windowText()) : text_; }

void TextBox::setText(const std::string& t) {
    const std::wstring wide = toUtf16(t);
    std::string normalised = toUtf8(wide);  // malformed bytes become U+FFFD, as typed text would
    if (normalised == text()) return;
    text_ = std::move(normalised);
    if (hwnd_) {
        settingText_ = true;
        ::SetWindowTextW(hwnd_, wide.c_str());
        // The caret goes to the start, as the edit control puts it.
        ::SendMessageW(hwnd_, EM_SETSEL, 0, 0);
        settingText_ = false;
    }
    fireEvent(onChange);
}

int TextBox::selStart() const {
    if (!hwnd_) return 0;
    DWORD start = 0, end = 0;
    ::SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return codePointsBefore(windowText(), start);
}

int TextBox::selLength() const {
    if (!hwnd_) return 0;
    DWORD start = 0, end = 0;
    ::SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = windowText();
    return codePointsBefore(text, end) - codePointsBefore(text, start);
}

void TextBox::setSelStart(int v) {
    if (v < 0) invalidValue(name_ + ".SelStart = " + std::to_string(v));
    if (!hwnd_) return;
    const size_t at = unitsBefore(windowText(), v);  // clamped to the text; the selection collapses
    ::SendMessageW(hwnd_, EM_SETSEL, at, static_cast<LPARAM>(at));
}

void TextBox::setSelLength(int v) {
    if (v < 0) invalidValue(name_ + ".SelLength = " + std::to_string(v));
    if (!hwnd_) return;
    const std::wstring text = windowText();
    const int start = selStart();
    const size_t from = unitsBefore(text, start);
    const size_t to = unitsBefore(text, start + v);
    ::SendMessageW(hwnd_, EM_SETSEL, from, static_cast<LPARAM>(to));
}

void TextBox::setBackColor(uint32_t color) {
    backColor_ = color;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TextBox::textChanged() {
    if (settingText_) return;
    std::string now = text();
    if (now == text_) return;
    text_ = std::move(now);
    fireEvent(onChange);
}

bool TextBox::notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        textChanged();
        return true;
    }
    if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, toColorRef(backColor_));
        ::SetTextColor(dc, ::GetSysColor(enabled_ ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        result = reinterpret_cast<LRESULT>(form().brush(backColor_));
        return true;
    }
    return Widget::notification(msg, wParam, lParam, result);
}

LRESULT TextBox::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && onKeyDown) {
        int keyCode = static_cast<int>(wParam);
        fireEvent(onKeyDown, keyCode, ::GetKeyState(VK_SHIFT) < 0 ? qm::ui::kShiftMask : 0);
        if (keyCode == 0 || !hwnd_) return 0;  // kept from the box, or the window went
        return Widget::message(msg, static_cast<WPARAM>(keyCode), lParam);
    }
    if (msg == WM_CHAR) {
        const auto unit = static_cast<wchar_t>(wParam);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            highSurrogate_ = unit;
            return 0;
        }
        char32_t cp = unit;
        if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_) {
            cp = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
        }
        highSurrogate_ = 0;
        character(cp, lParam);
        return 0;
    }
    return Widget::message(msg, wParam, lParam);
}

void TextBox::character(char32_t cp, LPARAM lParam) {
    int keyAscii = cp < 0x80 ? static_cast<int>(cp) : kNonAsciiBase + static_cast<int>(cp);
    fireEvent(onKeyPress, keyAscii);
    if (!hwnd_ || keyAscii == 0) return;  // swallowed, or the handler closed the window
    if (keyAscii == kBackspace) {
        defaultProc(WM_CHAR, kBackspace, lParam);
        return;
    }
    if (keyAscii < kSpace) {
        // Enter, Escape and Tab are not inserted (nor beeped at); the edit's own
        // shortcuts are: select all, copy, paste, cut and undo.
        if (keyAscii == 1 || keyAscii == 3 || keyAscii == 22 || keyAscii == 24 || keyAscii == 26) {
            defaultProc(WM_CHAR, static_cast<WPARAM>(keyAscii), lParam);
        }
        return;
    }
    if (keyAscii == kDelete) return;
    // The handler may have changed the key: 0x80-0xFF are Latin-1, 0x100 and up a code point.
    const char32_t out = keyAscii >= kNonAsciiBase ? static_cast<char32_t>(keyAscii - kNonAsciiBase) : static_cast<char32_t>(keyAscii);
    if (out > 0xFFFF) {
        defaultProc(WM_CHAR, static_cast<WPARAM>(0xD800 + ((out - 0x10000) >> 10)), lParam);
        defaultProc(WM_CHAR, static_cast<WPARAM>(0xDC00 + ((out - 0x10000) & 0x3FF)), lParam);
    } else {
        defaultProc(WM_CHAR, static_cast<WPARAM>(out), lParam);
    }
}

void TextBox::describeOwn(automation::Writer& w) const { w.record("backcolor").integer(backColor_); }

// ---------------------------------------------------------------- ScrollBar

ScrollBar::ScrollBar(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::ScrollBar, std::move(name), b) {
    createWindow(L"SCROLLBAR", SBS_VERT | WS_TABSTOP, 0, L"");
    applyRange();
}

int ScrollBar::clamp(int v) const { return std::clamp(v, std::min(min_, max_), std::max(min_, max_)); }

void ScrollBar::applyRange() {
    if (!hwnd_) return;
    // Windows wants min <= max: the control runs from the lower number, at the top.
    const int lo = std::min(min_, max_), hi = std::max(min_, max_);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    si.nMin = 0;
    si.nMax = hi - lo;
    si.nPage = 0;
    si.nPos = clamp(value_) - lo;
    ::SetScrollInfo(hwnd_, SB_CTL, &si, TRUE);
}

void ScrollBar::setRange(int min, int max) {
    min_ = min;
    max_ = max;
    applyRange();
    setValue(value_);
}

void ScrollBar::setValue(int v) {
    v = clamp(v);
    if (v == value_) return;
    value_ = v;
    if (hwnd_) ::SetScrollPos(hwnd_, SB_CTL, v - std::min(min_, max_), TRUE);
    fireEvent(onChange);
}

LRESULT ScrollBar::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        // The focus moves when the button goes down (in the base); the scroll requests
        // that the control's own click handling sends then are the arrow's.
        arrowClick_ = true;
        const LRESULT r = Widget::message(msg, wParam, lParam);
        arrowClick_ = false;
        return r;
    }
    return Widget::message(msg, wParam, lParam);
}

bool ScrollBar::notification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_VSCROLL) return Widget::notification(msg, wParam, lParam, result);
    result = 0;
    const int code = LOWORD(wParam);
    if (code == SB_ENDSCROLL) return true;
    // A scroll request that came without a click (the keyboard, a message): the focus
    // moves first, as for a click.
    if (!arrowClick_ && !form().userFocus(*this)) return true;
    if (!acceptsInput()) return true;
    const int lo = std::min(min_, max_), hi = std::max(min_, max_);
    switch (code) {
        case SB_LINEUP:
        case SB_PAGEUP: setValue(value_ - 1); break;
        case SB_LINEDOWN:
        case SB_PAGEDOWN: setValue(value_ + 1); break;
        case SB_TOP: setValue(lo); break;
        case SB_BOTTOM: setValue(hi); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{};
            si.cbSize = sizeof(si);
            si.fMask = SIF_TRACKPOS;
            ::GetScrollInfo(hwnd_, SB_CTL, &si);
            setValue(lo + si.nTrackPos);
            break;
        }
        default: break;
    }
    return true;
}

void ScrollBar::describeOwn(automation::Writer& w) const { w.record("range").integer(min_).integer(max_); }

// ---------------------------------------------------------------- Image

Image::Image(Form& form, Widget* container, std::string name, const Bounds& b)
    : ControlBase(form, container, Kind::Image, std::move(name), b) {
    createWindow(form.toolkit().controlClass(), 0, 0, L"");
}

void Image::setPicture(const std::vector<uint8_t>& bmp) {
    picture_ = bmp;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Image::paint(HDC dc) {
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    constexpr size_t kFileHeader = 14;
    BITMAPINFOHEADER header{};
    bool drawn = false;
    if (picture_.size() > kFileHeader + sizeof(header) && picture_[0] == 'B' && picture_[1] == 'M') {
        std::memcpy(&header, picture_.data() + kFileHeader, sizeof(header));
        uint32_t offset = 0;
        std::memcpy(&offset, picture_.data() + 10, sizeof(offset));
        if (offset < picture_.size() && header.biWidth > 0 && header.biHeight != 0) {
            ::SetStretchBltMode(dc, COLORONCOLOR);
            drawn = ::StretchDIBits(dc, 0, 0, rc.right, rc.bottom, 0, 0, header.biWidth, std::abs(header.biHeight),
                                    picture_.data() + offset, reinterpret_cast<const BITMAPINFO*>(picture_.data() + kFileHeader),
                                    DIB_RGB_COLORS, SRCCOPY) != 0;
        }
    }
    if (!drawn) ::FillRect(dc, &rc, backgroundBrush(dc));
}

void Image::mouse(const std::function<void(int, double, double)>& handler, WPARAM wParam, LPARAM lParam) {
    int button = 0;
    if (wParam & MK_LBUTTON) button |= qm::ui::kLeftButton;
    if (wParam & MK_RBUTTON) button |= 2;
    if (wParam & MK_MBUTTON) button |= 4;
    const double x = GET_X_LPARAM(lParam) * form().toolkit().twipsPerPixelX();
    const double y = GET_Y_LPARAM(lParam) * form().toolkit().twipsPerPixelY();
    if (acceptsInput()) fireEvent(handler, button, x, y);
}

LRESULT Image::message(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            paint(dc);
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                const wchar_t* cursor = pointer_ == qm::ui::MousePointer::SizeWE   ? IDC_SIZEWE
                                        : pointer_ == qm::ui::MousePointer::SizeNS ? IDC_SIZENS
                                                                                   : IDC_ARROW;
                ::SetCursor(::LoadCursorW(nullptr, cursor));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            // The image keeps the mouse until the button goes up, wherever it moves.
            ::SetCapture(hwnd_);
            mouse(onMouseDown, MK_LBUTTON, lParam);
            return 0;
        case WM_MOUSEMOVE:
            mouse(onMouseMove, wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            mouse(onMouseUp, MK_LBUTTON, lParam);  // the button that went up
            if (hwnd_ && ::GetCapture() == hwnd_) ::ReleaseCapture();
            return 0;
        default:
            break;
    }
    return Widget::message(msg, wParam, lParam);
}

void Image::describeOwn(automation::Writer& w) const {
    w.record("picture").integer(static_cast<long long>(picture_.size()));
    w.record("pointer").text(pointer_ == qm::ui::MousePointer::SizeWE   ? "size-we"
                             : pointer_ == qm::ui::MousePointer::SizeNS ? "size-ns"
                                                                        : "default");
}

}  // namespace qm::win32::ui
