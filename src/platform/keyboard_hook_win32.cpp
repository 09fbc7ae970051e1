#include "platform/keyboard_hook_win32.h"

bool KeyboardHook::Install(Callback callback) {
    KeyboardHook* none = nullptr;
    if (!callback || !active_.compare_exchange_strong(none, this)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    // Set before the hook exists: a key can arrive as soon as this thread pumps again.
    callback_ = std::move(callback);
    hook_.reset(SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHook::HookProc, GetModuleHandleW(nullptr), 0));
    if (hook_) return true;
    const DWORD error = GetLastError();
    callback_ = nullptr;
    active_.store(nullptr);
    SetLastError(error);
    return false;
}

void KeyboardHook::Remove() {
    if (!hook_) return;
    hook_.reset();
    callback_ = nullptr;
    active_.store(nullptr);
}

LRESULT CALLBACK KeyboardHook::HookProc(int code, WPARAM w, LPARAM l) {
    KeyboardHook* self = active_.load();
    if (code == HC_ACTION && self && self->callback_) {
        bool swallow = false;
        // An exception must not unwind through the system's hook chain; the key then passes.
        try {
            swallow = self->callback_(static_cast<UINT>(w), *reinterpret_cast<const KBDLLHOOKSTRUCT*>(l));
        } catch (...) {
            OutputDebugStringA("exception in the keyboard hook");
        }
        if (swallow) return 1;
    }
    return CallNextHookEx(nullptr, code, w, l);
}
