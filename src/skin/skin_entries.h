// What each numbered entry of the skin's layouts is: the main page (with the frame that every page
// shows), the advanced and colour pages, the macro editor's rectangles and the warning dialog.
// Code addresses entries only through these names. Every name also carries the tag that the
// delivered description files write into field 0 of its entry, so a test holds the skin to them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "config/active_config.h"
#include "core/led_mode.h"
#include "skin/window_page.h"
#include "skin/skin_entry.h"

// Consecutive entries, both ends included.
struct EntryRange {
    int first = 0;
    int last = -1;

    constexpr bool Contains(int entry) const { return entry >= first && entry <= last; }
    // The place of entry in the range, 0 for the first.
    constexpr int Offset(int entry) const { return entry - first; }
};

// An entry's tag as the description files write it: the name, then the entry's numbers within
// its family, each after a hyphen ("close", "slot-1", "stage-step-2-4").
struct EntryTag {
    std::string_view name;
    int number = -1;  // -1: not a member of a numbered family
    int second = -1;  // the step of a DPI stage's step

    std::string Text() const {
        std::string text(name);
        for (int n : {number, second}) {
            if (n >= 0) text += "-" + std::to_string(n);
        }
        return text;
    }
};

// Entry number -> tag of one layout, built from the names below. An entry named twice (or a name
// outside the table) sets clash, which a static_assert refuses.
template <std::size_t N>
struct EntryTags {
    std::array<EntryTag, N> tags{};
    bool clash = false;

    constexpr void Name(int entry, EntryTag tag) {
        if (entry < 0 || static_cast<std::size_t>(entry) >= N || !tags[static_cast<std::size_t>(entry)].name.empty()) {
            clash = true;
            return;
        }
        tags[static_cast<std::size_t>(entry)] = tag;
    }
};

namespace MainEntry {

inline constexpr int kSlotCount = 5;

inline constexpr int kTitle = 0;
inline constexpr int kStatus = 1;  // its text is the program's status line, not the skin's
inline constexpr int kClose = 2;
inline constexpr int kApply = 3;
constexpr int Slot(int slot) { return 3 + slot; }  // configuration slot 1..5
inline constexpr EntryRange kSlots{Slot(1), Slot(kSlotCount)};
constexpr int SlotOf(int entry) { return kSlots.Offset(entry) + 1; }
constexpr int Tab(WindowPage page) { return 9 + static_cast<int>(page); }
inline constexpr EntryRange kTabs{Tab(WindowPage::Main), Tab(WindowPage::Colour)};
constexpr WindowPage PageOfTab(int entry) { return static_cast<WindowPage>(kTabs.Offset(entry)); }
inline constexpr int kMinimise = 12;
inline constexpr int kTray = 13;
inline constexpr int kImportConfig = 14;
inline constexpr int kExportConfig = 15;
inline constexpr int kFactoryReset = 16;
inline constexpr int kChinese = 17;
inline constexpr int kEnglish = 18;
inline constexpr int kSlotLabel = 19;
// Shown and hit-tested on every page, at these positions, with the current page's pictures.
inline constexpr EntryRange kFrame{kTitle, kSlotLabel};

inline constexpr int kButtonsHeading = 20;
inline constexpr int kDpiHeading = 21;
inline constexpr int kWheelLabel = 22;
constexpr int FunctionBox(int button) { return 24 + button; }  // button 1..7
inline constexpr EntryRange kFunctionBoxes{FunctionBox(1), FunctionBox(kButtonCount)};
constexpr int ButtonOfFunctionBox(int entry) { return kFunctionBoxes.Offset(entry) + 1; }
inline constexpr int kWheelNormal = 41;   // WHEEL_STATUS 0
inline constexpr int kWheelReverse = 42;  // WHEEL_STATUS 1
inline constexpr int kEnableHeading = 43;

// DPI stages 0..3, and steps 0..4 of a stage.
constexpr int StageEnable(int stage) { return 46 + stage; }
inline constexpr EntryRange kStageEnables{StageEnable(0), StageEnable(kDpiStageCount - 1)};
constexpr int StageLabel(int stage) { return 50 + stage; }
inline constexpr EntryRange kStageLabels{StageLabel(0), StageLabel(kDpiStageCount - 1)};
constexpr int StageSelect(int stage) { return 54 + stage; }
inline constexpr EntryRange kStageSelects{StageSelect(0), StageSelect(kDpiStageCount - 1)};
constexpr int StageStep(int stage, int step) { return 60 + kDpiStepCount * stage + step; }
inline constexpr EntryRange kStageSteps{StageStep(0, 0), StageStep(kDpiStageCount - 1, kDpiStepCount - 1)};
constexpr int StageOfStep(int entry) { return kStageSteps.Offset(entry) / kDpiStepCount; }
constexpr int StepOfStep(int entry) { return kStageSteps.Offset(entry) % kDpiStepCount; }
constexpr int StageCurrent(int stage) { return 80 + stage; }
constexpr int ButtonHighlight(int button) { return 89 + button; }  // button 1..7

// The main page hit-tests up to the first button highlight, which so answers the pointer too.
inline constexpr EntryRange kHitOnMainPage{kTitle, ButtonHighlight(1)};
// The entries whose texts the main page draws.
inline constexpr EntryRange kTextsOnMainPage{kTitle, StageLabel(kDpiStageCount - 1)};

constexpr EntryTags<kMainEntries> Tags() {
    EntryTags<kMainEntries> t;
    t.Name(kTitle, {"title"});
    t.Name(kStatus, {"status"});
    t.Name(kClose, {"close"});
    t.Name(kApply, {"apply"});
    for (int slot = 1; slot <= kSlotCount; ++slot) t.Name(Slot(slot), {"slot", slot});
    t.Name(Tab(WindowPage::Main), {"tab-main"});
    t.Name(Tab(WindowPage::Advanced), {"tab-advanced"});
    t.Name(Tab(WindowPage::Colour), {"tab-colour"});
    t.Name(kMinimise, {"minimise"});
    t.Name(kTray, {"tray"});
    t.Name(kImportConfig, {"import"});
    t.Name(kExportConfig, {"export"});
    t.Name(kFactoryReset, {"reset"});
    t.Name(kChinese, {"chinese"});
    t.Name(kEnglish, {"english"});
    t.Name(kSlotLabel, {"slot-label"});
    t.Name(kButtonsHeading, {"heading-buttons"});
    t.Name(kDpiHeading, {"heading-dpi"});
    t.Name(kWheelLabel, {"wheel-label"});
    for (int button = 1; button <= kButtonCount; ++button) {
        t.Name(FunctionBox(button), {"function-box", button});
        t.Name(ButtonHighlight(button), {"button-highlight", button});
    }
    t.Name(kWheelNormal, {"wheel-normal"});
    t.Name(kWheelReverse, {"wheel-reverse"});
    t.Name(kEnableHeading, {"heading-on"});
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        t.Name(StageEnable(stage), {"stage-enable", stage});
        t.Name(StageLabel(stage), {"stage-label", stage});
        t.Name(StageSelect(stage), {"stage-select", stage});
        t.Name(StageCurrent(stage), {"stage-current", stage});
        for (int step = 0; step < kDpiStepCount; ++step) t.Name(StageStep(stage, step), {"stage-step", stage, step});
    }
    return t;
}
static_assert(!Tags().clash, "two names of the main layout share an entry");

// ActiveConfig keeps the entry of each stage's selected step in ValueItem.
constexpr bool StageStepsAreValueItems() {
    for (int stage = 0; stage < kDpiStageCount; ++stage) {
        for (int step = 0; step < kDpiStepCount; ++step) {
            if (StageStep(stage, step) != ValueItemOf(stage, step)) return false;
        }
    }
    return true;
}
static_assert(StageStepsAreValueItems());

}  // namespace MainEntry

namespace AdvancedEntry {

inline constexpr int kSpeedCount = 10;  // steps of DPI_SPEED and of WHEEL_SPEED

inline constexpr int kImportMacros = 0;
inline constexpr int kExportMacros = 1;
inline constexpr int kAddMacro = 2;
inline constexpr int kDeleteMacro = 3;
inline constexpr int kRecord = 4;  // its text says record or stop, whatever the skin has
inline constexpr int kApplyRepeatCount = 5;
inline constexpr int kRepeatMode = 6;
inline constexpr int kMacroMode2 = 7;
constexpr int PointerSpeed(int speed) { return 8 + speed; }  // DPI_SPEED 0..9
inline constexpr EntryRange kPointerSpeeds{PointerSpeed(0), PointerSpeed(kSpeedCount - 1)};
constexpr int WheelSpeed(int speed) { return 18 + speed; }  // WHEEL_SPEED 0..9
inline constexpr EntryRange kWheelSpeeds{WheelSpeed(0), WheelSpeed(kSpeedCount - 1)};
inline constexpr int kPointerSpeedLabel = 28;
inline constexpr int kWheelSpeedLabel = 29;
inline constexpr int kFireBar = 30;
inline constexpr int kFireUp = 31;
inline constexpr int kFireDown = 32;
inline constexpr int kFireValue = 33;  // the program writes FIRE_TIME here
inline constexpr int kMacrosHeading = 34;
inline constexpr int kEventsHeading = 35;
inline constexpr int kNameLabel = 36;
inline constexpr int kRepeatLabel = 37;
inline constexpr int kPressCount = 38;    // the program writes the event list's press lines here
inline constexpr int kReleaseCount = 39;  // and its release lines here
inline constexpr int kMacroMode2Label = 40;
inline constexpr int kFireLabel = 41;
inline constexpr int kFireHint = 42;
inline constexpr int kMacroHint = 43;

inline constexpr EntryRange kHit{kImportMacros, kFireValue};

constexpr EntryTags<kAdvancedEntries> Tags() {
    EntryTags<kAdvancedEntries> t;
    t.Name(kImportMacros, {"macro-import"});
    t.Name(kExportMacros, {"macro-export"});
    t.Name(kAddMacro, {"macro-add"});
    t.Name(kDeleteMacro, {"macro-delete"});
    t.Name(kRecord, {"record"});
    t.Name(kApplyRepeatCount, {"repeat-apply"});
    t.Name(kRepeatMode, {"repeat-mode"});
    t.Name(kMacroMode2, {"hold-mode"});
    for (int speed = 0; speed < kSpeedCount; ++speed) {
        t.Name(PointerSpeed(speed), {"pointer-step", speed});
        t.Name(WheelSpeed(speed), {"wheel-step", speed});
    }
    t.Name(kPointerSpeedLabel, {"pointer-label"});
    t.Name(kWheelSpeedLabel, {"wheel-lines-label"});
    t.Name(kFireBar, {"fire-bar"});
    t.Name(kFireUp, {"fire-plus"});
    t.Name(kFireDown, {"fire-minus"});
    t.Name(kFireValue, {"fire-value"});
    t.Name(kMacrosHeading, {"heading-macros"});
    t.Name(kEventsHeading, {"heading-events"});
    t.Name(kNameLabel, {"name-label"});
    t.Name(kRepeatLabel, {"repeat-label"});
    t.Name(kPressCount, {"press-count"});
    t.Name(kReleaseCount, {"release-count"});
    t.Name(kMacroMode2Label, {"hold-label"});
    t.Name(kFireLabel, {"fire-label"});
    t.Name(kFireHint, {"fire-hint"});
    t.Name(kMacroHint, {"macro-hint"});
    return t;
}
static_assert(!Tags().clash, "two names of the advanced layout share an entry");

}  // namespace AdvancedEntry

namespace ColourEntry {

constexpr int LedModeButton(int mode) { return mode; }  // LED_STATUS 0..3
inline constexpr EntryRange kLedModes{LedModeButton(0), LedModeButton(kLedModeCount - 1)};
inline constexpr int kLedHeading = 4;
inline constexpr int kPreviewHeading = 5;
inline constexpr int kLedHint = 6;
inline constexpr int kCurrentDpi = 9;  // the program writes the current stage's DPI here
inline constexpr int kCurrentDpiLabel = 10;
inline constexpr int kPreview = 11;

inline constexpr EntryRange kHit{LedModeButton(0), kLedHeading};

constexpr EntryTags<kColourEntries> Tags() {
    EntryTags<kColourEntries> t;
    t.Name(LedModeButton(kLedSlow), {"led-cycle"});
    t.Name(LedModeButton(kLedFast), {"led-fast"});
    t.Name(LedModeButton(kLedSteady), {"led-steady"});
    t.Name(LedModeButton(kLedOff), {"led-off"});
    t.Name(kLedHeading, {"heading-led"});
    t.Name(kPreviewHeading, {"heading-preview"});
    t.Name(kLedHint, {"led-hint"});
    t.Name(kCurrentDpi, {"dpi-value"});
    t.Name(kCurrentDpiLabel, {"dpi-label"});
    t.Name(kPreview, {"preview"});
    return t;
}
static_assert(!Tags().clash, "two names of the colour layout share an entry");

}  // namespace ColourEntry

namespace WarningEntry {

inline constexpr int kConfirm = 0;
inline constexpr int kCancel = 1;
inline constexpr int kMessage = 2;

constexpr EntryTags<kWarningEntries> Tags() {
    EntryTags<kWarningEntries> t;
    t.Name(kConfirm, {"confirm"});
    t.Name(kCancel, {"cancel"});
    t.Name(kMessage, {"message"});
    return t;
}
static_assert(!Tags().clash, "two names of the warning layout share an entry");

}  // namespace WarningEntry

// Where the macro editor's controls go: keys of two other sections of the advanced description.
namespace EditorEntry {

struct Key {
    std::u16string_view section;
    int key;
    EntryTag tag;
};

inline constexpr char16_t kEditSection[] = u"EDIT";
inline constexpr char16_t kDisplaySection[] = u"MACRODISPLAY";

inline constexpr Key kRepeatCountBox{kEditSection, 3, {"repeat-count"}};
inline constexpr Key kNameBox{kEditSection, 4, {"macro-name"}};
inline constexpr Key kMacroList{kDisplaySection, 1, {"macro-list"}};
inline constexpr Key kEventList{kDisplaySection, 2, {"event-list"}};

inline constexpr std::array<Key, 4> kAll{kRepeatCountBox, kNameBox, kMacroList, kEventList};

}  // namespace EditorEntry
