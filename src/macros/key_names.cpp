#include "macros/key_names.h"

#include <array>

#include "platform/text.h"

namespace {
struct NamedKey {
    std::uint8_t code;
    const char16_t* name;
};

// Codes whose names are not letters, digits or a numbered series.
constexpr NamedKey kNamedKeys[] = {
    {8, u"BACK"},         {9, u"TAB"},        {12, u"CLEAR"},      {13, u"RETURN"},      {16, u"SHIFT"},
    {17, u"CONTROL"},     {18, u"MENU"},      {19, u"PAUSE"},      {20, u"CAPITAL"},     {21, u"KANA"},
    {23, u"JUNJA"},       {24, u"FINAL"},     {25, u"HANJA"},      {27, u"ESCAPE"},      {28, u"CONVERT"},
    {29, u"NONCONVERT"},  {30, u"ACCEPT"},    {31, u"MODECHANGE"}, {32, u"SPACE"},       {33, u"PRIOR"},
    {34, u"NEXT"},        {35, u"END"},       {36, u"HOME"},       {37, u"LEFT"},        {38, u"UP"},
    {39, u"RIGHT"},       {40, u"DOWN"},      {41, u"SELECT"},     {42, u"PRINT"},       {43, u"EXECUTE"},
    {44, u"SNAPSHOT"},    {45, u"INSERT"},    {46, u"DELETE"},     {47, u"HELP"},        {91, u"LWIN"},
    {92, u"RWIN"},        {93, u"APPS"},      {95, u"SLEEP"},      {106, u"MULTIPLY"},   {107, u"ADD"},
    {108, u"SEPARATOR"},  {109, u"SUBTRACT"}, {110, u"DECIMAL"},   {111, u"DIVIDE"},     {144, u"NUMLOCK"},
    {145, u"SCROLL"},     {160, u"LSHIFT"},   {161, u"RSHIFT"},    {162, u"LCONTROL"},   {163, u"RCONTROL"},
    {164, u"LMENU"},      {165, u"RMENU"},    {186, u";:"},        {187, u"+"},          {188, u","},
    {189, u"-"},          {190, u"."},        {191, u"/?"},        {192, u"`~"},         {219, u"[{"},
    {220, u"\\|"},        {221, u"]}"},       {222, u" ' "},       {240, u"Left_Key"},   {241, u"Right_Key"},
    {242, u"Middle_Key"},
};
}  // namespace

std::u16string KeyName(std::uint8_t code, LanguageMode language) {
    if (code >= 'A' && code <= 'Z') return std::u16string(1, static_cast<char16_t>(code));
    if (code >= '0' && code <= '9') return DecimalText(code - 48);
    if (code >= 96 && code <= 105) return u"NUMPAD" + DecimalText(code - 96);
    if (code >= 112 && code <= 135) return u"F" + DecimalText(code - 111);
    for (const NamedKey& key : kNamedKeys) {
        if (key.code == code) return key.name;
    }
    return language == LanguageMode::English ? u"Not Available" : u"不可录制";
}
