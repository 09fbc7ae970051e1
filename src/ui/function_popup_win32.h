// The function popups on the screen: the first-level popup a button press opens below its
// picture (CMenuDlg) and the submenu a group row opens beside it (CSubMenuDlg). Both are
// modeless, skinned, and only forward the mouse to their portable models.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/macro_limits.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/skin_description.h"

// The text fonts of the two languages, owned by the application.
struct SkinFonts {
    HFONT english = nullptr;
    HFONT chinese = nullptr;
};

class CMenuDlg;
struct PopupSession;
class PopupDialog;

// The main window's one popup and, through it, its submenu.
class FunctionPopup {
public:
    struct Context {
        std::u16string skinsDir;
        LanguageMode language = LanguageMode::English;
        SkinFonts fonts;
        const FunctionNameTable& functionNames;  // copied at the opening
        // The macros as they are at the opening; the popup does not follow later edits.
        std::array<std::u16string, kMaxMacros> macroNames{};
        int macroCount = 0;
    };

    FunctionPopup();
    ~FunctionPopup();
    FunctionPopup(const FunctionPopup&) = delete;
    FunctionPopup& operator=(const FunctionPopup&) = delete;

    // Opens the popup with its top-left corner at screenOrigin, owned by owner, destroying one
    // that is open. onChoose(code) runs when the user picks a function, on popup rows 1 to 6 or
    // on a submenu row. A missing or unreadable mask picture gives a popup of size 0: it opens,
    // shows nothing and chooses nothing.
    void Open(HWND owner, POINT screenOrigin, const Context& context, std::function<void(int code)> onChoose);
    // Destroys the popup and its submenu; nothing when none is open.
    void Destroy();
    // A popup is open from Open until it is destroyed, also while it hides after a submenu choice.
    bool IsOpen() const;
    // For the main window's paint: a popup hidden by a submenu choice is destroyed here, from the
    // main window, never from inside its own submenu's handler.
    void DestroyIfClosePending();

    HWND PopupWindow() const;
    HWND SubmenuWindow() const;  // the submenu shown now, or null

private:
    // Pictures first: the dialogs below paint from them until they go.
    PictureCache pictures_;
    // Dialogs whose windows are gone but whose handler may still be running: freed when none runs.
    std::vector<std::unique_ptr<PopupDialog>> retired_;
    std::shared_ptr<PopupSession> session_;
    std::unique_ptr<CMenuDlg> menu_;
};
