#include "skin/skin_description.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "skin/skin_entries.h"
#include "support/fake_skin_files.h"
#include "support/memory_profile.h"

namespace {

const std::u16string kSkins = u"C:\\prog\\skins";
const std::u16string kMainEn = u"C:\\prog\\skins\\INI_EN\\skin_main_en.ini";
const std::u16string kMainCn = u"C:\\prog\\skins\\INI_CN\\skin_main.ini";
const std::u16string kAdvancedEn = u"C:\\prog\\skins\\INI_EN\\skin_advance_en.ini";

// The last key of each table.
constexpr int kLastMain = static_cast<int>(kMainEntries) - 1;
constexpr int kLastAdvanced = static_cast<int>(kAdvancedEntries) - 1;
constexpr int kLastColour = static_cast<int>(kColourEntries) - 1;
constexpr int kLastWarning = static_cast<int>(kWarningEntries) - 1;

struct Loader {
    MemoryProfile profile;
    FakeSkinFiles messages;
    int closes = 0;
    SkinReadContext context{profile, messages, [this] { ++closes; }};
    SkinSet skin;
};

TEST(SkinValue, CutsAtCommasAsTheDescriptionFilesExpect) {
    int commas = -1;
    SkinFields f = SplitSkinValue(u"a,10,20,30,40,OK,z", &commas);
    EXPECT_EQ(commas, 6);
    EXPECT_EQ(f, (SkinFields{u"a", u"10", u"20", u"30", u"40", u"OK", u"z"}));

    // A function name cannot hold a comma: only the part before it is the name.
    EXPECT_EQ(SplitSkinValue(u"Copy,Paste")[0], u"Copy");
    EXPECT_EQ(SplitSkinValue(u"Left click")[0], u"Left click");

    // Eight commas: six fields as cut, the seventh keeps the rest with its commas.
    f = SplitSkinValue(u"a,1,2,3,4,T,x,y,z", &commas);
    EXPECT_EQ(commas, 8);
    EXPECT_EQ(f[5], u"T");
    EXPECT_EQ(f[6], u"x,y,z");

    // Fewer commas: the fields that exist, the rest empty.
    f = SplitSkinValue(u"a,1,2", &commas);
    EXPECT_EQ(commas, 2);
    EXPECT_EQ(f, (SkinFields{u"a", u"1", u"2", u"", u"", u"", u""}));
    EXPECT_EQ(SplitSkinValue(u""), SkinFields{});
    EXPECT_EQ(SplitSkinValue(u",,,,,,"), SkinFields{});
    EXPECT_EQ(SplitSkinValue(u",,,,,,,")[6], u",");
}

TEST(SkinLoaders, MainDescriptionFillsRectanglesTextsAndFunctionNames) {
    Loader l;
    l.messages.existing.insert(kMainEn);
    l.profile.Set(kMainEn, u"BUTTONPOS", MainEntry::kApply, u"a,10,20,30,40,OK,z");
    l.profile.Set(kMainEn, u"BUTTONPOS", kLastMain, u"x, 5x,-7,abc,+9,,");
    l.profile.Set(kMainEn, u"FUN_STRING", 1, u"Left click");
    l.profile.Set(kMainEn, u"FUN_STRING", 31, u"Copy,Paste");
    l.profile.Set(kMainEn, u"FUN_STRING", 54, u"Last");
    LoadMainSkin(l.context, kSkins, LanguageMode::English, l.skin);

    const SkinEntry& ok = l.skin.main.At(MainEntry::kApply);
    EXPECT_EQ(ok.Rect(), (PixelRect{10, 20, 40, 60}));
    EXPECT_EQ(ok.text, u"OK");
    // Numbers convert like _wtoi: leading blanks and a sign, digits up to the first other character.
    EXPECT_EQ(l.skin.main.At(kLastMain), (SkinEntry{5, -7, 0, 9, u""}));
    // A missing key is an empty entry that no point can hit.
    EXPECT_EQ(l.skin.main.At(MainEntry::StageLabel(0)), SkinEntry{});
    EXPECT_EQ(l.skin.main.HitTest(0, 0, kLastMain), kNoEntry);
    EXPECT_EQ(l.skin.main.HitTest(10, 20, kLastMain), MainEntry::kApply);

    EXPECT_EQ(FunctionName(l.skin.functionNames, 1), u"Left click");
    EXPECT_EQ(FunctionName(l.skin.functionNames, 31), u"Copy");
    EXPECT_EQ(FunctionName(l.skin.functionNames, 54), u"Last");
    EXPECT_EQ(FunctionName(l.skin.functionNames, 0), u"");
    EXPECT_EQ(FunctionName(l.skin.functionNames, 55), u"");
    EXPECT_EQ(FunctionName(l.skin.functionNames, -3), u"");

    // Keys 0..99 of BUTTONPOS, then 1..54 of FUN_STRING, written like "%d".
    ASSERT_EQ(l.profile.reads.size(), 154u);
    EXPECT_EQ(l.profile.reads.front(), std::make_tuple(kMainEn, std::u16string(u"BUTTONPOS"), std::u16string(u"0")));
    EXPECT_EQ(l.profile.reads.back(), std::make_tuple(kMainEn, std::u16string(u"FUN_STRING"), std::u16string(u"54")));
    EXPECT_TRUE(l.messages.shown.empty());
    EXPECT_EQ(l.closes, 0);
}

TEST(SkinLoaders, MalformedEntriesGiveOneMessageNamingTheFirstAndKeepTheirFields) {
    const auto contains = [](const std::u16string& text, const std::u16string& part) {
        return text.find(part) != std::u16string::npos;
    };
    std::u16string shownIn[2];
    for (const LanguageMode language : {LanguageMode::English, LanguageMode::Chinese}) {
        Loader l;
        l.context.language = language;
        l.messages.everyFileExists = true;
        const std::u16string main = SkinDescriptionPath(kSkins, SkinDescription::Main, language);
        const std::u16string colour = SkinDescriptionPath(kSkins, SkinDescription::Colour, language);
        l.profile.Set(main, u"BUTTONPOS", MainEntry::Slot(4), u"a,1,2,3,4,Text,x,y");
        l.profile.Set(main, u"BUTTONPOS", 77, u"a,1,2,3,4,T,x,y");
        l.profile.Set(main, u"FUN_STRING", 3, u"a,b,c,d,e,f,g,h");
        l.profile.Set(colour, u"BUTTONPOS", 2, u"a,1,2,3,4,T,x,y");
        LoadAllSkins(l.context, kSkins, language, l.skin);

        // One message for every file read together; it names the first bad entry and its file.
        ASSERT_EQ(l.messages.shown.size(), 1u);
        const std::u16string& message = l.messages.shown[0];
        EXPECT_TRUE(contains(message, main));
        EXPECT_TRUE(contains(message, u"[BUTTONPOS] " + DecimalText(MainEntry::Slot(4))));
        EXPECT_FALSE(contains(message, u"77") || contains(message, u"FUN_STRING") || contains(message, colour));
        EXPECT_EQ(contains(message, u"文件"), language == LanguageMode::Chinese);
        shownIn[language == LanguageMode::English ? 0 : 1] = message;

        // The entry keeps the fields it has, and the program goes on.
        EXPECT_EQ(l.skin.main.At(MainEntry::Slot(4)), (SkinEntry{1, 2, 3, 4, u"Text"}));
        EXPECT_EQ(l.skin.colour.At(2), (SkinEntry{1, 2, 3, 4, u"T"}));
        EXPECT_EQ(l.closes, 0);
    }
    EXPECT_NE(shownIn[0], shownIn[1]);
}

TEST(SkinLoaders, MissingFileIsReportedOnceAndEmptiesItsTable) {
    Loader l;
    l.messages.existing.insert(kMainEn);
    l.profile.Set(kMainEn, u"BUTTONPOS", MainEntry::kClose, u",1,1,5,5,Close,");
    l.profile.Set(kMainEn, u"FUN_STRING", 1, u"Left click");
    LoadMainSkin(l.context, kSkins, LanguageMode::English, l.skin);
    ASSERT_EQ(l.skin.main.At(MainEntry::kClose).text, u"Close");

    // The Chinese file is missing: one message for the file, not one per entry, one close,
    // and nothing of the English file survives.
    l.profile.reads.clear();
    LoadMainSkin(l.context, kSkins, LanguageMode::Chinese, l.skin);
    // It names the file, in the language of the messages.
    EXPECT_EQ(l.messages.shown, std::vector<std::u16string>{MissingSkinFileMessage(LanguageMode::Chinese, kMainCn)});
    EXPECT_EQ(l.closes, 1);
    EXPECT_TRUE(l.profile.reads.empty());
    EXPECT_EQ(l.skin.main.At(MainEntry::kClose), SkinEntry{});
    EXPECT_EQ(FunctionName(l.skin.functionNames, 1), u"");

    // Every missing file is reported; the program is asked to close only once.
    l.messages.shown.clear();
    LoadAllSkins(l.context, kSkins, LanguageMode::Chinese, l.skin);
    EXPECT_EQ(l.messages.shown.size(), 4u);
    EXPECT_EQ(l.closes, 1);
}

TEST(SkinLoaders, LanguageSwitchReplacesEveryTextWithTheOtherFile) {
    Loader l;
    l.messages.existing = {kMainEn, kMainCn};
    const int mainTab = MainEntry::Tab(WindowPage::Main);
    const int advancedTab = MainEntry::Tab(WindowPage::Advanced);
    l.profile.Set(kMainEn, u"BUTTONPOS", mainTab, u",0,0,10,10,MAIN,");
    l.profile.Set(kMainEn, u"BUTTONPOS", advancedTab, u",10,0,10,10,ADVANCED,");
    l.profile.Set(kMainEn, u"FUN_STRING", 2, u"Right click");
    l.profile.Set(kMainCn, u"BUTTONPOS", mainTab, u",0,0,12,10,按键设置,");
    l.profile.Set(kMainCn, u"FUN_STRING", 2, u"右键");
    LoadMainSkin(l.context, kSkins, LanguageMode::English, l.skin);
    LoadMainSkin(l.context, kSkins, LanguageMode::Chinese, l.skin);
    EXPECT_EQ(l.skin.main.At(mainTab), (SkinEntry{0, 0, 12, 10, u"按键设置"}));
    EXPECT_EQ(l.skin.main.At(advancedTab), SkinEntry{});
    EXPECT_EQ(FunctionName(l.skin.functionNames, 2), u"右键");
}

TEST(SkinLoaders, AdvancedDescriptionGivesTheMacroEditorRectangles) {
    Loader l;
    l.messages.existing.insert(kAdvancedEn);
    l.profile.Set(kAdvancedEn, u"BUTTONPOS", kLastAdvanced, u",1,2,3,4,last,");
    l.profile.Set(kAdvancedEn, u"EDIT", 1, u",9,9,9,9,,");
    l.profile.Set(kAdvancedEn, u"EDIT", 3, u",300,380,40,20,,");
    l.profile.Set(kAdvancedEn, u"EDIT", 4, u",80,320,120,22,,");
    l.profile.Set(kAdvancedEn, u"MACRODISPLAY", 1, u",80,150,120,150,,");
    l.profile.Set(kAdvancedEn, u"MACRODISPLAY", 2, u",210,150,160,210,,");
    LoadAdvancedSkin(l.context, kSkins, LanguageMode::English, l.skin);
    EXPECT_EQ(l.skin.advanced.At(kLastAdvanced).text, u"last");
    EXPECT_EQ(l.skin.editorRects.repeatCountBox, (PixelRect{300, 380, 340, 400}));
    EXPECT_EQ(l.skin.editorRects.nameBox, (PixelRect{80, 320, 200, 342}));
    EXPECT_EQ(l.skin.editorRects.macroList, (PixelRect{80, 150, 200, 300}));
    EXPECT_EQ(l.skin.editorRects.eventList, (PixelRect{210, 150, 370, 360}));
    for (const auto& [file, section, key] : l.profile.reads) {
        EXPECT_FALSE(section == u"EDIT" && (key == u"1" || key == u"2")) << "EDIT keys 1 and 2 are never read";
    }
}

TEST(SkinLoaders, EachDescriptionHasItsFileAndTableSize) {
    EXPECT_EQ(SkinDescriptionPath(u"S", SkinDescription::Colour, LanguageMode::English), u"S\\INI_EN\\skin_color_en.ini");
    EXPECT_EQ(SkinDescriptionPath(u"S", SkinDescription::Colour, LanguageMode::Chinese), u"S\\INI_CN\\skin_color.ini");
    EXPECT_EQ(SkinDescriptionPath(u"S", SkinDescription::Warning, LanguageMode::English), u"S\\INI_EN\\LBWarning_en.ini");
    EXPECT_EQ(SkinDescriptionPath(u"S", SkinDescription::Warning, LanguageMode::Chinese), u"S\\INI_CN\\LBWarning.ini");
    EXPECT_EQ(SkinDescriptionPath(u"S", SkinDescription::Advanced, LanguageMode::Chinese), u"S\\INI_CN\\skin_advance.ini");

    Loader l;
    const std::u16string colour = SkinDescriptionPath(kSkins, SkinDescription::Colour, LanguageMode::Chinese);
    const std::u16string warning = SkinDescriptionPath(kSkins, SkinDescription::Warning, LanguageMode::Chinese);
    l.messages.existing = {colour, warning};
    l.profile.Set(colour, u"BUTTONPOS", kLastColour, u",1,1,1,1,c12,");
    l.profile.Set(colour, u"BUTTONPOS", kLastColour + 1, u",1,1,1,1,c13,");
    l.profile.Set(warning, u"BUTTONPOS", kLastWarning, u",1,1,1,1,w2,");
    l.profile.Set(warning, u"BUTTONPOS", kLastWarning + 1, u",1,1,1,1,w3,");
    LoadColorSkin(l.context, kSkins, LanguageMode::Chinese, l.skin);
    LoadWarningSkin(l.context, kSkins, LanguageMode::Chinese, l.skin);
    EXPECT_EQ(l.skin.colour.At(kLastColour).text, u"c12");
    EXPECT_EQ(l.skin.warning.At(kLastWarning).text, u"w2");
    EXPECT_EQ(l.skin.colour.Size(), 13u);
    EXPECT_EQ(l.skin.warning.Size(), 3u);
    EXPECT_EQ(l.skin.warning.At(kLastWarning + 1), SkinEntry{});
    EXPECT_EQ(l.profile.reads.size(), 13u + 3u);
}

TEST(SkinPage, HitTestFollowsWindowsRectangleRules) {
    SkinPage page(5);
    *page.Find(1) = {10, 10, 20, 10, u""};
    *page.Find(2) = {10, 10, 5, 5, u""};  // lies under entry 1: the lower number wins
    *page.Find(3) = {50, 50, 0, 10, u""};  // zero width never hits
    *page.Find(4) = {2147483647, 0, 2147483647, 10, u""};  // far right edge, no overflow
    EXPECT_EQ(page.HitTest(10, 10, 4), 1);
    EXPECT_EQ(page.HitTest(29, 19, 4), 1);
    EXPECT_EQ(page.HitTest(30, 10, 4), kNoEntry);
    EXPECT_EQ(page.HitTest(10, 20, 4), kNoEntry);
    EXPECT_EQ(page.HitTest(50, 55, 4), kNoEntry);
    EXPECT_EQ(page.HitTest(10, 10, 0), kNoEntry);  // entries past the last key are not tested
    EXPECT_EQ(page.HitTest(4294967290LL, 5, 4), 4);
    EXPECT_EQ(page.HitTest(10, 10, 1000), 1);
    EXPECT_EQ(page.Find(5), nullptr);
    EXPECT_EQ(page.Find(-1), nullptr);
    EXPECT_EQ(page.At(-1), SkinEntry{});
    EXPECT_EQ(page.At(1000), SkinEntry{});
}

}  // namespace
