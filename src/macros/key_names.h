// The names that the macro editor shows for the key codes of macro events.
#pragma once

#include <cstdint>
#include <string>

#include "core/language.h"

// Letters, digits, the named virtual keys without their "VK_" prefix, punctuation and the mouse
// buttons; any other code is "Not Available" in English and "不可录制" in Chinese.
std::u16string KeyName(std::uint8_t code, LanguageMode language);
