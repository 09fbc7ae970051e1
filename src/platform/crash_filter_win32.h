// A last word before the process dies of an exception nobody handles: while a CrashFilter
// lives, such an exception (a fault, or a C++ exception that reaches std::terminate) first runs
// its function once, on the crashing thread; then the crash takes its usual course and Windows
// reports it. The function must stay small: the crashed thread may hold any lock and the heap
// may be damaged. One filter at a time, made and ended on one thread.
#pragma once

#include <windows.h>

#include <exception>

class CrashFilter {
public:
    using LastWord = void (*)(void* context) noexcept;
    CrashFilter(LastWord lastWord, void* context);
    ~CrashFilter();
    CrashFilter(const CrashFilter&) = delete;
    CrashFilter& operator=(const CrashFilter&) = delete;

private:
    static LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception);
    [[noreturn]] static void OnTerminate();
    void SayLastWord() noexcept;

    LastWord lastWord_;
    void* context_;
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_;
    std::terminate_handler previousTerminate_;
    LONG said_ = 0;  // set once the last word was said
};
