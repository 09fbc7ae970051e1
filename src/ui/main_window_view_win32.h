// The main window's page view: its skin (description tables, shape, repaint region, pictures) and
// its painting. It forwards the mouse to the controller, carries out what the controller asks of
// the window, and hosts the macro editor of the advanced page.
#pragma once

#include <windows.h>

#include <functional>

#include "config/program_state.h"
#include "core/press_handoff.h"
#include "macros/macro_store.h"
#include "platform/handles_win32.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/mask_region.h"
#include "skin/skin_description.h"
#include "ui/animators.h"
#include "ui/function_popup_win32.h"
#include "ui/macro_editor_host_win32.h"
#include "ui/indicator_win32.h"
#include "ui/main_window_controller.h"
#include "ui/window_ports_win32.h"

class MainWindowView : private MainWindowShell, private FunctionPopupPort {
public:
    // apply and factoryReset: the program's operations that the apply and reset controls start.
    MainWindowView(ProgramState& program, PressHandoff& handoff, MacroStore& macros, MacroEditorState& editorState,
                   WindowPorts ports, std::function<void()> apply, std::function<void()> factoryReset);
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    // Start-up: the main page's pictures start being decoded on a thread of their own, for the
    // shape and the first paint to take from there.
    void PrefetchFirstPaint(const std::u16string& skinsDir);
    // After the first paint: the pictures that only later paints need.
    void PrefetchAfterFirstPaint();
    // Start-up: the window becomes the owner of what the ports show; the page descriptions
    // (main, colour, advanced), the warning layout of the language and the pages' pictures.
    // False, after one message box owned by window that names the first missing file, when the
    // window cannot come up.
    bool LoadDescriptions(HWND window);
    // Start-up: MaskImagePath, the window's outline (set with redraw) and RepaintRegion. A
    // missing mask gives the window's own rectangle.
    void ShapeWindow(HWND window);

    // The language fonts, alive as long as the window: the paint and the popups write with them.
    void SetFonts(SkinFonts fonts) { fonts_ = fonts; }
    // WM_PAINT: the current page composed off screen and copied in one go.
    void Paint(HICON icon);

    void OnMouseMove(POINT point) { controller_.MouseMove(point.x, point.y); }
    void OnLButtonDown(POINT point) { controller_.Press(point.x, point.y); }
    void OnLButtonUp(POINT point) { controller_.Release(point.x, point.y); }
    void OnTimer(UINT_PTR id);
    // A save of config.ini failed outside the window's own changes: the user is told (once).
    void TellSaveFailure() { controller_.TellSaveFailure(); }
    // A change of the configuration that a mouse button asks for.
    void Change(const std::function<void()>& change) { controller_.Change(change); }

    // Sees every message of the window's loop first: records keys while recording, opens the
    // event list's menu on a right-click of the advanced page, and keeps Escape, Enter and F10
    // from closing or confirming the window. True when the message is used up.
    bool PreTranslate(const MSG& msg);
    // The macro editor's notifications: a context-menu command (false when id is not one), the
    // macro list's WM_COMMAND, the end of the event list's in-place edit.
    bool OnEventMenuCommand(UINT id) { return editor_.OnEventMenuCommand(id); }
    void OnMacroListCommand(UINT code) { editor_.OnMacroListCommand(code); }
    void OnDelayEditEnded() { editor_.OnDelayEditEnded(); }
    // The macros were loaded again: the editor shows them. A recording stops.
    void ReloadMacros() { editor_.Panel().Reload(); }
    // The program closes: a recording stops and its capture goes; unsaved macros are saved or
    // dropped as the user answers. False when the user stays.
    bool ReadyToClose() { return editor_.Panel().SaveOrDropUnsaved(true); }
    // The mouse went: unsaved macros are kept aside for the next start.
    void KeepUnsavedMacros() { editor_.Panel().KeepUnsavedCopy(); }
    // The event list's context menu, owned by the window that loads the menus.
    void SetEventMenu(std::function<HMENU()> popup) { editor_.SetEventMenu(std::move(popup)); }
    // After a language switch: the menus and title of the window that owns them.
    void SetLanguageShown(std::function<void()> shown) { languageShown_ = std::move(shown); }

    // The start key blinks while host actions wait for the mouse.
    void StartBlink() { controller_.StartBlink(); }

    // What a script asks of the running program; done may come after the call returns.
    void SwitchToSlot(int slot, std::function<void(bool)> done) { controller_.SwitchToSlot(slot, std::move(done)); }
    void ExportConfigTo(const std::u16string& file, std::function<void(bool)> done) {
        controller_.ExportConfigTo(file, std::move(done));
    }
    void ImportConfigFrom(const std::u16string& file, std::function<void(bool)> done) {
        controller_.ImportConfigFrom(file, std::move(done));
    }

    const SkinSet& Skin() const { return skin_; }
    SIZE MaskSize() const { return {maskWidth_, maskHeight_}; }
    HRGN RepaintRegion() const { return repaintRegion_.get(); }
    const MainWindowModel& Model() const { return controller_.Model(); }
    WindowPage Page() const { return controller_.Page(); }
    const LedPreview& Preview() const { return controller_.Preview(); }

private:
    void Repaint(RepaintArea area) override;
    void PaintNow() override { UpdateWindow(window_); }
    bool MacroEditorShown() override { return GetWindow(window_, GW_CHILD) != nullptr; }
    void StartWindowMove(std::int64_t x, std::int64_t y) override;
    void Minimise(std::int64_t x, std::int64_t y) override;
    void HideToTray() override;
    void ScheduleAnimation(Animation which, AnimationDelay delay) override;
    bool LoadSkinOf(LanguageMode language) override;
    void ShowLanguage() override {
        if (languageShown_) languageShown_();
    }
    void ShowStateChange(const IndicatorState& before, const IndicatorState& after) override;
    // Loads the four descriptions of language into skin; false when a file was missing (the
    // loaders told the user and ran onMissingFile).
    bool LoadSkinInto(SkinSet& skin, LanguageMode language, std::function<void()> onMissingFile);
    int ShowLeftClickWarning(int button) override;
    void OpenFunctionPopup(int button) override;
    void DestroyFunctionPopup() override { popup_.Destroy(); }
    // Screen point just below the picture of button's function box.
    POINT PopupOrigin(int button) const;
    void LogFirstPaint();
    HFONT CurrentFont() const;

    ProgramState& program_;
    Indicator indicator_{GetModuleHandleW(nullptr)};
    MacroStore& macros_;
    WindowPorts ports_;
    SkinFonts fonts_;
    HWND window_ = nullptr;
    SkinSet skin_;
    PictureCache pictures_;
    CanvasSurface surface_;  // kept from paint to paint
    std::int32_t maskWidth_ = 0;
    std::int32_t maskHeight_ = 0;
    OwnedRegion repaintRegion_;
    bool painted_ = false;
    FunctionPopup popup_;

    std::function<void()> languageShown_;
    MacroEditorHost editor_;  // before the controller, which drives it
    MainWindowController controller_;
};
