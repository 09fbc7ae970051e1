// A mouse in memory that answers to the HID port as the real one does, for demonstrations and
// end-to-end tests: it lists the mouse's interfaces (after one interface of another device, so
// discovery has something to pass over), takes feature reports and keeps the state they set,
// and produces the input reports of buttons in host mode. Unplugging and plugging it changes the
// list, kills open handles and fires the notifications Windows would send.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/hid_port.h"

constexpr std::uint16_t kVirtualReportLength = 9;  // feature and input report length
constexpr std::size_t kVirtualInputQueue = 32;     // reports kept unread, as a HID driver's ring
constexpr int kVirtualHardwareButtons = 8;

enum class DeviceChange { Arrival, Removal };

// What the feature reports received so far have set; nothing where no report set it yet.
struct VirtualMouseState {
    std::array<std::optional<std::uint8_t>, kVirtualHardwareButtons> map;  // hardware buttons 1..8
    std::optional<std::uint8_t> dpiStage;
    std::optional<int> dpiValue;  // high nibble of the DPI/LED byte minus 8
    std::optional<std::uint8_t> led;
    std::optional<std::uint8_t> wheel;
    std::optional<std::uint8_t> fire;  // the raw byte: FIRE_TIME / 8
};

// Outcome of a button event.
enum class ButtonReport { Sent, NoReport, Unplugged, NoSuchButton };

class VirtualMouse : public HidPort {
public:
    VirtualMouse();
    ~VirtualMouse() override;
    VirtualMouse(const VirtualMouse&) = delete;
    VirtualMouse& operator=(const VirtualMouse&) = delete;

    // HidPort.
    std::unique_ptr<HidEnumeration> Enumerate() override;
    std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) override;
    void RegisterDeviceNotifications() override;

    // Configuration button 1..7 goes down or up: a button in host mode reports 06 F0+id on the
    // press and 06 00 on the release; a button on a device function reports nothing. The report
    // sent, if any, goes to sent.
    ButtonReport Press(int button, std::vector<std::uint8_t>* sent = nullptr);
    ButtonReport Release(int button, std::vector<std::uint8_t>* sent = nullptr);
    // A raw input report, report ID first, padded with zeros to the report length. False when
    // unplugged, empty or longer than the report length.
    bool QueueInputReport(std::span<const std::uint8_t> report);

    // Feature reports received since the start or the last clear, oldest first.
    std::vector<std::vector<std::uint8_t>> FeatureReports() const;
    void ClearFeatureReports();
    VirtualMouseState State() const;

    // The mouse leaves or arrives. False when it already was in that state.
    bool Unplug();
    bool Plug();
    bool Plugged() const;

    // Paths of the mouse's own interfaces, in listing order.
    std::vector<std::u16string> MouseInterfacePaths() const;
    // Called once per interface of the mouse when it leaves or arrives, as Windows sends a
    // notification per interface, and only once notifications were registered. Called on the
    // thread that unplugs or plugs, without the mouse's lock held.
    void SetNotificationCallback(std::function<void(DeviceChange, const std::u16string& path)> callback);
    int NotificationRegistrations() const;
    // Receives each feature report taken, as its hex line, at once. Called with the mouse's lock
    // held: it must not call back into the mouse.
    void SetFeatureLog(std::function<void(const std::string& line)> log);
    // Times a blocked read woke up (to see that an idle mouse wakes nobody).
    std::uint64_t ReadWakeups() const;

    struct Core;

private:
    std::shared_ptr<Core> core_;
};

// Bytes as upper-case hex pairs separated by single spaces: "07 12 06 00".
std::string HexLine(std::span<const std::uint8_t> bytes);
