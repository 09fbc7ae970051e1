#include "app/program_profiles.h"

#include <gtest/gtest.h>

#include "config/config_file.h"
#include "core/app_paths.h"
#include "platform/text.h"
#include "support/memory_profile.h"
#include "ui/indicator_model.h"

namespace {
using namespace std::chrono_literals;
using Clock = ProgramProfiles::Clock;
const std::u16string kIni = u"C:\\prog\\config.ini";

ForegroundWindow Program(std::u16string path) { return {std::move(path), u"GameWindow", false}; }

TEST(ProgramProfiles, ABoundProgramRunsItsSlotOnceSettledAndTheChosenSlotComesBack) {
    MemoryProfile profile;
    ProgramState program;
    program.paths.ConfigIniPath = kIni;
    program.CurConfig = 1;
    profile.WriteString(kIni, u"Config3", u"DPI_LEVEL", u"2");
    const SlotOfProgram slotOf = [](std::u16string_view path) -> std::optional<int> {
        if (EqualIgnoringAsciiCase(FileNameOf(path), u"game.exe")) return 3;
        if (EqualIgnoringAsciiCase(FileNameOf(path), u"broken.exe")) return 9;  // a bad binding
        return std::nullopt;
    };
    ProgramProfiles profiles;
    const Clock::time_point t0{};
    EXPECT_FALSE(profiles.Due(t0 + 1s, slotOf, program));  // nothing seen yet

    // Alt+Tab: five changes inside the settle time, the switcher and our own window among them.
    profiles.ForegroundChanged(Program(u"C:\\Games\\Game.EXE"), t0);
    profiles.ForegroundChanged({u"C:\\Windows\\explorer.exe", u"MultitaskingViewFrame", false}, t0 + 60ms);
    profiles.ForegroundChanged(Program(u"C:\\Tools\\editor.exe"), t0 + 120ms);
    profiles.ForegroundChanged({u"C:\\prog\\HXT_GMouse.exe", u"#32770", true}, t0 + 180ms);
    profiles.ForegroundChanged(Program(u"C:\\Games\\Game.EXE"), t0 + 240ms);
    EXPECT_EQ(profiles.SettlesAt(), t0 + 540ms);
    EXPECT_FALSE(profiles.Due(t0 + 500ms, slotOf, program));
    const std::optional<ProfileSwitch> toGame = profiles.Due(t0 + 540ms, slotOf, program);
    ASSERT_TRUE(toGame);
    EXPECT_EQ(*toGame, (ProfileSwitch{3, u"Game.EXE"}));
    // No mouse: nothing was made, so it is still due when the mouse comes.
    EXPECT_EQ(profiles.Due(t0 + 5s, slotOf, program), toGame);

    RunProfileSlot(profile, program, *toGame);
    EXPECT_EQ(program.CurConfig, 3);
    EXPECT_EQ(program.ChosenSlot(), 1);
    EXPECT_EQ(program.config.DPI_LEVEL, 2);  // slot 3's configuration
    EXPECT_FALSE(profiles.Due(t0 + 6s, slotOf, program));  // it runs already
    // The tray's tip says what runs and why.
    program.language = LanguageMode::English;
    EXPECT_EQ(TrayTipText(program), WindowTitle(LanguageMode::English) + u" \u00B7 Slot 3 \u00B7 DPI stage 3 \u00B7 Game.EXE");
    program.language = LanguageMode::Chinese;
    EXPECT_NE(TrayTipText(program).find(u"\u914D\u7F6E 3"), std::u16string::npos);
    EXPECT_EQ(profiles.LastProgram(), u"C:\\Games\\Game.EXE");

    // The desktop and the lock screen leave it running; another program brings slot 1 back.
    profiles.ForegroundChanged({u"", u"Progman", false}, t0 + 7s);
    profiles.ForegroundChanged({u"C:\\Windows\\SystemApps\\LockApp.exe", u"Windows.UI.Core.CoreWindow", false}, t0 + 8s);
    EXPECT_FALSE(profiles.Due(t0 + 9s, slotOf, program));
    profiles.ForegroundChanged(Program(u"C:\\Tools\\broken.exe"), t0 + 10s);
    const std::optional<ProfileSwitch> back = profiles.Due(t0 + 11s, slotOf, program);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, (ProfileSwitch{1, u""}));
    RunProfileSlot(profile, program, *back);
    EXPECT_EQ(program.CurConfig, 1);
    EXPECT_FALSE(program.profile);

    // Off, the bindings give no program a slot: none runs, and a profile that runs goes back.
    const SlotOfProgram off = [](std::u16string_view) { return std::optional<int>(); };
    profiles.ForegroundChanged(Program(u"D:\\game.exe"), t0 + 12s);
    EXPECT_FALSE(profiles.Due(t0 + 13s, off, program));
    RunProfileSlot(profile, program, *profiles.Due(t0 + 13s, slotOf, program));
    EXPECT_EQ(profiles.Due(t0 + 13s, off, program), (ProfileSwitch{1, u""}));
    // The user's own choice of a slot ends the profile.
    SelectSlot(profile, program, 4);
    EXPECT_FALSE(program.profile);
    EXPECT_EQ(program.ChosenSlot(), 4);
}

}  // namespace
