// One-line owners for the COM and Win32 resources the add-in holds: interface pointers,
// BSTRs, SAFEARRAYs and VARIANTs. Whatever one of these holds is released when it goes.
#pragma once

#include "win32/utf.h"

#include <oleauto.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace qm::com {

// An owned interface pointer (AddRef on copy, Release on destruction).
template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already holds (an out parameter, a new object).
    static ComPtr adopt(T* p) noexcept {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    // Adds a reference of its own.
    static ComPtr share(T* p) noexcept {
        if (p) p->AddRef();
        return adopt(p);
    }
    ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    // From a pointer to a derived interface or class.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*> && !std::is_same_v<U, T>>>
    ComPtr(const ComPtr<U>& other) noexcept : p_(other.get()) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out parameters: releases what is held and hands out the slot.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
    // Hands the reference to the caller.
    T* detach() noexcept { return std::exchange(p_, nullptr); }

    // QueryInterface; null when the object lacks the interface.
    template <class U>
    ComPtr<U> query() const noexcept {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(__uuidof(U), r.putVoid());
        return r;
    }

private:
    T* p_ = nullptr;
};

struct BstrFree { void operator()(BSTR b) const noexcept { ::SysFreeString(b); } };
using UniqueBstr = std::unique_ptr<std::remove_pointer_t<BSTR>, BstrFree>;

struct SafeArrayFree { void operator()(SAFEARRAY* a) const noexcept { ::SafeArrayDestroy(a); } };
using UniqueSafeArray = std::unique_ptr<SAFEARRAY, SafeArrayFree>;

// A VARIANT cleared when it goes. Move-only: a copy of a VARIANT is a deliberate
// VariantCopy, never an accident.
class Variant {
public:
    Variant() noexcept { ::VariantInit(&v_); }
    Variant(Variant&& other) noexcept : v_(other.v_) { ::VariantInit(&other.v_); }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            ::VariantClear(&v_);
            v_ = other.v_;
            ::VariantInit(&other.v_);
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&v_); }

    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }
    // Clears and hands out the VARIANT for a callee to fill.
    VARIANT* put() noexcept {
        ::VariantClear(&v_);
        return &v_;
    }
    // Hands the contents to the caller, who must clear them.
    VARIANT release() noexcept {
        VARIANT out = v_;
        ::VariantInit(&v_);
        return out;
    }
    VARTYPE type() const noexcept { return v_.vt; }

private:
    VARIANT v_;
};

}  // namespace qm::com
