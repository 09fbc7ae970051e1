// The menus in the resources: every text (trailing spaces included), id and nesting, English
// and Chinese, as the rest of the program and the users' macro files expect them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handles_win32.h"
#include "resource.h"

namespace {
// One line per item: indentation for the depth, the text in brackets, then the id or "popup".
void Walk(HMENU menu, int depth, std::wstring& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        std::wstring text(info.cch + 1, L'\0');
        info.dwTypeData = text.data();
        info.cch += 1;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        text.resize(info.cch);
        out += std::wstring(depth * 2, L' ') + L"[" + text + L"] " +
               (info.hSubMenu ? std::wstring(L"popup") : std::to_wstring(info.wID)) + L"\n";
        if (info.hSubMenu) Walk(info.hSubMenu, depth + 1, out);
    }
}

std::wstring Describe(UINT menuId) {
    OwnedMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
    if (!menu) return L"<menu " + std::to_wstring(menuId) + L" missing>";
    std::wstring out;
    Walk(menu.get(), 0, out);
    return out;
}
}  // namespace

TEST(Menus, TrayMenusInBothLanguages) {
    EXPECT_EQ(Describe(IDR_MENU_TRAY_EN),
              L"[Menu_Tray] popup\n"
              L"  [Slot 1] 2101\n"
              L"  [Slot 2] 2102\n"
              L"  [Slot 3] 2103\n"
              L"  [Slot 4] 2104\n"
              L"  [Slot 5] 2105\n"
              L"  [] 0\n"
              L"  [Program profiles\u2026] 3050\n"
              L"  [Show indicator] 2110\n"
              L"  [Start with Windows] 32839\n"
              L"  [Show Window] 32801\n"
              L"  [Exit Driver] 32800\n");
    EXPECT_EQ(Describe(IDR_MENU_TRAY_CN),
              L"[托盘菜单] popup\n"
              L"  [配置 1] 2101\n"
              L"  [配置 2] 2102\n"
              L"  [配置 3] 2103\n"
              L"  [配置 4] 2104\n"
              L"  [配置 5] 2105\n"
              L"  [] 0\n"
              L"  [程序配置\u2026] 3051\n"
              L"  [显示状态提示      ] 2110\n"
              L"  [开机启动] 32840\n"
              L"  [显示窗口   ] 32837\n"
              L"  [关闭驱动] 32838\n");
}

TEST(Menus, MacroEditorMenusInBothLanguages) {
    EXPECT_EQ(Describe(IDR_MENU_MACRO_EN),
              L"[MENU_CN] popup\n"
              L"  [Add Forward] popup\n"
              L"    [Left Button] popup\n"
              L"      [Down ] 32802\n"
              L"      [Up] 32803\n"
              L"    [Right Button] popup\n"
              L"      [Down] 32804\n"
              L"      [Up] 32805\n"
              L"    [Mid Button] popup\n"
              L"      [Down] 32806\n"
              L"      [Up] 32807\n"
              L"  [Add Backward] popup\n"
              L"    [Left Button] popup\n"
              L"      [Down ] 32809\n"
              L"      [Up] 32810\n"
              L"    [Right Button] popup\n"
              L"      [Down] 32811\n"
              L"      [Up] 32812\n"
              L"    [Mid Button] popup\n"
              L"      [Down] 32813\n"
              L"      [Up] 32814\n"
              L"  [Modify Delay] 32780\n"
              L"  [Delete] 32781\n");
    EXPECT_EQ(Describe(IDR_MENU_MACRO_CN),
              L"[插入菜单] popup\n"
              L"  [项前插入    ] popup\n"
              L"    [左键    ] popup\n"
              L"      [向下    ] 32817\n"
              L"      [向上] 32818\n"
              L"    [右键] popup\n"
              L"      [向下    ] 32820\n"
              L"      [向上] 32821\n"
              L"    [中键] popup\n"
              L"      [向下    ] 32823\n"
              L"      [向上] 32824\n"
              L"  [项后插入] popup\n"
              L"    [左键   ] popup\n"
              L"      [向下  ] 32829\n"
              L"      [向上] 32830\n"
              L"    [右键   ] popup\n"
              L"      [向下   ] 32831\n"
              L"      [向上] 32832\n"
              L"    [中键   ] popup\n"
              L"      [向下   ] 32833\n"
              L"      [向上] 32834\n"
              L"  [修改延迟] 32835\n"
              L"  [删除] 32836\n");
}
