// The warning dialog without Windows: which of its two controls the pointer is over, what a
// release answers, the size it takes when its mask is unreadable, and its paint composition.
#pragma once

#include <cstdint>
#include <optional>

#include "core/language.h"
#include "skin/canvas_port.h"
#include "skin/skin_entry.h"

// The dialog's answers, which are also its hot values.
inline constexpr int kWarningConfirm = 1;
inline constexpr int kWarningCancel = 2;
inline constexpr int kWarningNone = 255;

class WarningModel {
public:
    // warning: the warning layout of the current language.
    explicit WarningModel(const SkinPage& warning) : warning_(warning) {}

    // kWarningConfirm over the confirm control (which wins where the two overlap),
    // kWarningCancel over the cancel control, kWarningNone elsewhere.
    int Hot() const { return hot_; }
    // True when the hot control changed, so the dialog repaints.
    bool MouseMove(std::int64_t x, std::int64_t y);
    // The answer a release gives: the hot control's; nothing outside both.
    std::optional<int> Release() const;

private:
    const SkinPage& warning_;
    int hot_ = kWarningNone;
};

// A size for the dialog when its mask cannot be read: just enough to hold every entry.
struct WarningSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
WarningSize WarningFallbackSize(const SkinPage& warning);

// One paint on a canvas of width x height: the normal picture, the hot control from the over
// picture, and the three texts centred in their entries, in red.
void PaintWarning(CanvasPort& canvas, const SkinPage& warning, int hot, WarningSize size, LanguageMode language);

inline constexpr char16_t kWarningNormalPicture[] = u"warning_normal.jpg";
inline constexpr char16_t kWarningOverPicture[] = u"warning_over.jpg";
