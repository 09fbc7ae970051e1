// The input injector of the program: SendInput with the same virtual keys, scan codes and flags
// that keybd_event and mouse_event would be given, and MapVirtualKeyW for scan codes.
#pragma once

#include "platform/input_injector_port.h"

class SendInputInjector : public InputInjectorPort {
public:
    void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
    void MouseButton(MouseButtonEvent event) override;
    std::uint32_t ScanCodeOf(std::uint8_t virtualKey) override;
};
