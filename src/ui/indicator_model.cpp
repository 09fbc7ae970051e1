#include "ui/indicator_model.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "config/active_config.h"
#include "core/app_paths.h"
#include "core/led_mode.h"
#include "platform/text.h"

namespace {
constexpr std::u16string_view kProgramSeparator = u" · ";

struct IndicatorWords {
    std::u16string_view slot;
    std::u16string_view dpiStage;
    std::array<std::u16string_view, kLedModeCount> led;  // indexed by LedMode
};

constexpr IndicatorWords kEnglish{u"Slot ", u"DPI stage ",
                                  {u"LED: slow blink", u"LED: fast blink", u"LED: steady", u"LED: off"}};
constexpr IndicatorWords kChinese{u"配置 ", u"DPI 档位 ", {u"灯光：慢闪", u"灯光：快闪", u"灯光：常亮", u"灯光：关闭"}};

const IndicatorWords& WordsOf(LanguageMode language) {
    return language == LanguageMode::English ? kEnglish : kChinese;
}

std::u16string SlotLine(const IndicatorState& state, const IndicatorWords& words) {
    std::u16string line;
    if (state.slot >= 1 && state.slot <= kUserSlotCount) line = std::u16string(words.slot) + DecimalText(state.slot);
    if (!state.program.empty()) {
        if (!line.empty()) line += kProgramSeparator;
        line += state.program;
    }
    return line;
}

std::u16string DpiLine(const IndicatorState& state, const IndicatorWords& words) {
    if (state.dpiStage < 0 || state.dpiStage >= kDpiStageCount) return {};
    // Users count stages from 1, as the main window's stage buttons do.
    return std::u16string(words.dpiStage) + DecimalText(state.dpiStage + 1);
}

std::u16string LedLine(const IndicatorState& state, const IndicatorWords& words) {
    if (state.ledMode >= words.led.size()) return {};
    return std::u16string(words.led[state.ledMode]);
}

void AddLine(std::u16string& text, const std::u16string& line) {
    if (line.empty()) return;
    if (!text.empty()) text += u'\n';
    text += line;
}
}  // namespace

std::u16string IndicatorText(const IndicatorState& before, const IndicatorState& after, LanguageMode language) {
    const IndicatorWords& words = WordsOf(language);
    std::u16string text;
    if (before.slot != after.slot || before.program != after.program) AddLine(text, SlotLine(after, words));
    if (before.dpiStage != after.dpiStage) AddLine(text, DpiLine(after, words));
    if (before.ledMode != after.ledMode) AddLine(text, LedLine(after, words));
    return text;
}

IndicatorState ShownStateOf(const ProgramState& program) {
    const std::uint8_t led = program.applied.ledToggle == kLedOff ? std::uint8_t{kLedOff} : program.applied.led;
    return {program.CurConfig, program.config.BoundedDpiLevel(), led, program.profile ? program.profile->program : u""};
}

std::u16string TrayTipText(const ProgramState& program) {
    const LanguageMode language = program.language.load();
    const IndicatorWords& words = WordsOf(language);
    const IndicatorState state = ShownStateOf(program);
    std::u16string tip = WindowTitle(language);
    tip += std::u16string(kProgramSeparator) + std::u16string(words.slot) + DecimalText(state.slot);
    tip += std::u16string(kProgramSeparator) + std::u16string(words.dpiStage) + DecimalText(state.dpiStage + 1);
    if (!state.program.empty()) tip += std::u16string(kProgramSeparator) + state.program;
    return tip;
}

bool IndicatorWanted(bool indicatorOn, bool mainWindowVisible, bool mainWindowInFront) {
    return indicatorOn && (!mainWindowVisible || !mainWindowInFront);
}

PixelRect IndicatorPlacement(const PixelRect& workArea, IndicatorSize size) {
    const std::int64_t areaWidth = std::max<std::int64_t>(workArea.Width(), 0);
    const std::int64_t areaHeight = std::max<std::int64_t>(workArea.Height(), 0);
    const std::int64_t width = std::clamp<std::int64_t>(size.width, 0, areaWidth);
    const std::int64_t height = std::clamp<std::int64_t>(size.height, 0, areaHeight);
    const std::int64_t left = workArea.left + (areaWidth - width) / 2;
    // A work area too low for the margin puts the indicator at its top rather than outside it.
    const std::int64_t top = std::max(workArea.top, workArea.top + areaHeight - kIndicatorBottomMargin - height);
    return PixelRect{left, top, left + width, top + height};
}
