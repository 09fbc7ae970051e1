// The fonts' exact parameters: the painted layout is measured against them.
#include "app/ui_fonts_win32.h"

OwnedFont CreateEnglishUiFont() {
    return OwnedFont(CreateFontW(15, 7, 0, 0, 400, FALSE, FALSE, FALSE, 0, 2, 1, 0, 0x11, L"Consolas"));
}

OwnedFont CreateChineseUiFont() {
    return OwnedFont(CreateFontW(12, 6, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0x20, L"宋体"));
}
