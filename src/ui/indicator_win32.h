// The on-screen indicator: a small click-through window near the bottom of the monitor under the
// cursor that shows a short text for a moment and goes away by itself. It never takes the focus,
// so a game in front keeps its input. It lives on the main window's thread.
#pragma once

#include <windows.h>

#include <string>

#include "core/language.h"
#include "platform/handles_win32.h"
#include "platform/message_table_win32.h"

class Indicator {
public:
    // How long a text stays on screen.
    static constexpr UINT kShowMilliseconds = 1200;

    // The window is made at the first Show: most runs never need it.
    explicit Indicator(HINSTANCE instance);
    ~Indicator();
    Indicator(const Indicator&) = delete;
    Indicator& operator=(const Indicator&) = delete;

    // Shows text (lines separated by '\n') for kShowMilliseconds, in a font that has the
    // language's glyphs. A Show while one is on screen replaces its text and starts the time
    // again. An empty text shows nothing.
    void Show(const std::u16string& text, LanguageMode language);
    // Takes it off the screen at once; nothing when it is not shown.
    void Hide();

    // The window, null before the first Show: for tests that look for it.
    HWND Hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    bool EnsureWindow();
    void UseFontOf(LanguageMode language);
    SIZE MeasureText() const;
    void OnPaint();
    void OnTimer(UINT_PTR timerId);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    std::wstring text_;
    OwnedFont font_;
    LanguageMode fontLanguage_ = LanguageMode::English;
    MessageTable messages_;
};
