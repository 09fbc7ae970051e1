// The function popup, its submenu and the warning dialog with the generated skin: what a release
// on a row chooses, where the submenu opens, how a submenu choice closes the popup, what the
// warning answers, and that missing masks do no harm. Screenshots go to build/win64/screenshots.
#include <gtest/gtest.h>

#include <optional>

#include "app/ui_fonts_win32.h"
#include "platform/message_box_win32.h"
#include "platform/profile_win32.h"
#include "platform/wide_text_win32.h"
#include "skin/skin_entries.h"
#include "skin/window_region_win32.h"
#include "ui/function_popup_model.h"
#include "ui/function_popup_win32.h"
#include "ui/warning_dialog_win32.h"
#include "ui/warning_model.h"
#include "win32/skin_support.h"
#include "win32/support.h"

namespace {

void Move(HWND window, int x, int y) { SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
void Click(HWND window, int x, int y) {
    Move(window, x, y);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT RegionBox(HWND window) {
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(window, region.get()) != ERROR) GetRgnBox(region.get(), &box);
    return box;
}

// The part of a window its region shows, in screen coordinates.
RECT ShownArea(HWND window) {
    RECT box = RegionBox(window);
    const RECT at = WindowRect(window);
    OffsetRect(&box, at.left, at.top);
    return box;
}

std::filesystem::path Shot(const std::string& name) { return TestProgramDir() / "screenshots" / name; }

class Popups : public ::testing::Test {
protected:
    void SetUp() override {
        CopyBuiltSkins(dir.Path());
        skins = dir.Path() + L"\\skins";
        // Shown without taking the activation: under Wine without a window manager, destroying
        // an active window waits seconds for the focus to settle.
        owner = CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"owner", WS_POPUP, 0, 0, 60, 60, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        ShowWindow(owner, SW_SHOWNA);
        for (LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
            MessageBoxPort messages(L"");
            SkinReadContext context{profile, messages, [] {}};
            LoadAllSkins(context, FromWide(skins), language, skin(language));
        }
        const std::optional<SIZE> menu = PictureFileSize(skins + L"\\" + kMenuMaskPicture);
        const std::optional<SIZE> submenu = PictureFileSize(skins + L"\\" + kSubmenuMaskPicture);
        ASSERT_TRUE(menu && submenu);
        width = menu->cx;
        rowHeight = menu->cy / kPopupRowsInMask;
        subRowHeight = submenu->cy / kSubmenuRowsInMask;
        ASSERT_GT(rowHeight, 0);
        ASSERT_GT(subRowHeight, 0);
    }
    void TearDown() override {
        popup.Destroy();
        DestroyWindow(owner);
    }

    SkinSet& skin(LanguageMode language) { return language == LanguageMode::English ? english : chinese; }

    FunctionPopup::Context ContextOf(LanguageMode language, int macroCount) {
        FunctionPopup::Context context{.skinsDir = FromWide(skins), .language = language,
                                       .fonts = {englishFont.get(), chineseFont.get()},
                                       .functionNames = skin(language).functionNames};
        context.macroNames = {u"Macro one", u"Macro two", u"Macro three"};
        context.macroCount = macroCount;
        return context;
    }
    void Open(LanguageMode language = LanguageMode::English, int macroCount = 3) {
        chosen.reset();
        popup.Open(owner, kOrigin, ContextOf(language, macroCount), [this](int code) { chosen = code; });
        ASSERT_TRUE(popup.IsOpen());
        UpdateWindow(popup.PopupWindow());
    }
    int RowMiddle(int row, int height) const { return (row - 1) * height + height / 2; }
    // Hovers a group row and lets the popup paint, which opens its submenu.
    HWND HoverGroup(int row) {
        Move(popup.PopupWindow(), width / 2, RowMiddle(row, rowHeight));
        UpdateWindow(popup.PopupWindow());
        return popup.SubmenuWindow();
    }

    static constexpr POINT kOrigin{200, 150};
    ScratchDir dir;
    std::wstring skins;
    HWND owner = nullptr;
    Win32Profile profile;
    SkinSet english, chinese;
    OwnedFont englishFont = CreateEnglishUiFont();
    OwnedFont chineseFont = CreateChineseUiFont();
    int width = 0, rowHeight = 0, subRowHeight = 0;
    FunctionPopup popup;
    std::optional<int> chosen;
};

TEST_F(Popups, APopupRowChoosesItsCodeAndClosesWhileAGroupRowChoosesNothing) {
    Open();
    const HWND window = popup.PopupWindow();
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(title, L"MainMenuDlg");
    EXPECT_EQ(WindowRect(window).left, kOrigin.x);
    EXPECT_EQ(WindowRect(window).top, kOrigin.y);
    const RECT box = RegionBox(window);
    EXPECT_EQ(box.right, width);
    EXPECT_EQ(box.bottom, 10 * rowHeight + 1);

    Click(window, width / 2, RowMiddle(7, rowHeight));
    EXPECT_FALSE(chosen);
    EXPECT_TRUE(popup.IsOpen());
    Click(window, width / 2, RowMiddle(3, rowHeight));
    EXPECT_EQ(chosen, 3);
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Popups, ASubmenuChoiceHidesThePopupUntilTheMainWindowsPaintDestroysIt) {
    for (LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
        const std::string suffix = language == LanguageMode::English ? "en" : "cn";
        Open(language);
        const HWND window = popup.PopupWindow();
        HWND submenu = HoverGroup(10);
        ASSERT_NE(submenu, nullptr);
        EXPECT_EQ(WindowRect(submenu).left, kOrigin.x + width);
        EXPECT_EQ(WindowRect(submenu).top, kOrigin.y);
        EXPECT_EQ(RegionBox(submenu).bottom, 10 * subRowHeight + 1);
        Move(submenu, width / 2, RowMiddle(4, subRowHeight));
        UpdateWindow(submenu);
        const RECT shownPopup = ShownArea(window), shownSubmenu = ShownArea(submenu);
        RECT both{};
        UnionRect(&both, &shownPopup, &shownSubmenu);
        EXPECT_TRUE(SaveScreenPng(both, Shot("popup-submenu-" + suffix + ".png")));

        // Hovering a function row closes the submenu; the group row opens a fresh one.
        Move(window, width / 2, RowMiddle(2, rowHeight));
        UpdateWindow(window);
        EXPECT_EQ(popup.SubmenuWindow(), nullptr);
        EXPECT_FALSE(IsWindow(submenu));
        EXPECT_TRUE(SaveScreenPng(ShownArea(window), Shot("popup-" + suffix + ".png")));
        submenu = HoverGroup(10);
        ASSERT_NE(submenu, nullptr);

        // The one-pixel line below the last row chooses nothing; row 4 chooses 34.
        Click(submenu, width / 2, 10 * subRowHeight);
        EXPECT_FALSE(chosen);
        Click(submenu, width / 2, RowMiddle(4, subRowHeight));
        EXPECT_EQ(chosen, 34);
        EXPECT_FALSE(IsWindow(submenu));
        EXPECT_TRUE(popup.IsOpen());
        EXPECT_FALSE(IsWindowVisible(window));
        popup.DestroyIfClosePending();
        EXPECT_FALSE(popup.IsOpen());
        EXPECT_FALSE(IsWindow(window));
    }

    // The macro group has a row per macro and ends level with the macro row.
    Open(LanguageMode::English, 3);
    HWND macros = HoverGroup(9);
    ASSERT_NE(macros, nullptr);
    EXPECT_EQ(WindowRect(macros).top, kOrigin.y + 6 * rowHeight);
    EXPECT_EQ(RegionBox(macros).bottom, 3 * subRowHeight + 1);
    Click(macros, width / 2, RowMiddle(2, subRowHeight));
    EXPECT_EQ(chosen, 42);
    // A popup that is open is not destroyed by the main window's paint.
    Open();
    popup.DestroyIfClosePending();
    EXPECT_TRUE(popup.IsOpen());
}

// Drives the warning's modal loop from a timer: each tick runs the next step on the dialog. A
// dialog still open well after the last step is closed, and the run counts as overrun.
class WarningDriver {
public:
    using Step = std::function<void(HWND warning)>;
    static int Run(HWND owner, POINT origin, const SkinPage& layout, const std::wstring& skins, LanguageMode language,
                   SkinFonts fonts, std::vector<Step> steps) {
        owner_ = owner;
        steps_ = std::move(steps);
        next_ = 0;
        idleTicks_ = 0;
        overran_ = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            HWND warning = nullptr;
            EnumThreadWindows(
                GetCurrentThreadId(),
                [](HWND w, LPARAM found) {
                    if (GetWindow(w, GW_OWNER) != owner_ || !IsWindowVisible(w)) return TRUE;
                    *reinterpret_cast<HWND*>(found) = w;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&warning));
            if (!warning) return;
            if (next_ < steps_.size()) {
                steps_[next_++](warning);
            } else if (++idleTicks_ > 40) {
                overran_ = true;
                PostMessageW(warning, WM_CLOSE, 0, 0);
            }
        });
        const int result = ShowWarningDialog(owner, origin, layout, FromWide(skins), language, fonts);
        KillTimer(nullptr, timer);
        EXPECT_FALSE(overran_) << "the warning stayed open after its last step";
        return result;
    }
    static std::size_t StepsRun() { return next_; }

private:
    static inline HWND owner_ = nullptr;
    static inline std::vector<Step> steps_;
    static inline std::size_t next_ = 0;
    static inline int idleTicks_ = 0;
    static inline bool overran_ = false;
};

POINT Centre(const SkinEntry& e) { return {e.x + e.width / 2, e.y + e.height / 2}; }

TEST_F(Popups, TheWarningAnswersOneForConfirmAndTwoForCancelOrEscapeButIgnoresEnter) {
    const SkinFonts fonts{englishFont.get(), chineseFont.get()};
    // English is answered by confirm, Chinese by cancel; both are shown with confirm hovered.
    for (LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
        const bool inEnglish = language == LanguageMode::English;
        const SkinPage& layout = skin(language).warning;
        const POINT confirm = Centre(layout.At(WarningEntry::kConfirm));
        const POINT answer = inEnglish ? confirm : Centre(layout.At(WarningEntry::kCancel));
        RECT placed{};
        EXPECT_EQ(WarningDriver::Run(owner, kOrigin, layout, skins, language, fonts,
                                     {[&](HWND w) {
                                          placed = WindowRect(w);
                                          Move(w, confirm.x, confirm.y);
                                      },
                                      [&](HWND w) {
                                          EXPECT_TRUE(SaveScreenPng(placed, Shot(inEnglish ? "warning-en.png" : "warning-cn.png")));
                                          Move(w, answer.x, answer.y);
                                          SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(answer.x, answer.y));
                                      }}),
                  inEnglish ? 1 : 2);
        EXPECT_EQ(placed.left, kOrigin.x);
        EXPECT_EQ(placed.top, kOrigin.y);
    }
    // A release outside both controls and Enter leave it open; Escape cancels.
    const SkinPage& layout = english.warning;
    EXPECT_EQ(WarningDriver::Run(owner, kOrigin, layout, skins, LanguageMode::English, fonts,
                                 {[](HWND w) { Click(w, 1, 1); }, [](HWND w) { PostMessageW(w, WM_KEYDOWN, VK_RETURN, 0); },
                                  [](HWND) {}, [](HWND w) { PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0); }}),
              2);
    EXPECT_EQ(WarningDriver::StepsRun(), 4u);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(Popups, MissingMasksGiveAnEmptyPopupAndAWarningOfTheLayoutsSize) {
    for (const wchar_t* mask : {kMenuMaskPicture, kSubmenuMaskPicture, kWarningMaskPicture}) {
        std::filesystem::remove(std::filesystem::path(skins) / mask);
    }
    Open();
    const HWND window = popup.PopupWindow();
    const RECT box = RegionBox(window);
    EXPECT_EQ(box.right - box.left, 0);
    Click(window, 5, 5);
    Click(window, 5, 200);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(popup.SubmenuWindow(), nullptr);
    EXPECT_TRUE(popup.IsOpen());

    const SkinFonts fonts{englishFont.get(), chineseFont.get()};
    const SkinPage& layout = english.warning;
    const POINT confirm = Centre(layout.At(WarningEntry::kConfirm));
    RECT placed{};
    EXPECT_EQ(WarningDriver::Run(owner, kOrigin, layout, skins, LanguageMode::English, fonts,
                                 {[&](HWND w) {
                                     placed = WindowRect(w);
                                     Click(w, confirm.x, confirm.y);
                                 }}),
              1);
    EXPECT_EQ(placed.right - placed.left, WarningFallbackSize(layout).width);
    EXPECT_EQ(placed.bottom - placed.top, WarningFallbackSize(layout).height);
    // With no layout either there is nothing to answer: cancelled at once.
    EXPECT_EQ(WarningDriver::Run(owner, kOrigin, SkinPage(kWarningEntries), skins, LanguageMode::English, fonts, {}),
              2);
}

}  // namespace
