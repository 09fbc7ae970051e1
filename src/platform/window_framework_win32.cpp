// The dialog base class, its dialog procedure and modal loop, and the application object.
#include "platform/window_framework_win32.h"

#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/crash_filter_win32.h"

HINSTANCE ResourceModule() { return GetModuleHandleW(nullptr); }

std::wstring LoadResourceString(UINT id) {
    // With a buffer size of 0, LoadStringW hands out a pointer into the resource itself.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<std::size_t>(length));
}

std::optional<LRESULT> MessageTable::Dispatch(UINT message, WPARAM w, LPARAM l) const {
    if (message == WM_COMMAND) {
        const auto command = commands_.find(LOWORD(w));
        if (command != commands_.end()) {
            command->second(CommandEvent{LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)});
            return 0;
        }
    }
    const auto handler = messages_.find(message);
    if (handler == messages_.end()) return std::nullopt;
    return handler->second(w, l);
}

std::optional<LRESULT> MessageTable::DispatchCatching(UINT message, WPARAM w, LPARAM l) const noexcept {
    std::string what;
    try {
        return Dispatch(message, w, l);
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "an exception of unknown type";
    }
    // The runtime's texts (a system error's among them) are in the ANSI code page.
    std::wstring text(what.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, what.data(), static_cast<int>(what.size()), text.data(),
                                           static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    wchar_t number[16];
    wsprintfW(number, L"0x%04X", message);
    CrashFilter::EndAfterFailure(L"The handler of window message " + std::wstring(number) + L" failed: " + text);
}

namespace {
// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG: case WM_QUERYDRAGICON: case WM_COMPAREITEM: case WM_VKEYTOITEM:
        case WM_CHARTOITEM: case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
            return true;
        default:
            return false;
    }
}
}  // namespace

Dialog::Dialog(UINT templateId) : templateId_(templateId) {
    // Enter and Esc end a dialog unless the derived dialog registers its own handler for them.
    messages_.OnCommand({IDOK, IDCANCEL}, this, &Dialog::EndWithCommand);
}

Dialog::~Dialog() {
    if (!hwnd_) return;
    // The derived part is gone already, so its handlers must not see the destruction messages.
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
}

bool Dialog::Create(HWND owner) {
    if (hwnd_) return false;
    owner_ = owner;
    result_ = -1;
    // hwnd_ is set by WM_INITDIALOG; a dialog that ends itself there comes back null.
    if (!startHidden_) {
        return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::DialogProc,
                                  reinterpret_cast<LPARAM>(this)) != nullptr &&
               hwnd_ != nullptr;
    }
    // The dialog manager shows a WS_VISIBLE template's window after WM_INITDIALOG, so a hidden
    // start takes a copy of the template without it.
    const HRSRC found = FindResourceW(ResourceModule(), MAKEINTRESOURCEW(templateId_), MAKEINTRESOURCEW(5));
    const HGLOBAL loaded = found ? LoadResource(ResourceModule(), found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(ResourceModule(), found) : 0;
    if (!bytes || size < 16) return false;
    std::vector<DWORD> copy((size + 3) / 4);
    std::memcpy(copy.data(), bytes, size);
    auto* words = reinterpret_cast<WORD*>(copy.data());
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;  // DLGTEMPLATEEX: the style follows help id and ex-style
    DWORD& style = copy[extended ? 3 : 0];
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    return CreateDialogIndirectParamW(ResourceModule(), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), owner,
                                      &Dialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr &&
           hwnd_ != nullptr;
}

INT_PTR Dialog::DoModal(HWND owner) {
    if (!Create(owner)) return result_;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        ownerDisabled_ = true;
    }
    if (!startHidden_ && !IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
    RunModalLoop();
    if (ownerDisabled_) {
        EnableWindow(owner, TRUE);
        ownerDisabled_ = false;
    }
    return result_;
}

void Dialog::EndModal(INT_PTR result) {
    result_ = result;
    // The owner is enabled before the dialog goes, so that it (not another program) becomes active.
    if (ownerDisabled_ && owner_) {
        EnableWindow(owner_, TRUE);
        ownerDisabled_ = false;
    }
    if (hwnd_) DestroyWindow(hwnd_);
}

void Dialog::RunModalLoop() {
    MSG msg;
    while (hwnd_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Leave WM_QUIT for any loop further out.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslateMessage(msg)) continue;
        if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (hwnd_) DestroyWindow(hwnd_);
}

std::optional<LRESULT> Dialog::Handle(UINT message, WPARAM w, LPARAM l) {
    auto result = messages_.DispatchCatching(message, w, l);
    if (!result && message == WM_INITDIALOG) result = TRUE;
    return result;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(l);
        SetWindowLongPtrW(hwnd, DWLP_USER, l);
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Messages that arrive before WM_INITDIALOG (WM_SETFONT and the like) get default processing.
    if (self == nullptr) return FALSE;

    const auto result = self->Handle(message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        // Destroyed while handling a sent message (a device notification, another thread's
        // request), the window would leave its modal loop waiting in GetMessageW for a posted
        // message that may never come: wake the loop so it sees the window gone.
        PostMessageW(nullptr, WM_NULL, 0, 0);
    }
    if (!result) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(*result);
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *result);
    return TRUE;
}

int Application::Run(HINSTANCE instance) {
    instance_ = instance;
    if (InitInstance()) {
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        exitCode_ = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}
