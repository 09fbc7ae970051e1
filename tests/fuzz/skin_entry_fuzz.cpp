// Feeds arbitrary values to the skin entry reader: the comma cutting, the number conversion and
// the loaders' table filling must never read or write outside their buffers, whatever a skin
// file holds. The input is one value, as UTF-8 or raw UTF-16 units.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/text.h"
#include "skin/skin_description.h"

namespace {

class OneValueProfile : public ProfilePort {
public:
    explicit OneValueProfile(std::u16string value) : value_(std::move(value)) {}
    std::u16string ReadString(const std::u16string&, const std::u16string&, const std::u16string&,
                              std::size_t bufferChars) override {
        return value_.substr(0, bufferChars - 1);
    }
    bool WriteString(const std::u16string&, const std::u16string&, const std::u16string&,
                     const std::u16string&) override {
        return false;
    }

private:
    std::u16string value_;
};

class QuietMessages : public MessagePort {
public:
    bool FileExists(const std::u16string&) override { return true; }
    void ShowMessage(std::u16string_view) override { ++shown; }
    int shown = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string value;
    if (size > 0 && data[0] == 0xFF) {  // raw UTF-16 units, unpaired surrogates and all
        for (std::size_t i = 1; i + 1 < size; i += 2) value.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    } else {
        value = Utf16FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
    }

    int commas = 0;
    const SkinFields fields = SplitSkinValue(value, &commas);
    std::size_t total = 0;
    for (const auto& field : fields) total += field.size();
    const std::size_t kept = commas > kSkinFieldCount - 1 ? kSkinFieldCount - 1 : static_cast<std::size_t>(commas);
    if (total + kept != value.size()) __builtin_trap();  // the fields and the commas cut make up the value

    OneValueProfile profile(value);
    QuietMessages messages;
    SkinReadContext context{profile, messages, {}};
    SkinSet skin;
    LoadMainSkin(context, u"S", LanguageMode::English, skin);
    LoadAdvancedSkin(context, u"S", LanguageMode::Chinese, skin);
    for (int key = -1; key <= 100; ++key) {
        const SkinEntry& entry = skin.main.At(key);
        (void)entry.Rect().Contains(entry.x, entry.y);
    }
    (void)skin.main.HitTest(0, 0, 99);
    return 0;
}
