// One-line owners for COM references, BSTRs and VARIANTs, used by the fake Excel and by
// the programs that drive the add-in DLL through it.
#pragma once

#include "win32/utf.h"

#include <oaidl.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <oleauto.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace qm::fake {

// A counted reference. Constructing from a raw pointer takes a new reference; adopt()
// takes over one the caller already owns (an out parameter).
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    static ComPtr adopt(T* p) {
        ComPtr out;
        out.p_ = p;
        return out;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // For out parameters: drops what is held first.
    T** put() {
        reset();
        return &p_;
    }
    T* detach() { return std::exchange(p_, nullptr); }

    // QueryInterface; null when the object does not answer `U`.
    template <class U>
    ComPtr<U> as() const {
        ComPtr<U> out;
        if (p_) p_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(out.put()));
        return out;
    }

private:
    T* p_ = nullptr;
};

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text) : b_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    explicit Bstr(std::string_view utf8) : Bstr(std::wstring_view(win32::toUtf16(utf8))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(b_, other.b_);
        return *this;
    }
    ~Bstr() { ::SysFreeString(b_); }

    BSTR get() const { return b_; }
    BSTR* put() {
        ::SysFreeString(std::exchange(b_, nullptr));
        return &b_;
    }
    BSTR detach() { return std::exchange(b_, nullptr); }
    std::wstring wide() const { return b_ ? std::wstring(b_, ::SysStringLen(b_)) : std::wstring(); }
    std::string utf8() const { return win32::toUtf8(wide()); }

private:
    BSTR b_ = nullptr;
};

class Variant {
public:
    Variant() { ::VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v_); }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT* put() {
        ::VariantClear(&v_);
        return &v_;
    }
    VARTYPE type() const { return v_.vt; }
    const VARIANT& operator*() const { return v_; }

private:
    VARIANT v_;
};

inline std::string toUtf8(BSTR b) { return b ? win32::toUtf8(std::wstring_view(b, ::SysStringLen(b))) : std::string(); }

}  // namespace qm::fake
