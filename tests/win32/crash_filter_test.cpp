// A crash hands the mouse back: the program's exception filter sends the exit command after
// whatever went before, in a child process that really faults.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/crash_filter_win32.h"
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
    const CrashFilter filter(&HostRuntime::PrepareCloseAfterCrash, &rig.runtime);
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
