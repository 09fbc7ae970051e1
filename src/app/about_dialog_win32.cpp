// The About box has nothing to do but close; OK and Esc do that through the base class.
#include "app/about_dialog_win32.h"

#include "resource.h"

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
