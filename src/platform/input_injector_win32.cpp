#include "platform/input_injector_win32.h"

#include <windows.h>

void SendInputInjector::KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendInputInjector::MouseButton(MouseButtonEvent event) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = static_cast<DWORD>(event);
    SendInput(1, &input, sizeof input);
}

std::uint32_t SendInputInjector::ScanCodeOf(std::uint8_t virtualKey) {
    return MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
}
