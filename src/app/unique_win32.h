// Small move-only owners for Win32 handles, each with its kind's empty value and release call.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueWin32 {
public:
    UniqueWin32() = default;
    explicit UniqueWin32(Handle handle) : handle_(handle) {}
    UniqueWin32(UniqueWin32&& other) noexcept : handle_(other.release()) {}
    UniqueWin32& operator=(UniqueWin32&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueWin32(const UniqueWin32&) = delete;
    UniqueWin32& operator=(const UniqueWin32&) = delete;
    ~UniqueWin32() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::empty(); }
    Handle release() { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::empty();
};

struct GdiObjectTraits {
    static HGDIOBJ empty() { return nullptr; }
    static void close(HGDIOBJ object) { DeleteObject(object); }
};
struct MenuTraits {
    static HMENU empty() { return nullptr; }
    static void close(HMENU menu) { DestroyMenu(menu); }
};
struct HookTraits {
    static HHOOK empty() { return nullptr; }
    static void close(HHOOK hook) { UnhookWindowsHookEx(hook); }
};
// CreateFileA reports failure as INVALID_HANDLE_VALUE, not as null.
struct FileTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE file) { CloseHandle(file); }
};

struct MemoryDcTraits {
    static HDC empty() { return nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};

using UniqueGdiObject = UniqueWin32<HGDIOBJ, GdiObjectTraits>;
using UniqueMemoryDc = UniqueWin32<HDC, MemoryDcTraits>;
using UniqueMenu = UniqueWin32<HMENU, MenuTraits>;
using UniqueHook = UniqueWin32<HHOOK, HookTraits>;
using UniqueFile = UniqueWin32<HANDLE, FileTraits>;

// Selects an object into a device context for one scope and puts the old one back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() { SelectObject(dc_, old_); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetWindowDC/ReleaseDC for one scope.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};
