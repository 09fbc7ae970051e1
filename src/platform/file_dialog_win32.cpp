// GetOpenFileNameW and GetSaveFileNameW for the file dialog port.
#include "platform/file_dialog_win32.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "platform/late_function_win32.h"
#include "platform/wide_text_win32.h"

namespace {
// Long paths fit; the dialog fails rather than truncating when a path is longer still.
constexpr DWORD kPathUnits = 32768;

// The dialog's filter: one name and one pattern, each ended by a NUL, the list by another.
std::wstring FilterOf(const FileDialogRequest& request) {
    std::wstring filter = ToWide(request.filterName);
    filter.push_back(L'\0');
    filter += ToWide(request.pattern);
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

// Runs one of the two dialogs; the chosen path, or nothing when cancelled (or failed).
std::optional<std::u16string> Pick(HWND owner, const FileDialogRequest& request, DWORD flags,
                                   BOOL(WINAPI* show)(OPENFILENAMEW*)) {
    if (!show) return std::nullopt;
    const std::wstring filter = FilterOf(request);
    const std::wstring extension = ToWide(request.defaultExtension);
    const std::wstring folder = ToWide(request.startFolder);
    std::vector<wchar_t> path(kPathUnits, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // Browsing must not move the process's current folder.
    dialog.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!show(&dialog)) return std::nullopt;
    return FromWide(path.data());
}
}  // namespace

std::optional<std::u16string> Win32FileDialogs::PickFileToOpen(const FileDialogRequest& request) {
    return Pick(owner_, request, OFN_READONLY | OFN_HIDEREADONLY,
                LateFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW"));
}

std::optional<std::u16string> Win32FileDialogs::PickFileToSave(const FileDialogRequest& request) {
    return Pick(owner_, request, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                LateFunction<decltype(GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW"));
}
