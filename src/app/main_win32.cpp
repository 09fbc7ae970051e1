// Entry point of HXT_GMouse.exe.
#include <windows.h>

#include "app/hxt_app_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CHXT_GMouseApp app;
    return app.Run(instance);
}
