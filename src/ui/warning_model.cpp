#include "ui/warning_model.h"

#include <algorithm>

#include "skin/paint_state.h"
#include "skin/skin_entries.h"

bool WarningModel::MouseMove(std::int64_t x, std::int64_t y) {
    // Entries are tested from the first, so the confirm control wins where they overlap.
    const int entry = warning_.HitTest(x, y, WarningEntry::kCancel);
    const int hot = entry == WarningEntry::kConfirm ? kWarningConfirm
                    : entry == WarningEntry::kCancel ? kWarningCancel
                                                     : kWarningNone;
    if (hot == hot_) return false;
    hot_ = hot;
    return true;
}

std::optional<int> WarningModel::Release() const {
    if (hot_ == kWarningConfirm || hot_ == kWarningCancel) return hot_;
    return std::nullopt;
}

WarningSize WarningFallbackSize(const SkinPage& warning) {
    std::int64_t right = 0, bottom = 0;
    for (int entry : {WarningEntry::kConfirm, WarningEntry::kCancel, WarningEntry::kMessage}) {
        const PixelRect rect = warning.At(entry).Rect();
        if (rect.Empty()) continue;
        right = std::max(right, rect.right);
        bottom = std::max(bottom, rect.bottom);
    }
    // A layout read from a hand-edited file must not ask for an absurd window.
    constexpr std::int64_t kLargest = 4096;
    return {static_cast<std::int32_t>(std::min(right, kLargest)), static_cast<std::int32_t>(std::min(bottom, kLargest))};
}

void PaintWarning(CanvasPort& canvas, const SkinPage& warning, int hot, WarningSize size, LanguageMode language) {
    const PixelRect whole{0, 0, size.width, size.height};
    canvas.Fill(whole, paint_colour::kBlack);
    if (canvas.LoadPicture(kWarningNormalPicture)) canvas.CopyPicture(kWarningNormalPicture, whole, 0, 0);
    const int hotEntry = hot == kWarningConfirm  ? WarningEntry::kConfirm
                         : hot == kWarningCancel ? WarningEntry::kCancel
                                                 : -1;
    const PixelRect hotRect = warning.At(hotEntry).Rect();
    if (!hotRect.Empty() && canvas.LoadPicture(kWarningOverPicture)) {
        canvas.CopyPicture(kWarningOverPicture, hotRect, hotRect.left, hotRect.top);
    }

    canvas.SelectFont(language);
    for (int entry : {WarningEntry::kConfirm, WarningEntry::kCancel, WarningEntry::kMessage}) {
        const SkinEntry& e = warning.At(entry);
        if (e.text.empty()) continue;
        const TextSize text = canvas.MeasureText(e.text);
        canvas.WriteText(e.x + (std::int64_t{e.width} - text.width) / 2, e.y + (std::int64_t{e.height} - text.height) / 2,
                         e.text, paint_colour::kRed);
    }
}
