// The macro file decoder on arbitrary values: the input's lines are the values of "macroNum",
// "0", "1", ... of section "Macros". Loading must not crash or read past anything, and the
// loaded store, saved and loaded again, must come back the same.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "macros/macro_file.h"
#include "platform/text.h"

namespace {

class MapProfile : public ProfilePort {
public:
    std::u16string ReadString(const std::u16string&, const std::u16string& section, const std::u16string& key,
                              std::size_t bufferChars) override {
        const auto it = values_.find(section + u"/" + key);
        if (it == values_.end() || bufferChars == 0) return {};
        return it->second.substr(0, bufferChars - 1);
    }
    bool WriteString(const std::u16string&, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override {
        values_[section + u"/" + key] = value;
        return true;
    }

private:
    std::map<std::u16string, std::u16string> values_;
};

struct IgnoreMessages : MessagePort {
    void ShowMessage(std::u16string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = Utf16FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
    MapProfile file;
    std::size_t start = 0;
    for (int line = 0; start <= text.size() && line <= kMaxMacros + 2; ++line) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        file.WriteString(u"", kMacroSection, line == 0 ? std::u16string(kMacroCountKey) : DecimalText(line - 1),
                         text.substr(start, end - start));
        start = end + 1;
    }

    IgnoreMessages messages;
    MacroStore loaded;
    LoadMacroFile(file, messages, loaded, u"");
    const MacroStoreData first = loaded.Copy();
    if (first.count < 0 || first.count > kMaxMacros) __builtin_trap();

    MapProfile saved;
    SaveMacroFile(saved, loaded, u"");
    MacroStore reloaded;
    LoadMacroFile(saved, messages, reloaded, u"");
    if (!(reloaded.Copy() == first)) __builtin_trap();
    return 0;
}
