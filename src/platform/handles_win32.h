// Owning wrappers for Win32 handles (one owner, released exactly once, movable, not copyable)
// and the borrowed views and scopes that never release what they refer to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

// Traits say what an empty handle looks like and how to release a real one.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    // Some kernel functions fail with INVALID_HANDLE_VALUE rather than null.
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Release(Handle h) { CloseHandle(h); }
};

template <class T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Release(Handle h) { DeleteObject(h); }
};

// A DC made by CreateCompatibleDC/CreateDCW; DCs from GetDC or BeginPaint use the scopes below.
struct CreatedDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Release(Handle h) { DeleteDC(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Release(Handle h) { DestroyMenu(h); }
};

struct HookTraits {
    using Handle = HHOOK;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Release(Handle h) { UnhookWindowsHookEx(h); }
};

// A SetupDi device information set (HDEVINFO); SetupDiGetClassDevsW fails with
// INVALID_HANDLE_VALUE. Released in handles_win32.cpp, so this header needs no <setupapi.h>.
struct DeviceInfoSetTraits {
    using Handle = void*;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Release(Handle h);
};

struct DeviceNotificationTraits {
    using Handle = HDEVNOTIFY;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Release(Handle h) { UnregisterDeviceNotification(h); }
};

// A Winsock SOCKET, kept as its integer value so that this header needs no <winsock2.h> (which
// must come before <windows.h>); released in handles_win32.cpp.
struct SocketTraits {
    using Handle = std::uintptr_t;
    static Handle Empty() { return ~Handle{0}; }  // INVALID_SOCKET
    static bool IsValid(Handle h) { return h != Empty(); }
    static void Release(Handle h);
};

template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : handle_(h) {}
    ~Owned() { reset(); }

    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }

    // Gives up ownership without releasing.
    Handle release() { return std::exchange(handle_, Traits::Empty()); }
    // Releases the current handle (if any) and owns h instead.
    void reset(Handle h = Traits::Empty()) {
        const Handle old = std::exchange(handle_, h);
        if (Traits::IsValid(old)) Traits::Release(old);
    }

private:
    Handle handle_ = Traits::Empty();
};

// A handle someone else owns: passed around freely, never released. Taking one from an Owned is
// explicit in the code (Borrowed(owned)), so ownership never moves by accident.
template <class Traits>
class Borrowed {
public:
    using Handle = typename Traits::Handle;

    Borrowed() = default;
    explicit Borrowed(Handle h) : handle_(h) {}
    explicit Borrowed(const Owned<Traits>& owner) : handle_(owner.get()) {}

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }

private:
    Handle handle_ = Traits::Empty();
};

using OwnedHandle = Owned<KernelHandleTraits>;
using OwnedDC = Owned<CreatedDcTraits>;
using OwnedBitmap = Owned<GdiObjectTraits<HBITMAP>>;
using OwnedRegion = Owned<GdiObjectTraits<HRGN>>;
using OwnedFont = Owned<GdiObjectTraits<HFONT>>;
using OwnedBrush = Owned<GdiObjectTraits<HBRUSH>>;
using OwnedPen = Owned<GdiObjectTraits<HPEN>>;
using OwnedMenu = Owned<MenuTraits>;
using OwnedHook = Owned<HookTraits>;
using OwnedDeviceInfoSet = Owned<DeviceInfoSetTraits>;
using OwnedDeviceNotification = Owned<DeviceNotificationTraits>;
using OwnedSocket = Owned<SocketTraits>;

using BorrowedFont = Borrowed<GdiObjectTraits<HFONT>>;
using BorrowedMenu = Borrowed<MenuTraits>;

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC/ReleaseDC of a window (or the screen with a null window).
class WindowDcScope {
public:
    explicit WindowDcScope(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDcScope() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDcScope(const WindowDcScope&) = delete;
    WindowDcScope& operator=(const WindowDcScope&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back, so the object can be deleted.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectScope() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
