// The skin description files: the reader of one numbered entry, the four loaders and the tables
// they fill (page layouts, function names, the macro editor's rectangles). Files are read through
// the profile port; the two messages and the end of the program go through the shell.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/language.h"
#include "core/user_texts.h"
#include "platform/message_port.h"
#include "platform/profile_port.h"
#include "skin/skin_entry.h"

// The section of every description that holds the numbered layout entries.
inline constexpr char16_t kPositionSection[] = u"BUTTONPOS";

constexpr int kSkinFieldCount = 7;
using SkinFields = std::array<std::u16string, kSkinFieldCount>;

// Cuts a value at its commas: without a comma field 0 is the whole value; otherwise field k
// (k = 0..5) lies between the k-th and the (k+1)-th comma and field 6 takes everything after the
// sixth, further commas included. Fields past the last comma stay empty. commaCount, when given,
// receives the number of commas.
SkinFields SplitSkinValue(std::u16string_view value, int* commaCount = nullptr);

// An entry with more than six commas: it names the file and the entry, in the program's language.
std::u16string MalformedSkinEntryMessage(LanguageMode language, std::u16string_view path, std::u16string_view section,
                                         int key);

struct SkinReadContext {
    ProfilePort& profile;
    MessagePort& messages;               // boxes owned by the main window
    std::function<void()> closeProgram;  // run after the first missing file has been reported
    bool closeRequested = false;         // closeProgram has run; it runs once per context
    LanguageMode language = LanguageMode::Chinese;  // of the messages
    // A broken description has its faults on many lines: only the first is reported, once for
    // all the files read with this context, and the loaders go on with what they could cut.
    bool malformedReported = false;
};

// Reads the entries of one description file. A missing file is reported once, when the reader
// is made (not once per entry), and then every entry reads as empty.
class SkinFileReader {
public:
    SkinFileReader(SkinReadContext& context, std::u16string path);

    bool FileFound() const { return found_; }
    // Fields 0..6 of key in section; more than six commas are reported if nothing was before.
    SkinFields ReadSkinEntry(std::u16string_view section, int key);
    // x, y, width and height from fields 1 to 4, the text from field 5.
    SkinEntry ReadPosition(std::u16string_view section, int key);

private:
    SkinReadContext& context_;
    std::u16string path_;
    bool found_ = false;
};

// Where the macro editor's controls go, as left/top/right/bottom.
struct MacroEditorRects {
    PixelRect repeatCountBox;  // control 10004
    PixelRect nameBox;         // control 10000
    PixelRect macroList;       // control 10001
    PixelRect eventList;       // control 10002
    bool operator==(const MacroEditorRects&) const = default;
};

using FunctionNameTable = std::array<std::u16string, kFunctionNameCount>;

// The display name of ButtonFunctionCode code (entry code - 1); empty outside 1..54.
const std::u16string& FunctionName(const FunctionNameTable& names, std::int64_t code);

enum class SkinDescription { Main, Advanced, Colour, Warning };

// SkinsDir + "\INI_EN\skin_main_en.ini" and so on, by language.
std::u16string SkinDescriptionPath(const std::u16string& skinsDir, SkinDescription which, LanguageMode language);

// Every table the descriptions fill. The main window owns the three pages; the warning layout is
// the warning dialog's.
struct SkinSet {
    SkinPage main{kMainEntries};
    SkinPage advanced{kAdvancedEntries};
    SkinPage colour{kColourEntries};
    SkinPage warning{kWarningEntries};
    FunctionNameTable functionNames{};
    MacroEditorRects editorRects{};
};

// Each loader overwrites its whole table from the active language's file.
void LoadMainSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin);
void LoadAdvancedSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin);
void LoadColorSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin);
void LoadWarningSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin);

// The four loaders in the order of a language switch: main, colour, advanced, warning.
void LoadAllSkins(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin);
