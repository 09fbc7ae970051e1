// The one in-memory mouse configuration that the window shows and edits, with its factory
// values. Fields carry the names of their config.ini keys. A load brings every value into its
// range; users of a field as a table index still bound it (see the Bounded* helpers), so that
// no edit can ever index past a table.
#pragma once

#include <array>
#include <cstdint>

constexpr int kButtonCount = 7;
constexpr int kDpiStageCount = 4;
constexpr int kDpiStepCount = 5;  // DPI steps the mouse offers for each stage
constexpr int kFireTimeMax = 300;
constexpr int kSpeedMax = 9;  // DPI_SPEED and WHEEL_SPEED
constexpr int kUserSlotCount = 5;  // Config1..Config5
constexpr std::int32_t kLeftClickCode = 1;

struct ActiveConfig {
    std::array<std::int32_t, kButtonCount> K{};  // K1..K7: function codes of buttons 1 to 7
    std::int32_t DPI_LEVEL = 0;                   // current DPI stage
    std::array<std::uint8_t, kDpiStageCount> DPI_SET{};             // edited stage values
    std::array<std::uint8_t, kDpiStageCount> AppliedStageValues{};  // as last applied
    std::array<std::int32_t, kDpiStageCount> ValueItem{};           // 60 + 5s + DPI_SET[s]
    std::array<std::uint8_t, kDpiStageCount> DPI_SET_EN{};          // 0 or 1
    std::int32_t WHEEL_STATUS = 0;
    std::int32_t MACRO_MODE2 = 0;
    std::uint8_t LED_STATUS = 0;
    std::uint8_t DPI_SPEED = 0;
    std::uint8_t WHEEL_SPEED = 0;
    std::int32_t FIRE_TIME = 50;

    // Edits of the window, keeping the derived ValueItem in step.
    void SetStageValue(int stage, std::uint8_t value);
    void ToggleMacroMode2() { MACRO_MODE2 = MACRO_MODE2 == 0 ? 1 : 0; }
    // Enables a disabled stage; disables an enabled one, and when it was the current stage the
    // next enabled one in cyclic order becomes current. The last enabled stage stays enabled.
    void ToggleStageEnabled(int stage);
    // Makes stage current when it is enabled; a disabled stage cannot be.
    void SelectStage(int stage);
    // K(button) := code, then some button keeps the left click: when none holds it any more, the
    // next button takes it (button 7 takes it back itself).
    void SetButtonFunction(int button, std::int32_t code);
    // True when a button other than button holds the left click.
    bool OtherButtonHasLeftClick(int button) const;
    // Button 1 takes the left click when no button holds it, as the function popup's guard would
    // have kept it: no configuration may leave the user without one.
    void EnsureLeftClick();
    void SetFireTime(std::int64_t value);  // bounded to 0..kFireTimeMax

    // Values bounded for use as table indexes.
    int BoundedDpiLevel() const;
    int BoundedStageValue(int stage) const;
    int BoundedLedStatus() const;

    bool operator==(const ActiveConfig&) const = default;
};

// The main-page item of the value selected for stage s.
constexpr std::int32_t ValueItemOf(int stage, int value) { return 60 + 5 * stage + value; }

// Sets every field to the factory values; MACRO_MODE2 keeps its value.
void SetBuiltInDefaults(ActiveConfig& config);
