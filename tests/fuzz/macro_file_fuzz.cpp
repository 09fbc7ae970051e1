// The macro file decoder on arbitrary values: the input's lines are the values of "macroNum",
// "0", "1", ... of section "Macros". Loading must not crash or read past anything, and the
// loaded store, saved and loaded again, must come back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "macros/macro_file.h"
#include "platform/text.h"
#include "support/memory_profile.h"
#include "support/recording_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = Utf16FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
    MemoryProfile file;
    std::size_t start = 0;
    for (int line = 0; start <= text.size() && line <= kMaxMacros + 2; ++line) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        file.WriteString(u"", kMacroSection, line == 0 ? std::u16string(kMacroCountKey) : DecimalText(line - 1),
                         text.substr(start, end - start));
        start = end + 1;
    }

    RecordingMessages messages;
    MacroStore loaded;
    LoadMacroFile(file, messages, loaded, u"");
    const MacroStoreData first = loaded.Copy();
    if (first.count < 0 || first.count > kMaxMacros) __builtin_trap();

    MemoryProfile saved;
    SaveMacroFile(saved, loaded, u"");
    MacroStore reloaded;
    LoadMacroFile(saved, messages, reloaded, u"");
    if (!(reloaded.Copy() == first)) __builtin_trap();
    return 0;
}
