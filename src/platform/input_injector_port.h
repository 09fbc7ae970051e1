// Injection of keyboard and mouse-button input into the user's desktop. The flag values are
// those of the Windows input structures, so the Windows side passes them through unchanged.
#pragma once

#include <cstdint>

// Key event flags (KEYEVENTF_EXTENDEDKEY, KEYEVENTF_KEYUP).
constexpr std::uint32_t kKeyExtended = 0x0001;
constexpr std::uint32_t kKeyUp = 0x0002;

// Mouse button events (MOUSEEVENTF_*).
enum class MouseButtonEvent : std::uint32_t {
    LeftDown = 0x0002,
    LeftUp = 0x0004,
    RightDown = 0x0008,
    RightUp = 0x0010,
    MiddleDown = 0x0020,
    MiddleUp = 0x0040,
};

class InputInjectorPort {
public:
    virtual ~InputInjectorPort() = default;
    // One key event: virtual key, scan code and flags, no extra information.
    virtual void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) = 0;
    // One mouse button event at the pointer's place: no movement, no wheel data.
    virtual void MouseButton(MouseButtonEvent event) = 0;
    // The scan code of a virtual key in the current keyboard layout (MAPVK_VK_TO_VSC); 0 if none.
    virtual std::uint32_t ScanCodeOf(std::uint8_t virtualKey) = 0;
};
