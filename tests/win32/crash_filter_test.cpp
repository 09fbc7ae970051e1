// A crash hands the mouse back: the program's exception filter sends the exit command after
// whatever went before, in a child process that really faults; a window's handler that throws
// does the same and tells the user what failed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/hxt_app_win32.h"
#include "platform/crash_filter_win32.h"
#include "resource.h"
#include "support/fake_settings.h"
#include "win32/mouse_rig.h"

namespace {
// The log's path, chosen by the parent; the child, run with the parent's environment, keeps it.
std::wstring CrashLogPath() {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"HXT_CRASH_LOG", path, MAX_PATH) == 0) {
        GetTempPathW(MAX_PATH, path);
        const std::wstring chosen = std::wstring(path) + L"hxt-crash-" + std::to_wstring(GetCurrentProcessId()) + L".log";
        SetEnvironmentVariableW(L"HXT_CRASH_LOG", chosen.c_str());
        return chosen;
    }
    return path;
}

// The mouse found and sent one report, the filter installed as the program does, then the crash.
template <typename Crash>
void CrashWithTheMouseInUse(const std::wstring& logPath, Crash crash) {
    // The filter before the program's ends the process with the fault's code, where Windows
    // would report the crash (Wine would start its debugger).
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* fault) -> LONG {
        TerminateProcess(GetCurrentProcess(), fault->ExceptionRecord->ExceptionCode);
        return EXCEPTION_EXECUTE_HANDLER;
    });
    FakeSettings settings;
    MouseRig rig(settings);
    if (!rig.session.LogFeatureReports(logPath) || !rig.session.Discover(rig.services.link)) std::exit(3);
    rig.services.reports.SendDpiLed(1, DpiLedByte(2, 0));
    const CrashFilter filter(&HostRuntime::PrepareCloseAfterCrash, &rig.runtime, &TellProgramFailure);
    crash();
}

// What the mouse received, the log then removed.
std::string ReportsLogged(const std::wstring& logPath) {
    std::ifstream in(std::filesystem::path(logPath), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    DeleteFileW(logPath.c_str());
    return text.str();
}

[[noreturn]] void ThrowUncaught() { throw std::runtime_error("nobody catches this"); }

// A window whose handler of WM_APP throws.
class FailingDialog : public Dialog {
public:
    FailingDialog() : Dialog(IDD_POPUP_PAGE1) {
        Messages().Set(WM_APP, [](WPARAM, LPARAM) -> std::optional<LRESULT> {
            throw std::runtime_error("no sixth notch on the wheel");
        });
    }
};

// Reads the first message box the death test's child shows, then presses its OK as the user would.
class ChildMessageBox {
public:
    ChildMessageBox()
        : watcher_([this](std::stop_token stop) {
              for (; !stop.stop_requested() && text_.empty(); Sleep(20)) {
                  const HWND box = FindWindowW(L"#32770", ApplicationName().c_str());
                  DWORD process = 0;
                  if (!box || !GetWindowThreadProcessId(box, &process) || process == GetCurrentProcessId()) continue;
                  wchar_t text[1024] = {};
                  GetDlgItemTextW(box, 0xFFFF, text, 1024);  // a message box's text
                  text_ = text;
                  PostMessageW(box, WM_COMMAND, IDOK, 0);
              }
          }) {}
    // Once the child has ended.
    std::wstring Text() {
        watcher_.request_stop();
        watcher_.join();
        return text_;
    }

private:
    std::wstring text_;
    std::jthread watcher_;
};

constexpr char kReportThenExit[] = "07 09 01 A0 00 00 00 00 00\n07 20 00 00 00 00 00 00 00\n";
}  // namespace

TEST(CrashFilterDeathTest, AFaultSendsTheExitCommandLast) {
    const std::wstring parentLog = CrashLogPath();
    DeleteFileW(parentLog.c_str());
    EXPECT_EXIT(CrashWithTheMouseInUse(parentLog,
                                       [] {
                                           static volatile std::uintptr_t nowhere = 8;
                                           *reinterpret_cast<volatile int*>(nowhere) = 1;
                                       }),
                [](int code) { return static_cast<DWORD>(code) == EXCEPTION_ACCESS_VIOLATION; }, "");
    EXPECT_EQ(ReportsLogged(parentLog), kReportThenExit);
}

// A C++ exception that nothing catches ends in std::terminate, which says the last word too.
TEST(CrashFilterDeathTest, AnUncaughtExceptionSendsTheExitCommandLast) {
    const std::wstring parentLog = CrashLogPath();
    DeleteFileW(parentLog.c_str());
    EXPECT_EXIT(CrashWithTheMouseInUse(parentLog, []() noexcept { ThrowUncaught(); }),
                [](int code) { return code != 0; }, "");
    EXPECT_EQ(ReportsLogged(parentLog), kReportThenExit);
}

// The handler's exception ends the program: the mouse gets its exit command last, the user a
// message that names the failed message and the exception's text.
TEST(CrashFilterDeathTest, AThrowingHandlerSendsTheExitCommandLastAndTellsWhatFailed) {
    const std::wstring parentLog = CrashLogPath();
    DeleteFileW(parentLog.c_str());
    ChildMessageBox box;
    EXPECT_EXIT(CrashWithTheMouseInUse(parentLog,
                                       [] {
                                           FailingDialog dialog;
                                           if (dialog.Create()) SendMessageW(dialog.Hwnd(), WM_APP, 0, 0);
                                       }),
                [](int code) { return code == CrashFilter::kFailureStatus; }, "");
    const std::wstring text = box.Text();
    EXPECT_NE(text.find(L"message 0x8000 failed: no sixth notch on the wheel"), std::wstring::npos) << text;
    EXPECT_EQ(ReportsLogged(parentLog), kReportThenExit);
}
