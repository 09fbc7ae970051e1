// Everything the main window's paint reads, gathered by the window into one value so the paint
// itself is a pure function of it (and of the skin tables), plus the pictures and colours it uses.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/active_config.h"
#include "core/language.h"
#include "core/macro_limits.h"
#include "skin/window_page.h"
#include "skin/mask_region.h"
#include "skin/skin_entry.h"


struct PaintState {
    WindowPage page = WindowPage::Main;
    LanguageMode language = LanguageMode::English;
    std::int32_t maskWidth = 0;  // size of the canvas and of the final copy
    std::int32_t maskHeight = 0;

    // Entries under the pointer (kNoEntry for none) and whether the left button is held.
    int mainHot = kNoEntry;
    int advancedHot = kNoEntry;
    int colourHot = kNoEntry;
    bool pressed = false;

    int curConfig = 1;  // slot 1..5
    std::u16string profileProgram;  // the program whose profile runs the slot; empty when none
    ActiveConfig config{};

    // Worker flags, as read at the start of the paint.
    bool driverActive = true;
    int startKeyIndex = 0;  // button 1..7 that starts host actions
    bool blinkPhase = false;
    bool previewOff = false;
    int previewColour = 0;

    // Macro editor.
    bool recording = false;
    int pressLines = 0;
    int releaseLines = 0;
    std::array<std::u16string, kMaxMacros> macroNames{};  // every slot, also past the count
    int selectedRepeatMode = 0;
};

struct PagePictures {
    std::u16string_view normal;  // the canvas
    std::u16string_view over;
    std::u16string_view down;
};

PagePictures PicturesOf(WindowPage page);

inline constexpr char16_t kSliderPicture[] = u"dpi_slider.jpg";
inline constexpr char16_t kPreviewUnlitPicture[] = u"color_normal_gray.jpg";
inline constexpr char16_t kPreviewBluePicture[] = u"color_over_blue.jpg";

namespace paint_colour {
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kBlack{0, 0, 0};
}  // namespace paint_colour
