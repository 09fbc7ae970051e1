#include "ui/main_window_model.h"

#include <algorithm>

bool MainWindowModel::MouseMove(std::int64_t x, std::int64_t y, WindowPage page) {
    mainHot_ = skin_.main.HitTest(x, y, page == WindowPage::Main ? kLastMainItemOnMainPage : kLastFrameItem);
    colourHot_ = skin_.colour.HitTest(x, y, kLastColourItem);
    advancedHot_ = skin_.advanced.HitTest(x, y, kLastAdvancedItem);

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

MainWindowModel::PressResult MainWindowModel::Press(std::int64_t x, WindowPage page) {
    PressResult result;
    if (mainHot_ != kNoEntry || colourHot_ != kNoEntry || advancedHot_ != kNoEntry) {
        pressed_ = true;
        result.repaint = true;
    }
    switch (page) {
        case WindowPage::Main: result.action = PressOnMain(); break;
        case WindowPage::Advanced: result.action = PressOnAdvanced(x); break;
        case WindowPage::Colour: result.action = PressOnColour(); break;
    }
    return result;
}

UiAction MainWindowModel::PressOnMain() const {
    const int item = mainHot_;
    if (item == 10) return {UiCommand::ShowPage, 1};
    if (item == 11) return {UiCommand::ShowPage, 2};
    if (item >= 25 && item <= 31) return {UiCommand::OpenFunctionPopup, item};
    if (item == 41 || item == 42) return {UiCommand::SetWheel, item - 41};
    if (item >= 46 && item <= 49) return {UiCommand::ToggleStage, item - 46};
    if (item >= 54 && item <= 57) return {UiCommand::SelectStage, item - 54};
    if (item >= 60 && item <= 79) return {UiCommand::SetStageStep, item};
    if (item == kNoEntry) return {UiCommand::MoveWindow, 0};
    return {};
}

UiAction MainWindowModel::PressOnAdvanced(std::int64_t x) const {
    if (mainHot_ == 9) return {UiCommand::ShowPage, 0};
    if (mainHot_ == 11) return {UiCommand::ShowPage, 2};
    const int item = advancedHot_;
    switch (item) {
        case 0: return {UiCommand::ImportMacros, 0};
        case 1: return {UiCommand::ExportMacros, 0};
        case 2: return {UiCommand::AddMacro, 0};
        case 3: return {UiCommand::DeleteMacro, 0};
        case 4: return {UiCommand::ToggleRecording, 0};
        case 5: return {UiCommand::ApplyRepeatCount, 0};
        case 6: return {UiCommand::ToggleRepeatMode, 0};
        case 7: return {UiCommand::ToggleMacroMode2, 0};
        case 30: {
            // 0..299 inside the bar; a press that lands beside it (the pointer moved after the
            // hit test) still gives a value of the bar's range.
            const SkinEntry& bar = skin_.advanced.At(30);
            if (bar.width <= 0) return {};
            const std::int64_t value = (x - bar.x) * kFireTimeMax / bar.width;
            return {UiCommand::SetFireTime, static_cast<int>(std::clamp<std::int64_t>(value, 0, kFireTimeMax))};
        }
        case 31: return {UiCommand::FireTimeUp, 0};
        case 32: return {UiCommand::FireTimeDown, 0};
        default: break;
    }
    if (item >= 8 && item <= 17) return {UiCommand::SetPointerSpeed, item - 8};
    if (item >= 18 && item <= 27) return {UiCommand::SetWheelSpeed, item - 18};
    if (item == kNoEntry && mainHot_ == kNoEntry) return {UiCommand::MoveWindow, 0};
    return {};
}

UiAction MainWindowModel::PressOnColour() const {
    if (mainHot_ == 9) return {UiCommand::ShowPage, 0};
    if (mainHot_ == 10) return {UiCommand::ShowPage, 1};
    if (colourHot_ >= 0 && colourHot_ <= 3) return {UiCommand::SetLedMode, colourHot_};
    if (colourHot_ == kNoEntry && mainHot_ == kNoEntry) return {UiCommand::MoveWindow, 0};
    return {};
}

UiAction MainWindowModel::Release() {
    pressed_ = false;
    const int item = mainHot_;
    switch (item) {
        case 2: mainHot_ = kNoEntry; return {UiCommand::CloseToTray, 0};
        case 3: return {UiCommand::Apply, 0};
        case 12: mainHot_ = kNoEntry; return {UiCommand::Minimise, 0};
        case 13: mainHot_ = kNoEntry; return {UiCommand::HideToTray, 0};
        case 14: return {UiCommand::ImportConfig, 0};
        case 15: return {UiCommand::ExportConfig, 0};
        case 16: return {UiCommand::FactoryReset, 0};
        case 17: return {UiCommand::SwitchToChinese, 0};
        case 18: return {UiCommand::SwitchToEnglish, 0};
        case 19: return {UiCommand::DefaultHandling, 0};
        default: break;
    }
    if (item >= 4 && item <= 8) return {UiCommand::LoadSlot, item - 3};
    return {};
}
