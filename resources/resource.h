// Resource ids shared by HXT_GMouse.rc and the code that loads dialogs, menus, strings and icons.
#pragma once

// System-menu command of the About box (low four bits stay clear, as WM_SYSCOMMAND requires).
#define IDM_ABOUTBOX 0x0010

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_HXT_GMOUSE_DIALOG 102
// Pop-up pages of the main window; their contents come with the features that use them.
#define IDD_POPUP_PAGE1 103
#define IDD_POPUP_PAGE2 104
#define IDD_POPUP_PAGE3 105

#define IDR_MENU_MACRO_EN 154
#define IDR_MENU_TRAY_EN 157
#define IDR_MAINFRAME 159
#define IDR_MENU_MACRO_CN 161
#define IDR_MENU_TRAY_CN 162

#define IDC_STATIC (-1)

// The program profiles dialog: which slot goes with which program.
#define IDD_PROGRAM_PROFILES 300
#define IDC_PROFILES_LIST 3000
#define IDC_PROFILES_ADD 3001
#define IDC_PROFILES_ADD_LAST_IN_FRONT 3002
#define IDC_PROFILES_REMOVE 3003
#define IDC_PROFILES_SLOT_LABEL 3004
#define IDC_PROFILES_SLOT 3005
#define IDC_PROFILES_ON 3006

// Tray menu, English.
#define ID_TRAY_EXIT 32800
#define ID_TRAY_SHOW 32801
#define ID_TRAY_STARTUP 32839
// Tray menu, both languages: the five slots (in order) and the indicator.
#define ID_TRAY_SLOT1 2101
#define ID_TRAY_SLOT2 2102
#define ID_TRAY_SLOT3 2103
#define ID_TRAY_SLOT4 2104
#define ID_TRAY_SLOT5 2105
#define ID_TRAY_INDICATOR 2110
#define ID_TRAY_PROFILES 3050
// Tray menu, Chinese.
#define ID_TRAY_SHOW_CN 32837
#define ID_TRAY_EXIT_CN 32838
#define ID_TRAY_STARTUP_CN 32840
#define ID_TRAY_PROFILES_CN 3051

// Macro editor menu, English: insert a button event before ("FWD") or after ("BACK") the
// selected entry, change its delay, delete it.
#define ID_MACRO_MODIFY_DELAY 32780
#define ID_MACRO_DELETE 32781
#define ID_MACRO_FWD_LEFT_DOWN 32802
#define ID_MACRO_FWD_LEFT_UP 32803
#define ID_MACRO_FWD_RIGHT_DOWN 32804
#define ID_MACRO_FWD_RIGHT_UP 32805
#define ID_MACRO_FWD_MID_DOWN 32806
#define ID_MACRO_FWD_MID_UP 32807
#define ID_MACRO_BACK_LEFT_DOWN 32809
#define ID_MACRO_BACK_LEFT_UP 32810
#define ID_MACRO_BACK_RIGHT_DOWN 32811
#define ID_MACRO_BACK_RIGHT_UP 32812
#define ID_MACRO_BACK_MID_DOWN 32813
#define ID_MACRO_BACK_MID_UP 32814

// Macro editor menu, Chinese.
#define ID_MACRO_FWD_LEFT_DOWN_CN 32817
#define ID_MACRO_FWD_LEFT_UP_CN 32818
#define ID_MACRO_FWD_RIGHT_DOWN_CN 32820
#define ID_MACRO_FWD_RIGHT_UP_CN 32821
#define ID_MACRO_FWD_MID_DOWN_CN 32823
#define ID_MACRO_FWD_MID_UP_CN 32824
#define ID_MACRO_BACK_LEFT_DOWN_CN 32829
#define ID_MACRO_BACK_LEFT_UP_CN 32830
#define ID_MACRO_BACK_RIGHT_DOWN_CN 32831
#define ID_MACRO_BACK_RIGHT_UP_CN 32832
#define ID_MACRO_BACK_MID_DOWN_CN 32833
#define ID_MACRO_BACK_MID_UP_CN 32834
#define ID_MACRO_MODIFY_DELAY_CN 32835
#define ID_MACRO_DELETE_CN 32836
