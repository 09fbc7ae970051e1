#include "app/start_command_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "app/command_wait.h"
#include "app/device_session_win32.h"
#include "app/running_copy_win32.h"
#include "platform/console_win32.h"
#include "platform/growing_buffer_win32.h"
#include "platform/message_box_win32.h"
#include "platform/shell_win32.h"
#include "platform/wide_text_win32.h"

namespace {
// A copy started a moment ago may still be in its start-up (finding the mouse, its first apply)
// and take no command yet; one that is only to show itself answers even then.
constexpr DWORD kFindReadyCopyWait = 20000;
constexpr DWORD kFindCopyWait = 5000;

int TellHandOver(HWND copy, const ProgramCommand& command) {
    const HandOverResult result = HandOver(copy, command);
    TellStarter(result.line, result.status != 0);
    return result.status;
}
}  // namespace

std::vector<std::u16string> CommandLineArguments() {
    std::vector<std::u16string> result;
    // The C runtime of a wide program has split the command line already, by the same rules;
    // shell32 would load itself and its dependencies for it before the first paint.
    if (__wargv != nullptr) {
        for (int i = 1; i < __argc; ++i) result.push_back(FromWide(__wargv[i] ? __wargv[i] : L""));
        return result;
    }
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i) result.push_back(FromWide(arguments[i]));
    if (arguments) LocalFree(arguments);
    return result;
}

void TellStarter(const std::wstring& text, bool error) {
    if (WriteToStartingConsole(text) || !error) return;
    MessageBoxPort(ApplicationName(), nullptr, MB_OK | MB_ICONERROR).Show(text);
}

int TellUsage(const ParsedCommandLine& parsed, VirtualMouseOptions virtualMouse) {
    std::wstring text;
    for (const std::u16string& error : parsed.errors) text += ToWide(error) + L"\r\n";
    TellStarter(text + ToWide(CommandLineUsage(virtualMouse)), !parsed.ok());
    return parsed.ok() ? 0 : 2;
}

ProgramCommand WithFullPath(ProgramCommand command) {
    if (command.file.empty()) return command;
    const std::wstring file = ToWide(command.file);
    const DWORD length = GetFullPathNameW(file.c_str(), 0, nullptr, nullptr);
    if (length == 0) return command;  // the copy then reports the file it cannot use
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(file.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return command;
    full.resize(written);
    command.file = FromWide(full);
    return command;
}

int CommandRunningCopy(const std::optional<ProgramCommand>& command) {
    const HWND copy = command ? FindRunningCopy(kFindReadyCopyWait, true) : FindRunningCopy(kFindCopyWait, false);
    if (!copy) {
        if (command) TellStarter(L"The program runs, but its window does not answer.", true);
        return command ? 1 : 0;
    }
    if (!command) {
        AskToShow(copy);
        return 0;
    }
    return TellHandOver(copy, *command);
}

int CommandNewCopy(const CommandLineOptions& options, const ProgramCommand& command) {
    // A copy of its own, so that this start (a script's `start /wait`) returns with the outcome.
    const OwnedHandle started = LaunchProgram(ModuleFileName(), ToWide(ResidentCopyArguments(options)), SW_SHOWNORMAL);
    if (!started) {
        TellStarter(L"The program could not be started.", true);
        return 1;
    }
    const HWND copy = FindRunningCopy(kFindReadyCopyWait, true, started.get());
    if (!copy) {
        // Without the mouse the copy says so and ends.
        TellStarter(WaitForSingleObject(started.get(), 0) == WAIT_OBJECT_0
                        ? L"The program ended before it carried out the command."
                        : L"The program runs, but its window does not answer.",
                    true);
        return 1;
    }
    return TellHandOver(copy, command);
}

int QuitRunningCopy(bool copy) {
    const HWND window = copy ? FindRunningCopy(kFindReadyCopyWait, true) : nullptr;
    if (!window) {
        TellStarter(L"No copy of the program runs.", false);
        return 1;
    }
    const DWORD deadline = static_cast<DWORD>(kCommandDeadline.count());
    if (!AskToQuit(window, deadline)) {
        TellStarter(L"The running copy of the program did not end.", true);
        return 1;
    }
    TellStarter(L"The running copy of the program ended.", false);
    return 0;
}
