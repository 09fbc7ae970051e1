// Our small window framework: the application object, a dialog base class dispatching through
// a message table, and a modal run on our own message loop.
#pragma once

#include <windows.h>

#include <string>

#include "platform/message_table_win32.h"
#include "platform/wide_text_win32.h"

// The module whose resources (dialogs, menus, strings, icons) the program uses: the exe.
HINSTANCE ResourceModule();

// A string-table entry; empty when it does not exist.
std::wstring LoadResourceString(UINT id);

class Dialog {
public:
    explicit Dialog(UINT templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog from its template without waiting for it; false when creation failed.
    bool Create(HWND owner = nullptr);
    // The dialog comes up hidden, whatever its template says; call before Create or DoModal.
    void StartHidden() { startHidden_ = true; }

    // Creates and shows the dialog, disables the owner and runs our message loop until the
    // dialog window is destroyed. Returns what EndModal was given, or -1 when creation failed.
    INT_PTR DoModal(HWND owner = nullptr);

    // Ends the modal run: re-enables the owner and destroys the window.
    void EndModal(INT_PTR result);

    HWND Hwnd() const { return hwnd_; }

    // Sees every message of the modal loop before dialog navigation and dispatch; returning true
    // consumes the message. Windows that filter keyboard input override this.
    virtual bool PreTranslateMessage(MSG& msg) { return false; }

protected:
    // The message table; derived constructors register their handlers in it.
    MessageTable& Messages() { return messages_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    void EndWithCommand(const CommandEvent& command) { EndModal(command.id); }
    std::optional<LRESULT> Handle(UINT message, WPARAM w, LPARAM l);
    void RunModalLoop();

    UINT templateId_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool ownerDisabled_ = false;
    bool startHidden_ = false;
    INT_PTR result_ = -1;
    MessageTable messages_;
};

class Application {
public:
    virtual ~Application() = default;

    // Runs InitInstance; when it returns true (a program that keeps running after it), runs the
    // message loop until WM_QUIT. Returns ExitInstance's result as the process exit code.
    int Run(HINSTANCE instance);

    HINSTANCE Instance() const { return instance_; }

protected:
    virtual bool InitInstance() = 0;
    // By default the code WM_QUIT carried, or 0.
    virtual int ExitInstance() { return exitCode_; }

private:
    HINSTANCE instance_ = nullptr;
    int exitCode_ = 0;
};
