// The message table of our windows: each window registers one typed handler per message and
// one handler per WM_COMMAND id in maps, instead of writing one large switch.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <utility>

// A WM_COMMAND as its handler sees it: the id, the notification code and the sending control
// (null for menus and accelerators).
struct CommandEvent {
    UINT id = 0;
    UINT code = 0;
    HWND control = nullptr;
};

// How a message's WPARAM/LPARAM become the typed arguments of its handler and how the handler's
// result becomes the message's result. Signature is the handler's function type; Call returns
// the result, or nothing to ask for default processing. Add a specialisation to handle a new
// message with a typed handler.
template <UINT Message>
struct MessageCracker;

template <>
struct MessageCracker<WM_INITDIALOG> {
    using Signature = BOOL();  // TRUE lets the dialog give the default control the focus
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM, LPARAM) { return f(); }
};

template <>
struct MessageCracker<WM_CLOSE> {
    using Signature = void();
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM, LPARAM) { f(); return 0; }
};

template <>
struct MessageCracker<WM_DESTROY> {
    using Signature = void();
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM, LPARAM) { f(); return 0; }
};

template <>
struct MessageCracker<WM_PAINT> {
    using Signature = void();
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM, LPARAM) { f(); return 0; }
};

template <>
struct MessageCracker<WM_ERASEBKGND> {
    using Signature = BOOL(HDC dc);  // TRUE: the background is taken care of
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM) { return f(reinterpret_cast<HDC>(w)); }
};

template <>
struct MessageCracker<WM_SYSCOMMAND> {
    using Signature = bool(UINT command, LPARAM position);  // false: default processing
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        if (f(static_cast<UINT>(w), l)) return 0;
        return std::nullopt;
    }
};

// A point packed into an LPARAM. Signed: a point left of or above the client area (or of the
// primary screen) arrives negative.
inline POINT PointOf(LPARAM l) { return POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

// Mouse messages: the MK_* flags of the buttons and keys held, and the point in client
// coordinates. A handler may also take the point alone (PointOnlySignature). The message goes
// on to the default handling afterwards.
struct MouseCracker {
    using Signature = void(UINT flags, POINT point);
    using PointOnlySignature = void(POINT point);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        f(static_cast<UINT>(w), PointOf(l));
        return std::nullopt;
    }
};
template <>
struct MessageCracker<WM_MOUSEMOVE> : MouseCracker {};
template <>
struct MessageCracker<WM_LBUTTONDOWN> : MouseCracker {};
template <>
struct MessageCracker<WM_LBUTTONUP> : MouseCracker {};
template <>
struct MessageCracker<WM_LBUTTONDBLCLK> : MouseCracker {};
template <>
struct MessageCracker<WM_RBUTTONUP> : MouseCracker {};

// WM_CONTEXTMENU: the window clicked (a child or this one) and the point in screen coordinates;
// (-1, -1) when the keyboard asked for the menu.
template <>
struct MessageCracker<WM_CONTEXTMENU> {
    using Signature = void(HWND window, POINT screenPoint);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        f(reinterpret_cast<HWND>(w), PointOf(l));
        return 0;
    }
};

// WM_KEYDOWN: the virtual key, its repeat count and the flags of the lParam's high word
// (KF_EXTENDED, KF_REPEAT...). false leaves the key to the default handling (of the control,
// for a subclassed one).
template <>
struct MessageCracker<WM_KEYDOWN> {
    using Signature = bool(UINT virtualKey, UINT repeatCount, UINT flags);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        if (f(static_cast<UINT>(w), static_cast<UINT>(LOWORD(l)), static_cast<UINT>(HIWORD(l)))) return 0;
        return std::nullopt;
    }
};

// WM_KILLFOCUS: the window that gets the focus (may be null). A notification: the default
// handling (a control hiding its caret) still follows.
template <>
struct MessageCracker<WM_KILLFOCUS> {
    using Signature = void(HWND newFocus);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM) {
        f(reinterpret_cast<HWND>(w));
        return std::nullopt;
    }
};

template <>
struct MessageCracker<WM_TIMER> {
    using Signature = void(UINT_PTR timerId);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM) {
        f(static_cast<UINT_PTR>(w));
        return 0;
    }
};

// Owner-drawn controls and menu items (controlId 0 for menus). The owner fills in the size,
// and draws the item; both answer TRUE.
template <>
struct MessageCracker<WM_MEASUREITEM> {
    using Signature = void(UINT controlId, MEASUREITEMSTRUCT& item);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        f(static_cast<UINT>(w), *reinterpret_cast<MEASUREITEMSTRUCT*>(l));
        return TRUE;
    }
};
template <>
struct MessageCracker<WM_DRAWITEM> {
    using Signature = void(UINT controlId, const DRAWITEMSTRUCT& item);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        f(static_cast<UINT>(w), *reinterpret_cast<const DRAWITEMSTRUCT*>(l));
        return TRUE;
    }
};

// WM_DEVICECHANGE: the DBT_* event and its record (a DEV_BROADCAST_HDR, or 0). The answer is
// TRUE for granting a request.
template <>
struct MessageCracker<WM_DEVICECHANGE> {
    using Signature = BOOL(UINT event, LPARAM record);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) { return f(static_cast<UINT>(w), l); }
};

// WM_POWERBROADCAST: the PBT_* event and its data. A notification: the system's answer stays.
template <>
struct MessageCracker<WM_POWERBROADCAST> {
    using Signature = void(UINT event, LPARAM data);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        f(static_cast<UINT>(w), l);
        return std::nullopt;
    }
};

// WM_CTLCOLOR* of child controls: the control's DC and window; the brush paints its background.
struct CtlColorCracker {
    using Signature = HBRUSH(HDC dc, HWND control);
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM w, LPARAM l) {
        return reinterpret_cast<LRESULT>(f(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l)));
    }
};
template <>
struct MessageCracker<WM_CTLCOLOREDIT> : CtlColorCracker {};
template <>
struct MessageCracker<WM_CTLCOLORLISTBOX> : CtlColorCracker {};
template <>
struct MessageCracker<WM_CTLCOLORSTATIC> : CtlColorCracker {};
template <>
struct MessageCracker<WM_CTLCOLORBTN> : CtlColorCracker {};
template <>
struct MessageCracker<WM_CTLCOLORSCROLLBAR> : CtlColorCracker {};

template <>
struct MessageCracker<WM_QUERYDRAGICON> {
    using Signature = HICON();
    template <class F>
    static std::optional<LRESULT> Call(F&& f, WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(f()); }
};

class MessageTable {
public:
    using Handler = std::function<std::optional<LRESULT>(WPARAM, LPARAM)>;
    using CommandHandler = std::function<void(const CommandEvent&)>;

    // Untyped registration, for messages without a cracker (e.g. private WM_APP messages).
    // Registering a message or id again replaces its handler, which is how a derived window
    // overrides what its base registered.
    void Set(UINT message, Handler handler) { messages_[message] = std::move(handler); }
    void SetCommand(UINT id, CommandHandler handler) { commands_[id] = std::move(handler); }

    // Typed registration: table.On<WM_CLOSE>(this, &MyDialog::OnClose).
    template <UINT Message, class T>
    void On(T* self, std::type_identity_t<typename MessageCracker<Message>::Signature T::*> handler) {
        Set(Message, [self, handler](WPARAM w, LPARAM l) {
            return MessageCracker<Message>::Call(
                [self, handler](auto&&... args) { return (self->*handler)(std::forward<decltype(args)>(args)...); }, w,
                l);
        });
    }
    // Mouse messages whose handler needs only the point: table.On<WM_MOUSEMOVE>(this, &D::OnMove).
    template <UINT Message, class T>
    void On(T* self, std::type_identity_t<typename MessageCracker<Message>::PointOnlySignature T::*> handler) {
        Set(Message, [self, handler](WPARAM w, LPARAM l) {
            return MessageCracker<Message>::Call([self, handler](UINT, POINT point) { (self->*handler)(point); }, w, l);
        });
    }

    // Several command ids may share one handler: table.OnCommand({IDOK, IDCANCEL}, this, &D::OnKey).
    template <class T>
    void OnCommand(std::initializer_list<UINT> ids, T* self, std::type_identity_t<void (T::*)(const CommandEvent&)> handler) {
        for (UINT id : ids) SetCommand(id, [self, handler](const CommandEvent& e) { (self->*handler)(e); });
    }
    template <class T>
    void OnCommand(std::initializer_list<UINT> ids, T* self, std::type_identity_t<void (T::*)()> handler) {
        for (UINT id : ids) SetCommand(id, [self, handler](const CommandEvent&) { (self->*handler)(); });
    }

    // The result of the message's handler, or nothing when the message is not in the table and
    // needs default processing. WM_COMMAND goes to the handler of its id first, then to a
    // handler registered for WM_COMMAND itself, if any.
    std::optional<LRESULT> Dispatch(UINT message, WPARAM w, LPARAM l) const;
    // Dispatch for a window procedure: an exception must not unwind through the system's
    // dispatch code, so a handler that throws ends the program through
    // CrashFilter::EndAfterFailure, which names the message and the exception's text.
    std::optional<LRESULT> DispatchCatching(UINT message, WPARAM w, LPARAM l) const noexcept;

private:
    std::unordered_map<UINT, Handler> messages_;
    std::unordered_map<UINT, CommandHandler> commands_;
};
