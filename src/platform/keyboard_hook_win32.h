// The owner of a low-level keyboard hook (the macro recorder's): every key of the desktop passes
// through a callback before any window sees it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "platform/handles_win32.h"

class KeyboardHook {
public:
    // message: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP. True swallows the key; false
    // passes it on to the other hooks and the windows.
    using Callback = std::function<bool(UINT message, const KBDLLHOOKSTRUCT& key)>;

    KeyboardHook() = default;
    ~KeyboardHook() { Remove(); }
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Installs the hook for this thread to serve: the callback runs on it while it pumps
    // messages. False when the system refuses (GetLastError says why) or a hook of ours is
    // installed already: the hook procedure has no context, so one owner at a time serves it.
    bool Install(Callback callback);
    // Unhooks; nothing when not installed.
    void Remove();
    bool Installed() const { return static_cast<bool>(hook_); }
    HHOOK Handle() const { return hook_.get(); }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM w, LPARAM l);
    static inline std::atomic<KeyboardHook*> active_{nullptr};

    OwnedHook hook_;
    Callback callback_;
};
