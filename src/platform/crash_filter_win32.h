// A last word before the process dies of an exception nobody handles: while a CrashFilter
// lives, such an exception (a fault, or a C++ exception that reaches std::terminate) first runs
// its function once, on the crashing thread; then the crash takes its usual course and Windows
// reports it. The function must stay small: the crashed thread may hold any lock and the heap
// may be damaged. One filter at a time, made and ended on one thread.
//
// An exception a message handler lets escape cannot unwind through the system's dispatch code:
// the window procedure hands it to EndAfterFailure, which says the same last word, tells the
// user what failed and ends the process.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

class CrashFilter {
public:
    using LastWord = void (*)(void* context) noexcept;
    // Shows the user text, which names what failed; returns once the user has read it.
    using Tell = void (*)(const std::wstring& text) noexcept;
    // The process status after EndAfterFailure: that of std::abort, as for a crash.
    static constexpr UINT kFailureStatus = 3;

    CrashFilter(LastWord lastWord, void* context, Tell tell = nullptr);
    ~CrashFilter();
    CrashFilter(const CrashFilter&) = delete;
    CrashFilter& operator=(const CrashFilter&) = delete;

    // The end of the process after an error that left it in no state to go on (what: the error,
    // in words). With a filter in force: its last word, then its Tell with what, on a thread of
    // its own so that this thread's windows handle no further message, then the process ends
    // with kFailureStatus. Without one: std::terminate.
    [[noreturn]] static void EndAfterFailure(const std::wstring& what) noexcept;

private:
    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception);
    [[noreturn]] static void OnTerminate();
    void SayLastWord() noexcept;

    LastWord lastWord_;
    void* context_;
    Tell tell_;
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_;
    std::terminate_handler previousTerminate_;
    LONG said_ = 0;  // set once the last word was said
};
