#include "skin/paint_main_window.h"

#include <algorithm>
#include <optional>

#include "config/function_catalogue.h"
#include "core/user_texts.h"
#include "platform/text.h"
#include "skin/skin_entries.h"

PagePictures PicturesOf(WindowPage page) {
    switch (page) {
        case WindowPage::Advanced: return {u"advanced_normal.jpg", u"advanced_over.jpg", u"advanced_down.jpg"};
        case WindowPage::Colour: return {u"color_normal_pink.jpg", u"color_over_red.jpg", u"color_down_purple.jpg"};
        case WindowPage::Main: break;
    }
    return {u"main_normal.jpg", u"main_over.jpg", u"main_down.jpg"};
}

std::u16string StatusLineText(const PaintState& state) {
    const std::u16string key = state.blinkPhase ? DecimalText(state.startKeyIndex) : u" ";
    const bool english = state.language == LanguageMode::English;
    if (state.driverActive && !state.profileProgram.empty()) {
        // Why the slot runs that the user did not choose.
        return (english ? u"Slot " : u"配置 ") + DecimalText(state.curConfig) + (english ? u" runs for " : u" 用于 ") +
               state.profileProgram;
    }
    if (english) {
        return state.driverActive ? u"OK,driver is working..." : u"Configuration done,click key [" + key + u"] to start driver";
    }
    return state.driverActive ? u"驱动运行中..." : u"配置完成，请点击鼠标第[" + key + u"]键运行驱动";
}

std::u16string FunctionBoxText(const SkinSet& skin, const PaintState& state, std::int64_t code) {
    const FunctionEntry& function = FunctionOf(code);
    switch (function.label) {
        case FunctionLabel::Name: return FunctionName(skin.functionNames, code);
        case FunctionLabel::MacroName: return state.macroNames[static_cast<std::size_t>(function.macro)];
        case FunctionLabel::None: break;
    }
    return {};
}

std::u16string CurrentDpiText(const ActiveConfig& config) {
    switch (config.AppliedStageValues[static_cast<std::size_t>(config.BoundedDpiLevel())]) {
        case 0: return u"3200";
        case 2: return u"1600";
        case 3: return u"2000";
        case 4: return u"2400";
        default: return u"1200";
    }
}

namespace {

using paint_colour::kBlack;

// One paint: the canvas, the page's pictures and which of them could be loaded.
class Composer {
public:
    Composer(CanvasPort& canvas, const SkinSet& skin, const PaintState& state)
        : canvas_(canvas), skin_(skin), state_(state), pictures_(PicturesOf(state.page)) {}

    void Run() {
        const PixelRect whole{0, 0, state_.maskWidth, state_.maskHeight};
        // A missing normal picture leaves a blank page rather than whatever the buffer held.
        canvas_.Fill(whole, kBlack);
        if (canvas_.LoadPicture(pictures_.normal)) canvas_.CopyPicture(pictures_.normal, whole, 0, 0);

        PageIndicators();
        FrameEntries();
        Texts();
    }

private:
    enum class From { Over, Down };

    void Copy(std::u16string_view picture, const SkinEntry& entry) {
        const PixelRect rect = entry.Rect();
        if (!rect.Empty()) canvas_.CopyPicture(picture, rect, rect.left, rect.top);
    }
    // A picture is loaded when the paint first copies from it: the first paint of a program
    // start, with nothing under the pointer, never needs the hover picture.
    void Copy(From from, const SkinEntry& entry) {
        const std::u16string_view picture = from == From::Over ? pictures_.over : pictures_.down;
        std::optional<bool>& loaded = from == From::Over ? haveOver_ : haveDown_;
        if (!loaded) loaded = canvas_.LoadPicture(picture);
        if (*loaded) Copy(picture, entry);
    }
    void CopyHot(const SkinPage& table, int hot) {
        if (hot != kNoEntry) Copy(state_.pressed ? From::Down : From::Over, table.At(hot));
    }

    const SkinPage& PageTable() const {
        switch (state_.page) {
            case WindowPage::Advanced: return skin_.advanced;
            case WindowPage::Colour: return skin_.colour;
            case WindowPage::Main: break;
        }
        return skin_.main;
    }

    void PageIndicators() {
        switch (state_.page) {
            case WindowPage::Main: MainIndicators(); break;
            case WindowPage::Advanced: AdvancedIndicators(); break;
            case WindowPage::Colour: ColourIndicators(); break;
        }
    }

    void MainIndicators() {
        const ActiveConfig& config = state_.config;
        const SkinPage& main = skin_.main;
        CopyHot(main, state_.mainHot);
        Copy(From::Down, main.At(MainEntry::StageCurrent(config.BoundedDpiLevel())));

        const bool haveSlider = canvas_.LoadPicture(kSliderPicture);
        for (int stage = 0; stage < kDpiStageCount; ++stage) {
            // A ValueItem that does not belong to its stage (a hand-edited file) falls back to the
            // stage's bounded value, so no knob lands on another stage's slider.
            std::int32_t item = config.ValueItem[static_cast<std::size_t>(stage)];
            if (item < MainEntry::StageStep(stage, 0) || item > MainEntry::StageStep(stage, kDpiStepCount - 1)) {
                item = MainEntry::StageStep(stage, config.BoundedStageValue(stage));
            }
            const SkinEntry& knob = main.At(item);
            if (haveSlider && knob.width > 0 && knob.height > 0) {
                canvas_.CopyPicture(kSliderPicture, {0, 0, knob.width, knob.height}, knob.x, knob.y);
            }
            if (config.DPI_SET_EN[static_cast<std::size_t>(stage)] == 1) {
                Copy(From::Down, main.At(MainEntry::StageEnable(stage)));
            }
        }

        Copy(From::Down, main.At(config.WHEEL_STATUS == 0 ? MainEntry::kWheelNormal : MainEntry::kWheelReverse));

        if (MainEntry::kFunctionBoxes.Contains(state_.mainHot)) {
            Copy(From::Over, main.At(MainEntry::ButtonHighlight(MainEntry::ButtonOfFunctionBox(state_.mainHot))));
        } else if (!state_.driverActive && state_.startKeyIndex >= 1 && state_.startKeyIndex <= kButtonCount) {
            Copy(state_.blinkPhase ? From::Over : From::Down, main.At(MainEntry::ButtonHighlight(state_.startKeyIndex)));
        }
    }

    void AdvancedIndicators() {
        const ActiveConfig& config = state_.config;
        const SkinPage& advanced = skin_.advanced;
        CopyHot(advanced, state_.advancedHot);
        if (state_.recording) Copy(From::Down, advanced.At(AdvancedEntry::kRecord));
        if (config.DPI_SPEED < AdvancedEntry::kSpeedCount) {
            Copy(From::Down, advanced.At(AdvancedEntry::PointerSpeed(config.DPI_SPEED)));
        }
        if (config.WHEEL_SPEED < AdvancedEntry::kSpeedCount) {
            Copy(From::Down, advanced.At(AdvancedEntry::WheelSpeed(config.WHEEL_SPEED)));
        }

        // The bar fills from the left in proportion to 0..300 ms; a value outside that range
        // would spill over the neighbouring entries, so it is bounded here.
        SkinEntry bar = advanced.At(AdvancedEntry::kFireBar);
        const std::int64_t fire = std::clamp<std::int64_t>(config.FIRE_TIME, 0, kFireTimeMax);
        bar.width = static_cast<std::int32_t>(fire * std::max<std::int32_t>(bar.width, 0) / kFireTimeMax);
        Copy(From::Down, bar);

        if (config.MACRO_MODE2 != 0) Copy(From::Down, advanced.At(AdvancedEntry::kMacroMode2));
        if (state_.selectedRepeatMode == 1) Copy(From::Down, advanced.At(AdvancedEntry::kRepeatMode));
    }

    void ColourIndicators() {
        const SkinPage& colour = skin_.colour;
        CopyHot(colour, state_.colourHot);
        Copy(From::Down, colour.At(ColourEntry::LedModeButton(state_.config.BoundedLedStatus())));

        const SkinEntry& preview = colour.At(ColourEntry::kPreview);
        if (state_.previewOff) {
            if (canvas_.LoadPicture(kPreviewUnlitPicture)) Copy(kPreviewUnlitPicture, preview);
            return;
        }
        switch (state_.previewColour) {
            case 0:
                if (canvas_.LoadPicture(kPreviewBluePicture)) Copy(kPreviewBluePicture, preview);
                break;
            case 2: Copy(From::Over, preview); break;
            case 3: Copy(From::Down, preview); break;
            default: break;  // 1 keeps the normal picture's colour
        }
    }

    void FrameEntries() {
        const int tab = MainEntry::Tab(state_.page);
        const int language = state_.language == LanguageMode::Chinese ? MainEntry::kChinese : MainEntry::kEnglish;
        const bool slotValid = state_.curConfig >= 1 && state_.curConfig <= MainEntry::kSlotCount;
        for (int i = MainEntry::kFrame.first; i <= MainEntry::kFrame.last; ++i) {
            const SkinEntry& entry = skin_.main.At(i);
            if (slotValid && i == MainEntry::Slot(state_.curConfig)) {
                Copy(From::Down, entry);
            } else if (i == state_.mainHot) {
                Copy(state_.pressed ? From::Down : From::Over, entry);
            } else if (i == tab || i == language) {
                Copy(From::Down, entry);
            }
        }
    }

    void DrawCentred(const SkinEntry& entry, std::u16string_view text, Rgb colour) {
        if (text.empty()) return;
        const TextSize size = canvas_.MeasureText(text);
        const std::int64_t x = entry.x + (std::int64_t{entry.width} - size.width) / 2;
        const std::int64_t y = entry.y + (std::int64_t{entry.height} - size.height) / 2;
        canvas_.WriteText(x, y, text, colour);
    }

    void DrawFrameText(int i, const std::u16string& status) {
        const SkinEntry& entry = skin_.main.At(i);
        if (i == MainEntry::kStatus) {
            DrawCentred(entry, status, paint_colour::kYellow);
        } else {
            DrawCentred(entry, entry.text, paint_colour::kWhite);
        }
    }

    void Texts() {
        const std::u16string status = StatusLineText(state_);
        canvas_.SelectFont(state_.language);
        switch (state_.page) {
            case WindowPage::Main: MainTexts(status); break;
            case WindowPage::Advanced: AdvancedTexts(status); break;
            case WindowPage::Colour: ColourTexts(status); break;
        }
    }

    void MainTexts(const std::u16string& status) {
        for (int i = MainEntry::kTextsOnMainPage.first; i <= MainEntry::kTextsOnMainPage.last; ++i) {
            const SkinEntry& entry = skin_.main.At(i);
            if (MainEntry::kFunctionBoxes.Contains(i)) {
                const int button = MainEntry::ButtonOfFunctionBox(i);
                const std::u16string name =
                    FunctionBoxText(skin_, state_, state_.config.K[static_cast<std::size_t>(button - 1)]);
                if (name.empty()) continue;
                const TextSize size = canvas_.MeasureText(name);
                const std::int64_t y = entry.y + (std::int64_t{entry.height} - size.height) / 2;
                canvas_.WriteText(std::int64_t{entry.x} + 5, y, name,
                                  i == state_.mainHot ? paint_colour::kGreen : paint_colour::kWhite);
            } else if (MainEntry::kStageLabels.Contains(i)) {
                const bool enabled =
                    state_.config.DPI_SET_EN[static_cast<std::size_t>(MainEntry::kStageLabels.Offset(i))] == 1;
                DrawCentred(entry, entry.text, enabled ? paint_colour::kRed : paint_colour::kGrey);
            } else {
                DrawFrameText(i, status);
            }
        }
    }

    void AdvancedTexts(const std::u16string& status) {
        for (int i = MainEntry::kFrame.first; i <= MainEntry::kFrame.last; ++i) DrawFrameText(i, status);
        const bool english = state_.language == LanguageMode::English;
        for (int j = 0; j < static_cast<int>(kAdvancedEntries); ++j) {
            const SkinEntry& entry = skin_.advanced.At(j);
            std::u16string text = entry.text;
            switch (j) {
                case AdvancedEntry::kRecord:
                    text = state_.recording ? (english ? u"Stop" : u"停止") : (english ? u"Record" : u"录制");
                    break;
                case AdvancedEntry::kFireValue: text = DecimalText(state_.config.FIRE_TIME) + u"ms"; break;
                case AdvancedEntry::kPressCount: text = kPressMark + DecimalText(state_.pressLines); break;
                case AdvancedEntry::kReleaseCount: text = kReleaseMark + DecimalText(state_.releaseLines); break;
                default: break;
            }
            DrawCentred(entry, text, j == state_.advancedHot ? paint_colour::kRed : paint_colour::kWhite);
        }
    }

    void ColourTexts(const std::u16string& status) {
        for (int i = MainEntry::kFrame.first; i <= MainEntry::kFrame.last; ++i) DrawFrameText(i, status);
        for (int j = 0; j < static_cast<int>(kColourEntries); ++j) {
            const SkinEntry& entry = skin_.colour.At(j);
            DrawCentred(entry, j == ColourEntry::kCurrentDpi ? CurrentDpiText(state_.config) : entry.text,
                        paint_colour::kWhite);
        }
    }

    CanvasPort& canvas_;
    const SkinSet& skin_;
    const PaintState& state_;
    PagePictures pictures_;
    std::optional<bool> haveOver_;  // not tried yet while empty
    std::optional<bool> haveDown_;
};

}  // namespace

void PaintMainWindow(CanvasPort& canvas, const SkinSet& skin, const PaintState& state) {
    Composer(canvas, skin, state).Run();
}
