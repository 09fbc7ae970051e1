#include "platform/subclassed_control_win32.h"

#include <commctrl.h>

SubclassedControl::~SubclassedControl() { Detach(); }

bool SubclassedControl::Attach(HWND control) {
    if (hwnd_ || !control) return false;
    // This object is the subclass's id, so two objects never take each other's subclass away.
    const auto self = reinterpret_cast<UINT_PTR>(this);
    if (!SetWindowSubclass(control, &SubclassedControl::SubclassProc, self, self)) return false;
    hwnd_ = control;
    return true;
}

void SubclassedControl::Detach() {
    if (!hwnd_) return;
    RemoveWindowSubclass(hwnd_, &SubclassedControl::SubclassProc, reinterpret_cast<UINT_PTR>(this));
    hwnd_ = nullptr;
}

LRESULT SubclassedControl::DefaultProcessing(UINT message, WPARAM w, LPARAM l) const {
    return DefSubclassProc(hwnd_, message, w, l);
}

LRESULT CALLBACK SubclassedControl::SubclassProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<SubclassedControl*>(data);
    const std::optional<LRESULT> result = self->messages_.DispatchCatching(message, w, l);
    if (message == WM_NCDESTROY) {
        // comctl32 wants the subclass gone before the window is.
        self->Detach();
        return DefSubclassProc(hwnd, message, w, l);
    }
    return result ? *result : DefSubclassProc(hwnd, message, w, l);
}
