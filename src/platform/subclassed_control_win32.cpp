#include "platform/subclassed_control_win32.h"

#include <commctrl.h>

#include "platform/late_function_win32.h"

namespace {
// The common controls' subclassing, loaded with the first subclassed control. Older versions of
// the library export these by number only.
struct Subclassing {
    decltype(&SetWindowSubclass) set = LateFunction<decltype(SetWindowSubclass)>(L"comctl32.dll", "SetWindowSubclass", 410);
    decltype(&RemoveWindowSubclass) remove =
        LateFunction<decltype(RemoveWindowSubclass)>(L"comctl32.dll", "RemoveWindowSubclass", 412);
    decltype(&DefSubclassProc) next = LateFunction<decltype(DefSubclassProc)>(L"comctl32.dll", "DefSubclassProc", 413);
    bool Ready() const { return set && remove && next; }
};
const Subclassing& Functions() {
    static const Subclassing functions;
    return functions;
}
}  // namespace

SubclassedControl::~SubclassedControl() { Detach(); }

bool SubclassedControl::Attach(HWND control) {
    if (hwnd_ || !control) return false;
    // This object is the subclass's id, so two objects never take each other's subclass away.
    const auto self = reinterpret_cast<UINT_PTR>(this);
    if (!Functions().Ready() || !Functions().set(control, &SubclassedControl::SubclassProc, self, self)) return false;
    hwnd_ = control;
    return true;
}

void SubclassedControl::Detach() {
    if (!hwnd_) return;
    Functions().remove(hwnd_, &SubclassedControl::SubclassProc, reinterpret_cast<UINT_PTR>(this));
    hwnd_ = nullptr;
}

LRESULT SubclassedControl::DefaultProcessing(UINT message, WPARAM w, LPARAM l) const {
    return Functions().next(hwnd_, message, w, l);
}

LRESULT CALLBACK SubclassedControl::SubclassProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<SubclassedControl*>(data);
    const std::optional<LRESULT> result = self->messages_.DispatchCatching(message, w, l);
    if (message == WM_NCDESTROY) {
        // comctl32 wants the subclass gone before the window is.
        self->Detach();
        return Functions().next(hwnd, message, w, l);
    }
    return result ? *result : Functions().next(hwnd, message, w, l);
}
