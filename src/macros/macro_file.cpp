#include "macros/macro_file.h"

#include <algorithm>

#include "platform/text.h"

namespace {
// "macroNum" holds at most "12"; a few characters more let a larger or signed value be seen
// as such and bounded, rather than cut into a different number.
constexpr std::size_t kCountBufferChars = 16;
}  // namespace

std::u16string EncodeMacroValue(const MacroImage& image) {
    std::u16string out;
    out.reserve(kMacroValueChars);
    for (const std::uint8_t b : image) {
        out.push_back(static_cast<char16_t>(u'0' + b / 100));
        out.push_back(static_cast<char16_t>(u'0' + b / 10 % 10));
        out.push_back(static_cast<char16_t>(u'0' + b % 10));
    }
    return out;
}

MacroImage DecodeMacroValue(std::u16string_view value) {
    MacroImage image{};
    for (std::size_t i = 0; i < kMacroImageSize; ++i) {
        const std::size_t start = 3 * i;
        if (start >= value.size()) break;
        const int number = WtoI(value.substr(start, 3));
        image[i] = static_cast<std::uint8_t>(static_cast<unsigned>(number) & 0xFF);
    }
    return image;
}

void LoadMacroFile(ProfilePort& profile, MessagePort& messages, MacroStore& store, const std::u16string& path) {
    if (!messages.FileExists(path)) messages.ShowMessage(kMissingFileMessage);

    // Read everything first, then replace the store in one step under its lock.
    const int rawCount = WtoI(profile.ReadString(path, kMacroSection, kMacroCountKey, kCountBufferChars));
    const int counted = std::clamp(rawCount, 0, kMaxMacros);
    std::array<MacroRecord, kMaxMacros> loaded{};
    int count = 0;
    for (; count < counted; ++count) {
        const std::u16string value = profile.ReadString(path, kMacroSection, DecimalText(count), kMacroValueChars + 1);
        // A count beyond the records would show empty macros that play nothing.
        if (value.empty()) break;
        loaded[count] = DecodeRecord(DecodeMacroValue(value));
    }
    store.Edit([&](MacroStoreData& data) {
        std::copy_n(loaded.begin(), count, data.records.begin());
        data.count = static_cast<std::int16_t>(count);
        data.selected = count >= 1 ? count - 1 : 0;
        // Macros imported from another file are not in the program's file yet.
        if (path == data.filePath) MarkMacrosSaved(data, data);
    });
}

bool SaveMacroFile(ProfilePort& profile, MacroStore& store, const std::u16string& path) {
    const MacroStoreData data = store.Copy();
    const int count = std::clamp<int>(data.count, 0, kMaxMacros);
    const bool saved = profile.SaveWhole(path, [&](const std::u16string& target) {
        // The count goes last, after every macro it counts.
        for (int m = 0; m < count; ++m) {
            if (!profile.WriteString(target, kMacroSection, DecimalText(m),
                                     EncodeMacroValue(EncodeRecord(data.records[m])))) {
                return false;
            }
        }
        return profile.WriteString(target, kMacroSection, kMacroCountKey, DecimalText(count));
    });
    if (saved && path == data.filePath) {
        store.Edit([&](MacroStoreData& now) { MarkMacrosSaved(now, data); });
    }
    return saved;
}

void SelectMacroFile(MacroStore& store, AppPaths& paths, LanguageMode language) {
    paths.MacroFilePath = MacroFilePathOf(paths.ProgramDir, language);
    store.Edit([&](MacroStoreData& data) { data.filePath = paths.MacroFilePath; });
}

void LoadLanguageMacros(ProfilePort& profile, MessagePort& messages, MacroStore& store, AppPaths& paths,
                        LanguageMode language) {
    SelectMacroFile(store, paths, language);
    LoadMacroFile(profile, messages, store, paths.MacroFilePath);
}

std::u16string DefaultMacroFilePath(const std::u16string& skinsDir, LanguageMode language) {
    return skinsDir + (language == LanguageMode::English ? u"\\INI_EN\\defMacro.dat" : u"\\INI_CN\\defMacro.dat");
}

bool ResetMacrosToDefaults(ProfilePort& profile, MessagePort& messages, MacroStore& store,
                           const std::u16string& programDir, const std::u16string& skinsDir,
                           LanguageMode language) {
    const std::u16string defaults = DefaultMacroFilePath(skinsDir, language);
    if (!messages.FileExists(defaults)) {
        messages.ShowMessage(kMissingFileMessage);
        return false;
    }
    LoadMacroFile(profile, messages, store, defaults);
    // The macros in memory are the defaults now, saved or not; a list must show them.
    if (!SaveMacroFile(profile, store, MacroFilePathOf(programDir, language))) {
        messages.ShowMessage(MacroSaveFailedMessage(language));
    }
    return true;
}
