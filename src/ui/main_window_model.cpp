#include "ui/main_window_model.h"

#include <algorithm>
#include <cstdlib>

#include "skin/skin_entries.h"

namespace {

UiAction Command(UiCommand command) { return {.command = command}; }

}  // namespace

bool MainWindowModel::MouseMove(std::int64_t x, std::int64_t y, WindowPage page) {
    const EntryRange& mainHit = page == WindowPage::Main ? MainEntry::kHitOnMainPage : MainEntry::kFrame;
    mainHot_ = skin_.main.HitTest(x, y, mainHit.last);
    colourHot_ = skin_.colour.HitTest(x, y, ColourEntry::kHit.last);
    advancedHot_ = skin_.advanced.HitTest(x, y, AdvancedEntry::kHit.last);

    // All three layouts are tested on every page, but a page paints only the frame's hot entry
    // and its own; a change elsewhere would repaint the same picture.
    const bool mainChanged = mainHot_ != previousMain_;
    const bool colourChanged = colourHot_ != previousColour_;
    const bool advancedChanged = advancedHot_ != previousAdvanced_;
    previousMain_ = mainHot_;
    previousColour_ = colourHot_;
    previousAdvanced_ = advancedHot_;
    switch (page) {
        case WindowPage::Advanced: return mainChanged || advancedChanged;
        case WindowPage::Colour: return mainChanged || colourChanged;
        case WindowPage::Main: break;
    }
    return mainChanged;
}

MainWindowModel::PressResult MainWindowModel::Press(std::int64_t x, std::int64_t y, WindowPage page) {
    PressResult result;
    if (mainHot_ != kNoEntry || colourHot_ != kNoEntry || advancedHot_ != kNoEntry) {
        pressed_ = true;
        result.repaint = true;
    }
    const bool onStep = page == WindowPage::Main && MainEntry::kStageSteps.Contains(mainHot_);
    draggedStage_ = onStep ? MainEntry::StageOfStep(mainHot_) : -1;
    draggedStep_ = onStep ? MainEntry::StepOfStep(mainHot_) : -1;
    // The tab of another page acts on every page; the current page's tab does nothing.
    if (MainEntry::kTabs.Contains(mainHot_) && MainEntry::PageOfTab(mainHot_) != page) {
        result.action = {.command = UiCommand::ShowPage, .page = MainEntry::PageOfTab(mainHot_)};
        return result;
    }
    switch (page) {
        case WindowPage::Main: result.action = PressOnMain(x, y); break;
        case WindowPage::Advanced: result.action = PressOnAdvanced(x, y); break;
        case WindowPage::Colour: result.action = PressOnColour(x, y); break;
    }
    return result;
}

UiAction MainWindowModel::PressOnMain(std::int64_t x, std::int64_t y) const {
    using namespace MainEntry;
    const int item = mainHot_;
    if (kFunctionBoxes.Contains(item)) {
        return {.command = UiCommand::OpenFunctionPopup, .button = ButtonOfFunctionBox(item)};
    }
    if (item == kWheelNormal) return {.command = UiCommand::SetWheel, .wheel = 0};
    if (item == kWheelReverse) return {.command = UiCommand::SetWheel, .wheel = 1};
    if (kStageEnables.Contains(item)) return {.command = UiCommand::ToggleStage, .stage = kStageEnables.Offset(item)};
    if (kStageSelects.Contains(item)) return {.command = UiCommand::SelectStage, .stage = kStageSelects.Offset(item)};
    if (kStageSteps.Contains(item)) {
        return {.command = UiCommand::SetStageStep, .stage = StageOfStep(item), .step = StepOfStep(item)};
    }
    if (item == kNoEntry) return {.command = UiCommand::MoveWindow, .x = x, .y = y};
    return {};
}

UiAction MainWindowModel::PressOnAdvanced(std::int64_t x, std::int64_t y) const {
    using namespace AdvancedEntry;
    const int item = advancedHot_;
    switch (item) {
        case kImportMacros: return Command(UiCommand::ImportMacros);
        case kExportMacros: return Command(UiCommand::ExportMacros);
        case kAddMacro: return Command(UiCommand::AddMacro);
        case kDeleteMacro: return Command(UiCommand::DeleteMacro);
        case kRecord: return Command(UiCommand::ToggleRecording);
        case kApplyRepeatCount: return Command(UiCommand::ApplyRepeatCount);
        case kRepeatMode: return Command(UiCommand::ToggleRepeatMode);
        case kMacroMode2: return Command(UiCommand::ToggleMacroMode2);
        case kFireBar: {
            // 0..299 inside the bar; a press that lands beside it (the pointer moved after the
            // hit test) still gives a value of the bar's range.
            const SkinEntry& bar = skin_.advanced.At(kFireBar);
            if (bar.width <= 0) return {};
            const std::int64_t value = (x - bar.x) * kFireTimeMax / bar.width;
            return {.command = UiCommand::SetFireTime,
                    .fireTime = static_cast<int>(std::clamp<std::int64_t>(value, 0, kFireTimeMax))};
        }
        case kFireUp: return Command(UiCommand::FireTimeUp);
        case kFireDown: return Command(UiCommand::FireTimeDown);
        default: break;
    }
    if (kPointerSpeeds.Contains(item)) {
        return {.command = UiCommand::SetPointerSpeed, .speed = kPointerSpeeds.Offset(item)};
    }
    if (kWheelSpeeds.Contains(item)) {
        return {.command = UiCommand::SetWheelSpeed, .speed = kWheelSpeeds.Offset(item)};
    }
    if (item == kNoEntry && mainHot_ == kNoEntry) return {.command = UiCommand::MoveWindow, .x = x, .y = y};
    return {};
}

UiAction MainWindowModel::PressOnColour(std::int64_t x, std::int64_t y) const {
    using namespace ColourEntry;
    if (kLedModes.Contains(colourHot_)) {
        return {.command = UiCommand::SetLedMode, .ledMode = kLedModes.Offset(colourHot_)};
    }
    if (colourHot_ == kNoEntry && mainHot_ == kNoEntry) return {.command = UiCommand::MoveWindow, .x = x, .y = y};
    return {};
}

std::optional<UiAction> MainWindowModel::DragStep(std::int64_t x) {
    if (!pressed_ || draggedStage_ < 0) return std::nullopt;
    int nearest = -1;
    std::int64_t nearestDistance = 0;
    for (int step = 0; step < kDpiStepCount; ++step) {
        const SkinEntry& tick = skin_.main.At(MainEntry::StageStep(draggedStage_, step));
        if (tick.width <= 0) continue;  // a layout without that tick
        const std::int64_t distance = std::abs(x - (std::int64_t{tick.x} + tick.width / 2));
        if (nearest < 0 || distance < nearestDistance) {
            nearest = step;
            nearestDistance = distance;
        }
    }
    if (nearest < 0 || nearest == draggedStep_) return std::nullopt;
    draggedStep_ = nearest;
    return UiAction{.command = UiCommand::SetStageStep, .stage = draggedStage_, .step = nearest};
}

UiAction MainWindowModel::Release() {
    using namespace MainEntry;
    pressed_ = false;
    draggedStage_ = -1;
    const int item = mainHot_;
    switch (item) {
        case kClose: mainHot_ = kNoEntry; return Command(UiCommand::CloseToTray);
        case kApply: return Command(UiCommand::Apply);
        case kMinimise: mainHot_ = kNoEntry; return Command(UiCommand::Minimise);
        case kTray: mainHot_ = kNoEntry; return Command(UiCommand::HideToTray);
        case kImportConfig: return Command(UiCommand::ImportConfig);
        case kExportConfig: return Command(UiCommand::ExportConfig);
        case kFactoryReset: return Command(UiCommand::FactoryReset);
        case kChinese: return Command(UiCommand::SwitchToChinese);
        case kEnglish: return Command(UiCommand::SwitchToEnglish);
        case kSlotLabel: return Command(UiCommand::DefaultHandling);
        default: break;
    }
    if (kSlots.Contains(item)) return {.command = UiCommand::LoadSlot, .slot = SlotOf(item)};
    return {};
}
