#include "ui/function_popup_model.h"

#include <algorithm>

#include "skin/paint_state.h"

PopupRows::PopupRows(MaskSize mask, int rowsInMask, int shownRows, int hitRows) {
    if (mask.width <= 0 || mask.height <= 0 || rowsInMask <= 0) return;
    width_ = mask.width;
    rowHeight_ = mask.height / rowsInMask;
    shownRows_ = std::max(shownRows, 0);
    hitRows_ = std::max(hitRows, shownRows_);
}

std::int32_t PopupRows::Height() const {
    if (shownRows_ == 0 || rowHeight_ == 0) return 0;
    return shownRows_ * rowHeight_ + 1;
}

int PopupRows::RowAt(std::int64_t x, std::int64_t y) const {
    // Rows of height 0 hold no point; this also keeps the division below safe.
    if (rowHeight_ <= 0 || x < 0 || x >= width_ || y < 0) return kNoRow;
    const std::int64_t row = y / rowHeight_ + 1;
    return row <= hitRows_ ? static_cast<int>(row) : kNoRow;
}

bool PopupPointer::MouseMove(std::int64_t x, std::int64_t y) {
    const int row = rows_.RowAt(x, y);
    if (row == hot_) return false;
    hot_ = row;
    return true;
}

PopupGroup SubmenuGroupOfRow(int row) {
    const std::optional<std::int32_t> code = CodeAtPopupRow(PopupGroup::TopLevel, row);
    return code ? FunctionOf(*code).opens : PopupGroup::None;
}

int SubmenuRowCount(PopupGroup group, int macroCount) {
    if (group == PopupGroup::OfRow9) return std::clamp(macroCount, 0, kMaxMacros);
    return PopupRowCount(group);
}

std::optional<std::int32_t> PopupChoice(int row) {
    if (SubmenuGroupOfRow(row) != PopupGroup::None) return std::nullopt;
    return CodeAtPopupRow(PopupGroup::TopLevel, row);
}

std::optional<std::int32_t> SubmenuChoice(PopupGroup group, int row, int macroCount) {
    if (row < 1 || row > SubmenuRowCount(group, macroCount)) return std::nullopt;
    return CodeAtPopupRow(group, row);
}

ScreenPoint SubmenuOrigin(ScreenPoint popupTopLeft, const PopupRows& popup, int row, int macroCount) {
    const std::int64_t h = popup.RowHeight();
    std::int64_t rowsDown = 0;
    switch (SubmenuGroupOfRow(row)) {
        case PopupGroup::OfRow7: rowsDown = -1; break;
        case PopupGroup::OfRow8: rowsDown = 2; break;
        // The macros end level with the macro row, however many there are.
        case PopupGroup::OfRow9: rowsDown = 9 - SubmenuRowCount(PopupGroup::OfRow9, macroCount); break;
        default: break;
    }
    return {popupTopLeft.x + popup.Width(), popupTopLeft.y + rowsDown * h};
}

namespace {
std::u16string TextOfCode(const PopupTexts& texts, std::int32_t code) {
    const FunctionEntry& function = FunctionOf(code);
    if (function.label == FunctionLabel::MacroName) return texts.macroNames[static_cast<std::size_t>(function.macro)];
    return FunctionName(texts.functionNames, code);
}
}  // namespace

std::vector<std::u16string> PopupRowTexts(const PopupTexts& texts) {
    std::vector<std::u16string> rows;
    for (int row = 1; row <= kPopupRowsInMask; ++row) {
        const std::optional<std::int32_t> code = CodeAtPopupRow(PopupGroup::TopLevel, row);
        rows.push_back(code ? FunctionName(texts.functionNames, *code) : std::u16string());
    }
    return rows;
}

std::vector<std::u16string> SubmenuRowTexts(const PopupTexts& texts, PopupGroup group) {
    std::vector<std::u16string> rows;
    const int count = SubmenuRowCount(group, texts.macroCount);
    for (int row = 1; row <= count; ++row) {
        const std::optional<std::int32_t> code = CodeAtPopupRow(group, row);
        rows.push_back(code ? TextOfCode(texts, *code) : std::u16string());
    }
    return rows;
}

void PaintPopupList(CanvasPort& canvas, const PopupPointer& pointer, const std::vector<std::u16string>& texts,
                    const ListPictures& pictures, LanguageMode language) {
    const PopupRows& rows = pointer.Rows();
    const std::int64_t w = rows.Width();
    const std::int64_t h = rows.RowHeight();
    if (w == 0 || rows.Height() == 0) return;

    const PixelRect whole{0, 0, w, rows.Height()};
    // A missing normal picture leaves a black list rather than whatever the buffer held.
    canvas.Fill(whole, paint_colour::kBlack);
    if (canvas.LoadPicture(pictures.normal)) canvas.CopyPicture(pictures.normal, whole, 0, 0);
    const int hot = pointer.HotRow();
    if (hot != kNoRow) {
        const std::u16string_view strip = pointer.Pressed() ? pictures.down : pictures.over;
        const PixelRect source{0, (hot - 1) * h, w, hot * h};
        if (canvas.LoadPicture(strip)) canvas.CopyPicture(strip, source, 0, source.top);
    }

    canvas.SelectFont(language);
    const int count = std::min<int>(static_cast<int>(texts.size()), rows.ShownRows());
    for (int row = 1; row <= count; ++row) {
        const std::u16string& text = texts[static_cast<std::size_t>(row - 1)];
        if (text.empty()) continue;
        const TextSize size = canvas.MeasureText(text);
        const std::int64_t x = (w - size.width) / 2;
        const std::int64_t y = (row - 1) * h + (h - size.height) / 2;
        canvas.WriteText(x, y, text, row == hot ? paint_colour::kRed : paint_colour::kWhite);
    }
}
