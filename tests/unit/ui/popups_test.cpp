#include <gtest/gtest.h>

#include "platform/text.h"
#include "skin/paint_state.h"
#include "skin/skin_entries.h"
#include "support/recording_canvas.h"
#include "ui/function_popup_model.h"
#include "ui/warning_model.h"

namespace {

using paint_colour::kRed;
using paint_colour::kWhite;

const PopupRows kPopup({180, 305}, kPopupRowsInMask, kPopupRowsInMask, kPopupHitRows);

TEST(PopupRows, SizesAndHitTestComeFromTheMaskAndAnUnreadableMaskHitsNothing) {
    EXPECT_EQ(kPopup.Width(), 180);
    EXPECT_EQ(kPopup.RowHeight(), 30);
    EXPECT_EQ(kPopup.Height(), 301);
    EXPECT_EQ(kPopup.RowAt(0, 0), 1);
    EXPECT_EQ(kPopup.RowAt(179, 89), 3);
    EXPECT_EQ(kPopup.RowAt(179, 90), 4);
    EXPECT_EQ(kPopup.RowAt(10, 300), 11);  // the pixel line below row 10
    EXPECT_EQ(kPopup.RowAt(10, 359), 12);
    EXPECT_EQ(kPopup.RowAt(10, 360), kNoRow);
    EXPECT_EQ(kPopup.RowAt(180, 10), kNoRow);
    EXPECT_EQ(kPopup.RowAt(-1, 10), kNoRow);
    EXPECT_EQ(kPopup.RowAt(10, -1), kNoRow);

    // Three macros: rows of 26 pixels; the line below the last row is no row.
    const PopupRows macros({176, 312}, kSubmenuRowsInMask, 3, 3);
    EXPECT_EQ(macros.Height(), 79);
    EXPECT_EQ(macros.RowAt(0, 77), 3);
    EXPECT_EQ(macros.RowAt(0, 78), kNoRow);
    EXPECT_EQ(PopupRows({176, 312}, kSubmenuRowsInMask, 0, 0).Height(), 0);

    for (const MaskSize mask : {MaskSize{0, 0}, MaskSize{180, 0}, MaskSize{180, 9}, MaskSize{-5, 305}}) {
        const PopupRows none(mask, kPopupRowsInMask, kPopupRowsInMask, kPopupHitRows);
        EXPECT_EQ(none.Height(), 0);
        EXPECT_EQ(none.RowAt(0, 0), kNoRow);
        RecordingCanvas canvas;
        PopupPointer pointer(none);
        pointer.MouseMove(0, 0);
        PaintPopupList(canvas, pointer, {u"a"}, kPopupPictures, LanguageMode::English);
        EXPECT_TRUE(canvas.calls.empty());
    }
}

TEST(PopupRows, PointerReportsOnlyChangesOfTheHotRow) {
    PopupPointer pointer(kPopup);
    EXPECT_EQ(pointer.HotRow(), kNoRow);
    EXPECT_TRUE(pointer.MouseMove(5, 65));
    EXPECT_EQ(pointer.HotRow(), 3);
    EXPECT_FALSE(pointer.MouseMove(100, 80));
    EXPECT_TRUE(pointer.MouseMove(500, 80));
    EXPECT_EQ(pointer.HotRow(), kNoRow);
}

TEST(PopupChoices, RowsOneToSixChooseThemselvesAndGroupRowsOpenTheirSubmenus) {
    for (int row = 1; row <= 6; ++row) EXPECT_EQ(PopupChoice(row), row);
    for (int row : {0, 7, 8, 9, 10, 11, 12, kNoRow}) EXPECT_EQ(PopupChoice(row), std::nullopt) << row;

    EXPECT_EQ(SubmenuGroupOfRow(7), PopupGroup::OfRow7);
    EXPECT_EQ(SubmenuGroupOfRow(10), PopupGroup::OfRow10);
    EXPECT_EQ(SubmenuGroupOfRow(6), PopupGroup::None);
    EXPECT_EQ(SubmenuGroupOfRow(11), PopupGroup::None);
    EXPECT_EQ(SubmenuRowCount(PopupGroup::OfRow7, 5), 9);
    EXPECT_EQ(SubmenuRowCount(PopupGroup::OfRow8, 5), 6);
    EXPECT_EQ(SubmenuRowCount(PopupGroup::OfRow10, 5), 10);
    EXPECT_EQ(SubmenuRowCount(PopupGroup::OfRow9, 3), 3);
    EXPECT_EQ(SubmenuRowCount(PopupGroup::OfRow9, 40), kMaxMacros);
    EXPECT_EQ(SubmenuRowCount(PopupGroup::OfRow9, -1), 0);

    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow10, 4, 0), 34);
    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow7, 9, 0), 19);
    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow8, 6, 0), 26);
    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow9, 2, 3), 42);
    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow9, 4, 3), std::nullopt);  // no fourth macro
    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow8, 7, 0), std::nullopt);
    EXPECT_EQ(SubmenuChoice(PopupGroup::OfRow10, kNoRow, 0), std::nullopt);
}

TEST(PopupChoices, SubmenusOpenBesideThePopupLevelWithTheirGroup) {
    const ScreenPoint popup{100, 200};
    EXPECT_EQ(SubmenuOrigin(popup, kPopup, 7, 3), (ScreenPoint{280, 170}));
    EXPECT_EQ(SubmenuOrigin(popup, kPopup, 8, 3), (ScreenPoint{280, 260}));
    EXPECT_EQ(SubmenuOrigin(popup, kPopup, 9, 3), (ScreenPoint{280, 380}));
    EXPECT_EQ(SubmenuOrigin(popup, kPopup, 9, 12), (ScreenPoint{280, 110}));
    EXPECT_EQ(SubmenuOrigin(popup, kPopup, 10, 3), (ScreenPoint{280, 200}));
}

PopupTexts Texts(const FunctionNameTable& names) {
    PopupTexts texts{names};
    texts.macroNames = {u"m0", u"m1", u"m2", u"m3"};
    texts.macroCount = 3;
    return texts;
}

TEST(PopupPaint, RowsNameTheirCodesOrMacrosAndTheHotRowShowsPressedInRed) {
    FunctionNameTable names;
    for (int code = 1; code <= kFunctionNameCount; ++code) names[code - 1] = u"F" + DecimalText(code);
    const PopupTexts texts = Texts(names);
    const std::vector<std::u16string> popupRows = PopupRowTexts(texts);
    ASSERT_EQ(popupRows.size(), 10u);
    EXPECT_EQ(popupRows[0], u"F1");
    EXPECT_EQ(popupRows[9], u"F10");
    EXPECT_EQ(SubmenuRowTexts(texts, PopupGroup::OfRow9), (std::vector<std::u16string>{u"m0", u"m1", u"m2"}));
    const std::vector<std::u16string> group7 = SubmenuRowTexts(texts, PopupGroup::OfRow7);
    ASSERT_EQ(group7.size(), 9u);
    EXPECT_EQ(group7.front(), u"F11");
    EXPECT_EQ(group7.back(), u"F19");

    PopupPointer pointer(kPopup);
    pointer.MouseMove(5, 65);
    pointer.Press();
    RecordingCanvas canvas;
    PaintPopupList(canvas, pointer, popupRows, kPopupPictures, LanguageMode::Chinese);
    EXPECT_EQ(canvas.CopiesFrom(u"menu_normal.jpg"), std::vector<PixelRect>{(PixelRect{0, 0, 180, 301})});
    EXPECT_EQ(canvas.CopiesFrom(u"menu_down.jpg"), std::vector<PixelRect>{(PixelRect{0, 60, 180, 90})});
    EXPECT_TRUE(canvas.CopiesFrom(u"menu_over.jpg").empty());
    const std::vector<CanvasCall> written = canvas.Texts();
    ASSERT_EQ(written.size(), 10u);
    // "F3" measures 14 x 15: centred in row 3.
    EXPECT_EQ(written[2].text, u"F3");
    EXPECT_EQ(written[2].x, (180 - 14) / 2);
    EXPECT_EQ(written[2].y, 60 + (30 - 15) / 2);
    for (const CanvasCall& text : written) EXPECT_EQ(text.colour, text.text == u"F3" ? kRed : kWhite);

    // Released, the strip comes from the over picture; without its picture nothing is copied.
    pointer.Release();
    RecordingCanvas over;
    over.missing = {u"menu_normal.jpg"};
    PaintPopupList(over, pointer, popupRows, kPopupPictures, LanguageMode::English);
    EXPECT_TRUE(over.CopiesFrom(u"menu_normal.jpg").empty());
    EXPECT_EQ(over.CopiesFrom(u"menu_over.jpg"), std::vector<PixelRect>{(PixelRect{0, 60, 180, 90})});
}

SkinPage WarningLayout() {
    SkinPage warning(kWarningEntries);
    *warning.Find(WarningEntry::kConfirm) = {20, 100, 60, 30, u"OK"};
    *warning.Find(WarningEntry::kCancel) = {70, 100, 60, 30, u"Cancel"};  // overlaps confirm at 70..79
    *warning.Find(WarningEntry::kMessage) = {10, 10, 200, 40, u"Sure?"};
    return warning;
}

TEST(WarningModel, ConfirmWinsWhereTheControlsOverlapAndAReleaseAnswersTheHotOne) {
    const SkinPage warning = WarningLayout();
    WarningModel model(warning);
    EXPECT_EQ(model.Release(), std::nullopt);
    EXPECT_TRUE(model.MouseMove(75, 110));
    EXPECT_EQ(model.Hot(), kWarningConfirm);
    EXPECT_EQ(model.Release(), kWarningConfirm);
    EXPECT_FALSE(model.MouseMove(21, 101));
    EXPECT_TRUE(model.MouseMove(80, 110));
    EXPECT_EQ(model.Release(), kWarningCancel);
    EXPECT_TRUE(model.MouseMove(130, 110));  // right edge excluded
    EXPECT_EQ(model.Hot(), kWarningNone);
    EXPECT_EQ(model.Release(), std::nullopt);

    EXPECT_EQ(WarningFallbackSize(warning).width, 210);
    EXPECT_EQ(WarningFallbackSize(warning).height, 130);
    EXPECT_EQ(WarningFallbackSize(SkinPage(kWarningEntries)).width, 0);
}

TEST(WarningModel, PaintCopiesTheHotControlFromTheOverPictureAndCentresTheTextsInRed) {
    const SkinPage warning = WarningLayout();
    RecordingCanvas canvas;
    PaintWarning(canvas, warning, kWarningCancel, {300, 200}, LanguageMode::English);
    EXPECT_EQ(canvas.CopiesFrom(u"warning_normal.jpg"), std::vector<PixelRect>{(PixelRect{0, 0, 300, 200})});
    EXPECT_EQ(canvas.CopiesFrom(u"warning_over.jpg"), std::vector<PixelRect>{warning.At(WarningEntry::kCancel).Rect()});
    const std::vector<CanvasCall> texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].text, u"Cancel");
    EXPECT_EQ(texts[1].x, 70 + (60 - 42) / 2);
    EXPECT_EQ(texts[1].y, 100 + (30 - 15) / 2);
    for (const CanvasCall& text : texts) EXPECT_EQ(text.colour, kRed);

    RecordingCanvas idle;
    PaintWarning(idle, warning, kWarningNone, {300, 200}, LanguageMode::English);
    EXPECT_TRUE(idle.CopiesFrom(u"warning_over.jpg").empty());
}

}  // namespace
