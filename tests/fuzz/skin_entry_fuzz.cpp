// Feeds arbitrary values to the skin entry reader: the comma cutting, the number conversion and
// the loaders' table filling must never read or write outside their buffers, whatever a skin
// file holds. The input is one value, as UTF-8 or raw UTF-16 units.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/text.h"
#include "skin/skin_description.h"
#include "support/fake_skin_files.h"
#include "support/memory_profile.h"

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

    MemoryProfile profile;  // every key of every file holds the value
    profile.anyOtherKey = value;
    profile.recordReads = false;
    FakeSkinFiles messages;
    messages.everyFileExists = true;
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
