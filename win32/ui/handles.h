// Owners of the GDI and window handles the Win32 windows make, each counted in the
// toolkit's tally so that tests can see that opening and closing a window leaves nothing
// behind (Wine's GetGuiResources answers 0, so the toolkit counts its own creations).
#pragma once

#include "win32/utf.h"

#include <cstdint>
#include <utility>

namespace qm::win32::ui {

// Live objects the toolkit created and has not released yet.
struct ResourceTally {
    int gdiObjects = 0;   // fonts, brushes, bitmaps, memory DCs
    int userObjects = 0;  // windows
};

// One GDI object (font, brush, bitmap), deleted with the owner.
class GdiObject {
public:
    GdiObject() = default;
    GdiObject(HGDIOBJ handle, ResourceTally& tally) noexcept : handle_(handle), tally_(handle ? &tally : nullptr) {
        if (tally_) ++tally_->gdiObjects;
    }
    GdiObject(GdiObject&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), tally_(std::exchange(other.tally_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
            tally_ = std::exchange(other.tally_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    void reset() noexcept {
        if (handle_) {
            ::DeleteObject(handle_);
            --tally_->gdiObjects;
        }
        handle_ = nullptr;
        tally_ = nullptr;
    }
    HGDIOBJ get() const noexcept { return handle_; }
    HFONT font() const noexcept { return static_cast<HFONT>(handle_); }
    HBRUSH brush() const noexcept { return static_cast<HBRUSH>(handle_); }
    HBITMAP bitmap() const noexcept { return static_cast<HBITMAP>(handle_); }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

private:
    HGDIOBJ handle_ = nullptr;
    ResourceTally* tally_ = nullptr;
};

// A memory device context, deleted with the owner (whatever is selected into it is put
// back first by whoever selected it).
class MemoryDc {
public:
    MemoryDc() = default;
    explicit MemoryDc(ResourceTally& tally) noexcept : dc_(::CreateCompatibleDC(nullptr)), tally_(dc_ ? &tally : nullptr) {
        if (tally_) ++tally_->gdiObjects;
    }
    MemoryDc(MemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)), tally_(std::exchange(other.tally_, nullptr)) {}
    MemoryDc& operator=(MemoryDc&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
            tally_ = std::exchange(other.tally_, nullptr);
        }
        return *this;
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() { reset(); }

    void reset() noexcept {
        if (dc_) {
            ::DeleteDC(dc_);
            --tally_->gdiObjects;
        }
        dc_ = nullptr;
        tally_ = nullptr;
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
    ResourceTally* tally_ = nullptr;
};

// Selects an object into a DC for one scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~Selected() {
        if (old_) ::SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A colour as the form model writes it (0x00BBGGRR, or a system colour index with the
// high bit set) as a COLORREF.
inline COLORREF toColorRef(uint32_t color) noexcept {
    if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

}  // namespace qm::win32::ui
