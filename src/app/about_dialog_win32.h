// The About box, shown from the main window's system menu.
#pragma once

#include "platform/window_framework_win32.h"

class CAboutDlg : public Dialog {
public:
    CAboutDlg();
};
