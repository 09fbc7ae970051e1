// How soon a press on the main window shows: from the press on an entry to the end of the repaint
// it causes, p50 and p99, once with the window's own paint (pictures decoded once and kept) and
// once with the same paint decoding every picture at every paint. The press alternates between
// the wheel's normal and reverse entries, so each one changes what is painted.
// Run by hand under Wine: repaint_bench.exe [presses]. Exits 1 when the window cannot be built
// or a press did not change the configuration.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/main_dialog_win32.h"
#include "win32/window_ports.h"
#include "platform/wide_text_win32.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/paint_main_window.h"
#include "skin/skin_entries.h"
#include "win32/skin_support.h"
#include "support/percentile.h"
#include "win32/support.h"

namespace {

constexpr int kDefaultPresses = 300;
constexpr int kWarmUpPresses = 10;
// The two ways take turns in blocks, so load from other processes falls on both alike.
constexpr int kBlock = 50;

struct Window {
    ProgramServices& services;
    CHXT_GMouseDlg& dialog;
    int decodedPaints = 0;
};

// What the window's own paint reads, gathered from the same sources.
PaintState PaintStateOf(const Window& w) {
    const ProgramServices& s = w.services;
    const MainWindowView& view = w.dialog.View();
    PaintState state;
    state.page = view.Page();
    state.language = s.program.language.load();
    state.maskWidth = view.MaskSize().cx;
    state.maskHeight = view.MaskSize().cy;
    state.mainHot = view.Model().MainHot();
    state.advancedHot = view.Model().AdvancedHot();
    state.colourHot = view.Model().ColourHot();
    state.pressed = view.Model().Pressed();
    state.curConfig = s.program.CurConfig;
    state.config = s.program.config;
    state.driverActive = s.handoff.HostActionsOn();
    state.startKeyIndex = s.program.applied.startKeyIndex;
    // The main page's paint, with the start key shown: which of its two pictures costs the same.
    state.blinkPhase = true;
    s.macros.Read([&](const MacroStoreData& macros) {
        for (std::size_t i = 0; i < kMaxMacros; ++i) state.macroNames[i] = macros.records[i].Name();
        if (macros.selected >= 0 && macros.selected < kMaxMacros) {
            state.selectedRepeatMode = macros.records[static_cast<std::size_t>(macros.selected)].repeatMode;
        }
    });
    return state;
}

// Takes the window's WM_PAINT: the same composition, but every picture decoded afresh.
LRESULT CALLBACK DecodingPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message != WM_PAINT) return DefSubclassProc(hwnd, message, wParam, lParam);
    Window& w = *reinterpret_cast<Window*>(data);
    PaintScope paint(hwnd);
    const PaintState state = PaintStateOf(w);
    PictureCache pictures;
    GdiCanvas canvas(state.maskWidth, state.maskHeight, pictures, ToWide(w.services.program.paths.SkinsDir),
                     w.dialog.EnglishUiFont(), w.dialog.ChineseUiFont());
    if (!canvas.Ready()) return 0;
    PaintMainWindow(canvas, w.dialog.View().Skin(), state);
    canvas.CopyTo(paint.dc());
    ++w.decodedPaints;
    return 0;
}

void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Seconds(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) / static_cast<double>(frequency);
}

LONGLONG Now() {
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// Presses count times, alternating between the two entries from press number first on; appends
// each press's time to repaint to ms. False when a press left the wheel setting unchanged.
bool Press(Window& w, const POINT (&entries)[2], int first, int count, std::vector<double>* ms) {
    const HWND window = w.dialog.Hwnd();
    for (int i = first; i < first + count; ++i) {
        const POINT p = entries[i % 2];
        const LPARAM at = MAKELPARAM(p.x, p.y);
        DispatchPending();
        const LONGLONG start = Now();
        SendMessageW(window, WM_MOUSEMOVE, 0, at);
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(window, WM_LBUTTONUP, 0, at);
        UpdateWindow(window);
        const LONGLONG end = Now();
        if (ms) ms->push_back(Seconds(end - start) * 1000.0);
        if (w.services.program.config.WHEEL_STATUS != i % 2) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = std::max(argc > 1 ? std::atoi(argv[1]) : kDefaultPresses, 2);
    if (!std::filesystem::exists(BuiltSkinsDir() / "INI_EN" / "skin_main_en.ini")) {
        std::fprintf(stderr, "the generated skin is missing beside the program\n");
        return 1;
    }
    ScratchDir dir;
    CopyBuiltSkins(dir.Path());
    dir.Write("config.ini", "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n[Config1]\r\nWHEEL_STATUS=0\r\n");
    ProgramServices services;
    services.program.paths.ProgramDir = FromWide(dir.Path());
    OwnWindowPorts ports;
    CHXT_GMouseDlg dialog(services, ports.Ports());
    if (!dialog.Create()) {
        std::fprintf(stderr, "the main window could not be created\n");
        return 1;
    }
    ShowWindow(dialog.Hwnd(), SW_SHOW);
    UpdateWindow(dialog.Hwnd());

    const SkinSet& skin = dialog.View().Skin();
    POINT entries[2];
    int index = 0;
    for (int id : {MainEntry::kWheelNormal, MainEntry::kWheelReverse}) {
        const SkinEntry e = skin.main.At(id);
        if (e.width <= 0 || e.height <= 0) {
            std::fprintf(stderr, "the skin has no wheel entry %d\n", id);
            return 1;
        }
        entries[index++] = {e.x + e.width / 2, e.y + e.height / 2};
    }

    Window w{services, dialog};
    const auto decoding = [&](bool on) {
        if (on) return SetWindowSubclass(dialog.Hwnd(), DecodingPaint, 1, reinterpret_cast<DWORD_PTR>(&w)) != FALSE;
        return RemoveWindowSubclass(dialog.Hwnd(), DecodingPaint, 1) != FALSE;
    };
    std::vector<double> kept, decoded;
    bool pressed = Press(w, entries, 0, kWarmUpPresses, nullptr) && decoding(true) &&
                   Press(w, entries, 0, kWarmUpPresses, nullptr) && decoding(false);
    for (int done = 0; pressed && done < presses; done += kBlock) {
        const int count = std::min(kBlock, presses - done);
        pressed = Press(w, entries, done, count, &kept) && decoding(true) &&
                  Press(w, entries, done, count, &decoded) && decoding(false);
    }
    // Every press of the second way must have gone through its own paint, or it measured the first.
    if (!pressed || w.decodedPaints < presses) {
        std::fprintf(stderr, "a press did not change the wheel or the repaint did not run (%d paints)\n",
                     w.decodedPaints);
        return 1;
    }
    std::printf("press \u2192 repaint, pictures kept: p50 %.2f ms, p99 %.2f ms (%d presses)\n", Percentile(kept, 0.50),
                Percentile(kept, 0.99), presses);
    std::printf("press \u2192 repaint, pictures decoded at every paint: p50 %.2f ms, p99 %.2f ms\n",
                Percentile(decoded, 0.50), Percentile(decoded, 0.99));
    SendMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
    return 0;
}
