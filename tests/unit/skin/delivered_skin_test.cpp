// The description files the skin generator writes, read back the way the program reads them:
// through the INI engine (UTF-16 with BOM) and the loaders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/ini_profile.h"
#include "platform/text.h"
#include "skin/skin_description.h"
#include "skin/skin_entries.h"
#include "temp_dir.h"

namespace {

std::filesystem::path Native(const std::u16string& windowsPath) {
    std::u16string path = windowsPath;
    for (char16_t& c : path) {
        if (c == u'\\') c = u'/';
    }
    return std::filesystem::path(Utf8FromUtf16(path));
}

// Windows paths of the loaders onto the scratch directory.
class NativePathProfile : public ProfilePort {
public:
    std::u16string ReadString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                              std::size_t bufferChars) override {
        return ini_.ReadString(Utf16FromUtf8(Native(file).string()), section, key, bufferChars);
    }
    bool WriteString(const std::u16string&, const std::u16string&, const std::u16string&,
                     const std::u16string&) override {
        return false;
    }

private:
    IniProfile ini_;
};

class NativeFiles : public MessagePort {
public:
    bool FileExists(const std::u16string& path) override { return std::filesystem::exists(Native(path)); }
    void ShowMessage(std::u16string_view text) override { shown.emplace_back(text); }
    std::vector<std::u16string> shown;
};

class DeliveredSkin : public testing::Test {
protected:
    void SetUp() override {
        if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
        const std::string command = "python3 '" HXT_SOURCE_DIR "/tools/skin/make_skin.py' --descriptions-only '" +
                                    dir_.Path("skins").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    std::u16string SkinsDir() { return Utf16FromUtf8(dir_.Path("skins").string()); }

    SkinSet Load(LanguageMode language) {
        NativePathProfile profile;
        NativeFiles files;
        int closes = 0;
        SkinReadContext context{profile, files, [&] { ++closes; }};
        SkinSet skin;
        LoadAllSkins(context, SkinsDir(), language, skin);
        EXPECT_TRUE(files.shown.empty()) << "no file missing, no entry malformed";
        EXPECT_EQ(closes, 0);
        return skin;
    }

    TempDir dir_;
};

bool HasChinese(const std::u16string& text) {
    for (char16_t c : text) {
        if (c >= 0x4E00 && c <= 0x9FFF) return true;
    }
    return false;
}

TEST_F(DeliveredSkin, BothLanguagesShareTheLayoutAndNameEverything) {
    const SkinSet en = Load(LanguageMode::English);
    const SkinSet cn = Load(LanguageMode::Chinese);

    const auto sameLayout = [](const SkinPage& a, const SkinPage& b) {
        for (std::size_t i = 0; i < a.Size(); ++i) EXPECT_EQ(a.At(i).Rect(), b.At(i).Rect()) << "entry " << i;
    };
    sameLayout(en.main, cn.main);
    sameLayout(en.advanced, cn.advanced);
    sameLayout(en.colour, cn.colour);
    sameLayout(en.warning, cn.warning);
    EXPECT_EQ(en.editorRects, cn.editorRects);

    for (int code = 1; code <= kFunctionNameCount; ++code) {
        EXPECT_FALSE(FunctionName(en.functionNames, code).empty()) << code;
        EXPECT_FALSE(FunctionName(cn.functionNames, code).empty()) << code;
    }
    for (int code : {1, 2, 3, 7, 8, 9, 10, 31, 40}) {
        EXPECT_TRUE(HasChinese(FunctionName(cn.functionNames, code))) << code;
        EXPECT_FALSE(HasChinese(FunctionName(en.functionNames, code))) << code;
    }
    // Texts that must be there: tabs, apply, the warning's three entries, the LED modes.
    using namespace MainEntry;
    for (const SkinSet* skin : {&en, &cn}) {
        for (int i : {kApply, Tab(WindowPage::Main), Tab(WindowPage::Advanced), Tab(WindowPage::Colour), kImportConfig,
                      kExportConfig, kFactoryReset}) {
            EXPECT_FALSE(skin->main.At(i).text.empty()) << i;
        }
        for (int i : {WarningEntry::kConfirm, WarningEntry::kCancel, WarningEntry::kMessage}) {
            EXPECT_FALSE(skin->warning.At(i).text.empty()) << i;
        }
        for (int mode = 0; mode < kLedModeCount; ++mode) {
            EXPECT_FALSE(skin->colour.At(ColourEntry::LedModeButton(mode)).text.empty()) << mode;
        }
    }
    EXPECT_TRUE(HasChinese(cn.warning.At(WarningEntry::kMessage).text));
}

TEST_F(DeliveredSkin, EveryElementCanBeHitWhereItIsDrawn) {
    const SkinSet skin = Load(LanguageMode::English);
    const auto hitsItself = [](const SkinPage& page, int i, int lastKey) {
        const PixelRect r = page.At(i).Rect();
        ASSERT_FALSE(r.Empty()) << "entry " << i;
        EXPECT_EQ(page.HitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, lastKey), i) << "entry " << i;
    };
    using namespace MainEntry;
    const int mainLast = kHitOnMainPage.last;
    for (int i = kClose; i <= kEnglish; ++i) hitsItself(skin.main, i, mainLast);
    for (const EntryRange& range : {kFunctionBoxes, kStageEnables, kStageSelects, kStageSteps}) {
        for (int i = range.first; i <= range.last; ++i) hitsItself(skin.main, i, mainLast);
    }
    hitsItself(skin.main, kWheelNormal, mainLast);
    hitsItself(skin.main, kWheelReverse, mainLast);
    for (int i = AdvancedEntry::kHit.first; i <= AdvancedEntry::kFireDown; ++i) {
        hitsItself(skin.advanced, i, AdvancedEntry::kHit.last);
    }
    for (int i = ColourEntry::kLedModes.first; i <= ColourEntry::kLedModes.last; ++i) {
        hitsItself(skin.colour, i, ColourEntry::kHit.last);
    }
    hitsItself(skin.warning, WarningEntry::kConfirm, WarningEntry::kCancel);
    hitsItself(skin.warning, WarningEntry::kCancel, WarningEntry::kCancel);
    // Shown but never hit-tested: the current-stage marks, the button highlights, the preview.
    for (int stage = 0; stage < kDpiStageCount; ++stage) EXPECT_FALSE(skin.main.At(StageCurrent(stage)).Rect().Empty());
    for (int button = 1; button <= kButtonCount; ++button) {
        EXPECT_FALSE(skin.main.At(ButtonHighlight(button)).Rect().Empty()) << button;
    }
    EXPECT_FALSE(skin.colour.At(ColourEntry::kPreview).Rect().Empty());
    EXPECT_FALSE(skin.colour.At(ColourEntry::kCurrentDpi).Rect().Empty());
    for (const PixelRect& r : {skin.editorRects.repeatCountBox, skin.editorRects.nameBox, skin.editorRects.macroList,
                               skin.editorRects.eventList}) {
        EXPECT_FALSE(r.Empty());
        for (int i = AdvancedEntry::kHit.first; i <= AdvancedEntry::kHit.last; ++i) {
            const PixelRect e = skin.advanced.At(i).Rect();
            EXPECT_FALSE(e.left < r.right && r.left < e.right && e.top < r.bottom && r.top < e.bottom)
                << "advanced entry " << i << " lies under a macro editor control";
        }
    }
}

// Field 0 of every entry of a layout against the tag of the program's name for that entry, so
// the skin and the code cannot drift apart: an entry the program does not name has no tag.
template <std::size_t N>
void ExpectTags(SkinFileReader& reader, const EntryTags<N>& names, const char* layout) {
    for (std::size_t key = 0; key < N; ++key) {
        EXPECT_EQ(Utf8FromUtf16(reader.ReadSkinEntry(kPositionSection, static_cast<int>(key))[0]),
                  names.tags[key].Text())
            << layout << " entry " << key;
    }
}

TEST_F(DeliveredSkin, EveryEntryIsWhatTheProgramNamesIt) {
    for (LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
        NativePathProfile profile;
        NativeFiles files;
        SkinReadContext context{profile, files, {}};
        const auto reader = [&](SkinDescription which) {
            return SkinFileReader(context, SkinDescriptionPath(SkinsDir(), which, language));
        };
        SkinFileReader main = reader(SkinDescription::Main);
        ExpectTags(main, MainEntry::Tags(), "main");
        SkinFileReader advanced = reader(SkinDescription::Advanced);
        ExpectTags(advanced, AdvancedEntry::Tags(), "advanced");
        for (const EditorEntry::Key& key : EditorEntry::kAll) {
            EXPECT_EQ(Utf8FromUtf16(advanced.ReadSkinEntry(key.section, key.key)[0]), key.tag.Text());
        }
        SkinFileReader colour = reader(SkinDescription::Colour);
        ExpectTags(colour, ColourEntry::Tags(), "colour");
        SkinFileReader warning = reader(SkinDescription::Warning);
        ExpectTags(warning, WarningEntry::Tags(), "warning");
        EXPECT_TRUE(files.shown.empty()) << "no file missing, no entry malformed";
    }
}

}  // namespace
