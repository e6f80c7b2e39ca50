// The Win32 toolkit: window classes, fonts, screen resolution and the modal stack.
#include "win32/ui/toolkit.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "win32/ui/automation.h"
#include "win32/ui/form.h"
#include "win32/ui/widget.h"

namespace qm::win32::ui {

namespace {

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    // The module holding this code: the add-in DLL, or a test program linking the toolkit.
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

std::wstring uniqueName(const wchar_t* base, const void* owner) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%ls.%p", base, owner);
    return buffer;
}

struct FaceSearch {
    std::wstring wanted;  // empty: any face
    std::vector<std::wstring> found;
};

int CALLBACK collectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
    auto* search = reinterpret_cast<FaceSearch*>(param);
    search->found.emplace_back(lf->lfFaceName);
    return 1;
}

std::vector<std::wstring> facesFor(const std::wstring& face, int charset) {
    FaceSearch search{face, {}};
    LOGFONTW lf{};
    lf.lfCharSet = static_cast<BYTE>(charset);
    if (face.size() < LF_FACESIZE) std::wcscpy(lf.lfFaceName, face.c_str());
    HDC dc = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(dc, &lf, collectFace, reinterpret_cast<LPARAM>(&search), 0);
    ::ReleaseDC(nullptr, dc);
    return search.found;
}

}  // namespace

Toolkit::Toolkit(OwnerWindow owner) : owner_(std::move(owner)), instance_(thisModule()) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    HDC screen = ::GetDC(nullptr);
    const int dpiX = std::max(1, ::GetDeviceCaps(screen, LOGPIXELSX));
    dpiY_ = std::max(1, ::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    twipsPerPixelX_ = 1440.0 / dpiX;
    twipsPerPixelY_ = 1440.0 / dpiY_;
    describeMessage_ = ::RegisterWindowMessageW(automation::kDescribeMessage);

    // Names of this toolkit's own: two toolkits (two connections, or tests) never share a
    // class, and each unregisters its classes when it goes, as a DLL must before unloading.
    formClass_ = uniqueName(L"QuillmarkForm", this);
    controlClass_ = uniqueName(L"QuillmarkControl", this);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Form::windowProc;
    wc.hInstance = instance_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = formClass_.c_str();
    ::RegisterClassExW(&wc);
    wc.lpfnWndProc = Widget::classProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = controlClass_.c_str();
    ::RegisterClassExW(&wc);
}

Toolkit::~Toolkit() {
    ::UnregisterClassW(formClass_.c_str(), instance_);
    ::UnregisterClassW(controlClass_.c_str(), instance_);
}

std::unique_ptr<qm::ui::Form> Toolkit::createForm(const FormSpec& layout) { return makeForm(layout); }

std::unique_ptr<Form> Toolkit::makeForm(const FormSpec& layout) {
    auto form = std::make_unique<Form>(*this, layout);
    forms_.push_back(form.get());
    return form;
}

HWND Toolkit::activeModalWindow() const noexcept { return shown_.empty() ? nullptr : shown_.back()->hwnd(); }

HWND Toolkit::ownerForNewWindow() const noexcept {
    if (HWND modal = activeModalWindow()) return modal;
    try {
        return owner_ ? owner_() : nullptr;
    } catch (...) {
        return nullptr;  // an unowned window is better than none
    }
}

Form* Toolkit::findForm(const std::string& name) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if ((*it)->name() == name) return *it;
    }
    return nullptr;
}

void Toolkit::pop(Form& form) {
    const auto it = std::find(shown_.rbegin(), shown_.rend(), &form);
    if (it != shown_.rend()) shown_.erase(std::next(it).base());
}

void Toolkit::forget(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    shown_.erase(std::remove(shown_.begin(), shown_.end(), &form), shown_.end());
}

int Toolkit::pixelsX(double twips) const noexcept { return static_cast<int>(std::lround(twips / twipsPerPixelX_)); }

int Toolkit::pixelsY(double twips) const noexcept { return static_cast<int>(std::lround(twips / twipsPerPixelY_)); }

namespace {

// Whether text in that face shows Latin letters and Japanese characters rather than
// boxes: a face installed under a Japanese name may be a substitute that lacks one or the
// other (Wine's Japanese set-up maps its UI fonts to a CJK-only fallback, for one).
bool showsJapaneseText(const std::wstring& face, int dpiY) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(9, dpiY, 72);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT font = ::CreateFontIndirectW(&lf);
    if (!font) return false;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    static constexpr wchar_t kSample[] = L"Ag0\x8A2D\x5B9A\x30AA";  // Latin, digits, kanji, katakana
    WORD glyphs[6] = {};
    const DWORD n = ::GetGlyphIndicesW(dc, kSample, 6, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(font);
    if (n != 6) return false;
    for (WORD g : glyphs) {
        if (g == 0xFFFF) return false;
    }
    return true;
}

}  // namespace

ResolvedFace Toolkit::resolveFace(const std::string& name, int charset) {
    const auto key = std::make_pair(name, charset);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second;
    ResolvedFace resolved;
    const std::wstring wanted = toUtf16(name);
    const bool installed = !wanted.empty() && !facesFor(wanted, charset).empty();
    if (charset != SHIFTJIS_CHARSET) {
        if (installed) resolved = {wanted, charset, true};
    } else if (installed && showsJapaneseText(wanted, dpiY_)) {
        resolved = {wanted, charset, true};
    } else {
        // A Japanese face under another name that shows both scripts: a Gothic
        // (sans-serif) one first, never a vertical-writing "@" face.
        std::vector<std::wstring> candidates;
        for (const std::wstring& face : facesFor(L"", SHIFTJIS_CHARSET)) {
            if (face.empty() || face[0] == L'@') continue;
            if (std::find(candidates.begin(), candidates.end(), face) != candidates.end()) continue;
            if (face.find(L"Gothic") != std::wstring::npos) {
                candidates.insert(candidates.begin(), face);
            } else {
                candidates.push_back(face);
            }
        }
        for (const std::wstring& face : candidates) {
            if (showsJapaneseText(face, dpiY_)) {
                resolved = {face, SHIFTJIS_CHARSET, false};
                break;
            }
        }
    }
    if (resolved.face.empty()) {
        LOGFONTW gui{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
        resolved = {gui.lfFaceName, DEFAULT_CHARSET, false};
    }
    faces_.emplace(key, resolved);
    return resolved;
}

LOGFONTW Toolkit::logFont(const qm::ui::Font& font) {
    const ResolvedFace face = resolveFace(font.name, font.charset);
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font.size * dpiY_ / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(face.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wcsncpy(lf.lfFaceName, face.face.c_str(), LF_FACESIZE - 1);
    return lf;
}

}  // namespace qm::win32::ui
