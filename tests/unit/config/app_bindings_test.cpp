#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "config/app_bindings.h"
#include "platform/file_path.h"
#include "platform/ini_encoding.h"
#include "platform/ini_profile.h"
#include "platform/text.h"
#include "temp_dir.h"

namespace {

std::string Utf16File(const std::u16string& text) { return EncodeIniText(text, IniEncoding::Utf16Le); }

// The file's text, which must be UTF-16LE with its byte order mark.
std::u16string Utf16Text(const std::string& bytes) {
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    IniEncoding encoding = IniEncoding::Ansi;
    std::u16string text = DecodeIniBytes(bytes, encoding);
    EXPECT_EQ(encoding, IniEncoding::Utf16Le);
    return text;
}

TEST(AppBindingsTest, ReadsMatchesAndWritesBackOnlyItsOwnLines) {
    TempDir dir;
    IniProfile profile;
    const std::u16string apps = dir.File("apps.ini");
    dir.Write("apps.ini", Utf16File(u"; bound by hand\r\n"
                                    u"[Options]\r\n"
                                    u"Theme=dark\r\n"
                                    u"On = 0\r\n"
                                    u"\r\n"
                                    u"[Apps]\r\n"
                                    u"Game.exe=2\r\n"
                                    u"no equals sign\r\n"
                                    u"zero.exe=0\r\n"
                                    u"six.exe=6\r\n"
                                    u"=3\r\n"
                                    u"what?.exe=1\r\n"
                                    u"Games\\relative.exe=1\r\n"
                                    u"  c:/Games/GAME.exe = 4\r\n"
                                    u"game.EXE=5\r\n"
                                    u"C:\\Tools\\a=b\\ИГРА.exe=3\r\n"
                                    u"\r\n"
                                    u"[Notes]\r\n"
                                    u"Game.exe=1\r\n"));
    AppBindings bindings = LoadAppBindings(apps);
    ASSERT_EQ(bindings.Bindings().size(), 4u);
    EXPECT_EQ(bindings.Bindings()[0], (AppBinding{u"Game.exe", 2}));
    EXPECT_EQ(bindings.Bindings()[1], (AppBinding{u"c:/Games/GAME.exe", 4}));
    EXPECT_EQ(bindings.Bindings()[3], (AppBinding{u"C:\\Tools\\a=b\\ИГРА.exe", 3}));
    EXPECT_FALSE(bindings.On());
    EXPECT_EQ(bindings.SlotFor(u"C:\\Games\\Game.EXE"), std::nullopt);  // the feature is off

    bindings.SetOn(true);
    // The full path wins over the file name bound before it; case and '/' do not matter.
    EXPECT_EQ(bindings.SlotFor(u"C:\\GAMES\\game.exe"), 4);
    // Elsewhere the file name: the first of the two bindings of game.exe.
    EXPECT_EQ(bindings.SlotFor(u"D:\\Other\\GAME.exe"), 2);
    EXPECT_EQ(bindings.SlotFor(u"c:\\tools\\A=B\\игра.EXE"), 3);
    EXPECT_EQ(bindings.SlotFor(u"C:\\Games\\zero.exe"), std::nullopt);  // its line was not valid
    EXPECT_EQ(bindings.SlotFor(u"C:\\Games\\relative.exe"), std::nullopt);

    // Edits: a program bound already (other case) stays as it was; a new one goes last.
    EXPECT_EQ(bindings.Bind(u"GAME.EXE", 1), 0u);
    bindings.SetSlot(0, 1);
    EXPECT_EQ(bindings.Bind(u"D:\\New\\new.exe", 5), 4u);
    EXPECT_EQ(bindings.Bind(u"D:\\New\\", 5), std::nullopt);
    EXPECT_EQ(bindings.Bind(u"bad|name.exe", 5), std::nullopt);
    EXPECT_EQ(bindings.Bind(u"seven.exe", 7), std::nullopt);
    bindings.SetSlot(1, 3);
    bindings.SetSlot(1, 9);  // ignored
    bindings.Remove(2);
    bindings.Remove(9);  // ignored
    ASSERT_TRUE(SaveAppBindings(profile, apps, bindings));

    // Every line it could not read stays where it was; its own lines are rewritten in place.
    EXPECT_EQ(Utf16Text(dir.Read("apps.ini")), u"; bound by hand\r\n"
                                               u"[Options]\r\n"
                                               u"Theme=dark\r\n"
                                               u"On=1\r\n"
                                               u"\r\n"
                                               u"[Apps]\r\n"
                                               u"Game.exe=1\r\n"
                                               u"c:/Games/GAME.exe=3\r\n"
                                               u"C:\\Tools\\a=b\\ИГРА.exe=3\r\n"
                                               u"D:\\New\\new.exe=5\r\n"
                                               u"no equals sign\r\n"
                                               u"zero.exe=0\r\n"
                                               u"six.exe=6\r\n"
                                               u"=3\r\n"
                                               u"what?.exe=1\r\n"
                                               u"Games\\relative.exe=1\r\n"
                                               u"\r\n"
                                               u"[Notes]\r\n"
                                               u"Game.exe=1\r\n");
    const AppBindings reloaded = LoadAppBindings(apps);
    EXPECT_EQ(reloaded.Bindings(), bindings.Bindings());
    EXPECT_TRUE(reloaded.On());
    EXPECT_FALSE(PathExists(SavingCopyOf(apps)));
}

TEST(AppBindingsTest, MissingOtherEncodedAndForeignFiles) {
    TempDir dir;
    IniProfile profile;

    // No file: no bindings, the feature on; the first save makes both sections.
    const std::u16string fresh = dir.File("apps.ini");
    AppBindings none = LoadAppBindings(fresh);
    EXPECT_TRUE(none.Bindings().empty());
    EXPECT_TRUE(none.On());
    ASSERT_EQ(none.Bind(u"C:\\Games\\game.exe", 1), 0u);
    ASSERT_TRUE(SaveAppBindings(profile, fresh, none));
    EXPECT_EQ(Utf16Text(dir.Read("apps.ini")), u"[Options]\r\nOn=1\r\n[Apps]\r\nC:\\Games\\game.exe=1\r\n");

    // A UTF-8 file without its sections is read, and written back in UTF-16 with them added
    // after what was there.
    dir.Write("utf8.ini", "\xEF\xBB\xBF[Apps]\nspiel\xC3\xA4.exe=2\n; end of the list\n\n");
    AppBindings utf8 = LoadAppBindings(dir.File("utf8.ini"));
    ASSERT_EQ(utf8.Bindings().size(), 1u);
    EXPECT_EQ(utf8.SlotFor(u"E:\\SPIELÄ.EXE"), 2);
    utf8.SetOn(false);
    ASSERT_TRUE(SaveAppBindings(profile, dir.File("utf8.ini"), utf8));
    EXPECT_EQ(Utf16Text(dir.Read("utf8.ini")),
              u"[Apps]\r\nspielä.exe=2\r\n; end of the list\r\n\r\n[Options]\r\nOn=0\r\n");

    // More than a megabyte is no apps.ini: read as empty, and never written over.
    const std::string foreign = "[Apps]\r\ngame.exe=2\r\n" + std::string(kMostAppsIniBytes, ';');
    dir.Write("big.ini", foreign);
    AppBindings big = LoadAppBindings(dir.File("big.ini"));
    EXPECT_TRUE(big.Bindings().empty());
    EXPECT_FALSE(big.Saveable());
    big.Bind(u"game.exe", 3);
    EXPECT_FALSE(SaveAppBindings(profile, dir.File("big.ini"), big));
    // Nor by bindings read elsewhere, when the file grew that large since.
    EXPECT_FALSE(SaveAppBindings(profile, dir.File("big.ini"), utf8));
    EXPECT_EQ(dir.Read("big.ini"), foreign);

    // A folder that is not there: the save fails and says so.
    EXPECT_FALSE(SaveAppBindings(profile, dir.File("gone/apps.ini"), none));
}

}  // namespace
