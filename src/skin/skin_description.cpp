#include "skin/skin_description.h"

#include <utility>

#include "platform/text.h"
#include "skin/skin_entries.h"

namespace {

// GetPrivateProfileStringW into the program's 260-character buffer.
constexpr std::size_t kValueBufferChars = 260;

PixelRect RectOf(const SkinEntry& entry) { return entry.Rect(); }

}  // namespace

SkinFields SplitSkinValue(std::u16string_view value, int* commaCount) {
    SkinFields fields;
    int commas = 0;
    std::size_t start = 0;
    int field = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != u',') continue;
        ++commas;
        // The sixth comma closes field 5; field 6 keeps the rest, commas and all.
        if (field < kSkinFieldCount - 1) {
            fields[static_cast<std::size_t>(field)] = std::u16string(value.substr(start, i - start));
            ++field;
            start = i + 1;
        }
    }
    fields[static_cast<std::size_t>(field)] = std::u16string(value.substr(start));
    if (commaCount) *commaCount = commas;
    return fields;
}

std::u16string MalformedSkinEntryMessage(LanguageMode language, std::u16string_view path, std::u16string_view section,
                                         int key) {
    const bool english = language == LanguageMode::English;
    std::u16string text = english ? u"A line of the window's description has more than six commas; the window "
                                    u"shows it as far as it can be read.\nFile: "
                                  : u"窗口描述文件中有一行的逗号多于六个；窗口只显示其中能读取的部分。\n文件：";
    text += path;
    text += english ? u"\nEntry: [" : u"\n条目：[";
    text += section;
    text += u"] ";
    text += DecimalText(key);
    return text;
}

SkinFileReader::SkinFileReader(SkinReadContext& context, std::u16string path)
    : context_(context), path_(std::move(path)) {
    found_ = context_.messages.FileExists(path_);
    if (!found_) {
        // Reported once for the file; the program then closes, and the loader carries on with
        // empty entries so the tables never hold a mix of two languages.
        context_.messages.ShowMessage(MissingSkinFileMessage(context_.language, path_));
        if (!context_.closeRequested && context_.closeProgram) {
            context_.closeRequested = true;
            context_.closeProgram();
        }
    }
}

SkinFields SkinFileReader::ReadSkinEntry(std::u16string_view section, int key) {
    if (!found_) return {};
    const std::u16string value =
        context_.profile.ReadString(path_, std::u16string(section), DecimalText(key), kValueBufferChars);
    int commas = 0;
    SkinFields fields = SplitSkinValue(value, &commas);
    if (commas > kSkinFieldCount - 1 && !context_.malformedReported) {
        context_.malformedReported = true;
        context_.messages.ShowMessage(MalformedSkinEntryMessage(context_.language, path_, section, key));
    }
    return fields;
}

SkinEntry SkinFileReader::ReadPosition(std::u16string_view section, int key) {
    SkinFields fields = ReadSkinEntry(section, key);
    SkinEntry entry;
    entry.x = WtoI(fields[1]);
    entry.y = WtoI(fields[2]);
    entry.width = WtoI(fields[3]);
    entry.height = WtoI(fields[4]);
    entry.text = std::move(fields[5]);
    return entry;
}

const std::u16string& FunctionName(const FunctionNameTable& names, std::int64_t code) {
    static const std::u16string kNone;
    if (code < 1 || code > kFunctionNameCount) return kNone;
    return names[static_cast<std::size_t>(code - 1)];
}

std::u16string SkinDescriptionPath(const std::u16string& skinsDir, SkinDescription which, LanguageMode language) {
    const bool english = language == LanguageMode::English;
    const char16_t* name = u"";
    switch (which) {
        case SkinDescription::Main: name = english ? u"skin_main_en.ini" : u"skin_main.ini"; break;
        case SkinDescription::Advanced: name = english ? u"skin_advance_en.ini" : u"skin_advance.ini"; break;
        case SkinDescription::Colour: name = english ? u"skin_color_en.ini" : u"skin_color.ini"; break;
        case SkinDescription::Warning: name = english ? u"LBWarning_en.ini" : u"LBWarning.ini"; break;
    }
    return skinsDir + (english ? u"\\INI_EN\\" : u"\\INI_CN\\") + name;
}

namespace {

void LoadPositions(SkinFileReader& reader, SkinPage& page) {
    for (std::size_t key = 0; key < page.Size(); ++key) {
        *page.Find(static_cast<std::int64_t>(key)) = reader.ReadPosition(kPositionSection, static_cast<int>(key));
    }
}

}  // namespace

void LoadMainSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin) {
    SkinFileReader reader(context, SkinDescriptionPath(skinsDir, SkinDescription::Main, language));
    LoadPositions(reader, skin.main);
    for (int code = 1; code <= kFunctionNameCount; ++code) {
        skin.functionNames[static_cast<std::size_t>(code - 1)] = reader.ReadSkinEntry(u"FUN_STRING", code)[0];
    }
}

void LoadAdvancedSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language,
                      SkinSet& skin) {
    SkinFileReader reader(context, SkinDescriptionPath(skinsDir, SkinDescription::Advanced, language));
    LoadPositions(reader, skin.advanced);
    // Read in file order, so a malformed entry reported is the first of the file.
    const auto read = [&reader](const EditorEntry::Key& at) { return reader.ReadPosition(at.section, at.key); };
    const SkinEntry repeatCount = read(EditorEntry::kRepeatCountBox);
    const SkinEntry name = read(EditorEntry::kNameBox);
    const SkinEntry macroList = read(EditorEntry::kMacroList);
    const SkinEntry eventList = read(EditorEntry::kEventList);
    skin.editorRects = {RectOf(repeatCount), RectOf(name), RectOf(macroList), RectOf(eventList)};
}

void LoadColorSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin) {
    SkinFileReader reader(context, SkinDescriptionPath(skinsDir, SkinDescription::Colour, language));
    LoadPositions(reader, skin.colour);
}

void LoadWarningSkin(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language,
                     SkinSet& skin) {
    SkinFileReader reader(context, SkinDescriptionPath(skinsDir, SkinDescription::Warning, language));
    LoadPositions(reader, skin.warning);
}

void LoadAllSkins(SkinReadContext& context, const std::u16string& skinsDir, LanguageMode language, SkinSet& skin) {
    LoadMainSkin(context, skinsDir, language, skin);
    LoadColorSkin(context, skinsDir, language, skin);
    LoadAdvancedSkin(context, skinsDir, language, skin);
    LoadWarningSkin(context, skinsDir, language, skin);
}
