// Entry point of HXT_GMouse.exe. The test build (HXT_TEST_HOOKS) adds the virtual mouse and the
// measurement logs; this is the only file that looks at the definition, so both builds share
// every other object.
#include <windows.h>

#include "app/hxt_app_win32.h"
#ifdef HXT_TEST_HOOKS
#include "app/virtual_mouse_session_win32.h"
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef HXT_TEST_HOOKS
    CHXT_GMouseApp app(TestHooks{&CreateVirtualMouseSession, true});
#else
    CHXT_GMouseApp app(TestHooks{});
#endif
    return app.Run(instance);
}
