#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "macros/key_names.h"
#include "macros/macro_file.h"
#include "platform/ini_profile.h"
#include "platform/text.h"
#include "support/recording_messages.h"

namespace {

// Every delivered macro plays as a user would expect: known keys, each press released again in
// the macro, short delays, nothing in the slots beyond its events.
void ExpectSane(const MacroRecord& m, LanguageMode language) {
    const std::string name = Utf8FromUtf16(m.Name());
    EXPECT_FALSE(m.Name().empty());
    EXPECT_LE(m.eventCount, kMaxMacroEvents) << name;
    EXPECT_GT(m.eventCount, 0) << name;
    EXPECT_TRUE(m.repeatMode == 0 || m.repeatMode == 1) << name;
    EXPECT_GE(m.repeatCount, 1) << name;
    std::map<int, int> held;
    for (int k = 0; k < m.eventCount; ++k) {
        const MacroEvent& e = m.events[k];
        EXPECT_NE(KeyName(e.key, language), KeyName(0, language)) << name << " event " << k;
        ASSERT_TRUE(e.action == kActionPress || e.action == kActionRelease) << name << " event " << k;
        held[e.key] += e.action == kActionPress ? 1 : -1;
        EXPECT_GE(held[e.key], 0) << name << ": release before press at event " << k;
        EXPECT_LE(e.delay, 1000) << name;
    }
    for (const auto& [key, count] : held) EXPECT_EQ(count, 0) << name << " leaves key " << key << " down";
    for (int k = m.eventCount; k < kEventSlots; ++k) ASSERT_EQ(m.events[k], MacroEvent{}) << name;
    for (std::size_t i = m.Name().size(); i < m.name.size(); ++i) ASSERT_EQ(m.name[i], 0) << name;
}

TEST(DeliveredMacrosTest, BothFilesLoadWithTheirMacros) {
    IniProfile ini;
    RecordingMessages messages;
    const struct {
        const char* file;
        LanguageMode language;
        std::vector<std::u16string> names;
    } files[] = {
        {"Macro_EN.dat", LanguageMode::English,
         {u"Copy+Paste", u"Select all + copy", u"Reload (R)", u"Jump+Crouch", u"Double click", u"Triple shot",
          u"Switch window"}},
        {"Macro_CN.dat", LanguageMode::Chinese,
         {u"复制粘贴", u"全选复制", u"换弹（R）", u"跳跃下蹲", u"鼠标双击", u"三连发", u"切换窗口"}},
    };
    for (const auto& f : files) {
        MacroStore store;
        LoadMacroFile(ini, messages, store, Utf16FromUtf8(std::string(HXT_SOURCE_DIR "/data/") + f.file));
        EXPECT_TRUE(messages.shown.empty()) << f.file;
        const MacroStoreData data = store.Copy();
        ASSERT_EQ(data.count, static_cast<int>(f.names.size())) << f.file;
        for (int m = 0; m < data.count; ++m) {
            EXPECT_EQ(data.records[m].Name(), f.names[m]) << f.file;
            ExpectSane(data.records[m], f.language);
        }
        // The first macro is Ctrl+C then Ctrl+V.
        const MacroRecord& copyPaste = data.records[0];
        ASSERT_EQ(copyPaste.eventCount, 8);
        EXPECT_EQ(copyPaste.events[1], (MacroEvent{'C', kActionPress, 20}));
        EXPECT_EQ(copyPaste.events[5], (MacroEvent{'V', kActionPress, 20}));
        EXPECT_EQ(data.records[5].repeatMode, 1);
        EXPECT_EQ(data.records[5].repeatCount, 3);
    }
}

}  // namespace
