// Finding the mouse: its two vendor interfaces among all HID interfaces (0xFF00/1 to read input
// reports from, 0xFF01/1 to send feature reports to), the handles opened on them, their report
// lengths, and recognising a device notification that concerns the mouse.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "device/hid_port.h"

constexpr std::uint16_t kMouseVendorId = 0x18F8;
constexpr std::uint16_t kMouseProductId = 0x0F99;
constexpr std::uint16_t kInputUsagePage = 0xFF00;    // input reports, report ID 6
constexpr std::uint16_t kFeatureUsagePage = 0xFF01;  // feature reports, report ID 7
constexpr std::uint16_t kVendorUsage = 1;
constexpr int kDiscoveryAttempts = 100;              // member indexes 0..99 are examined
constexpr std::uint32_t kDeviceInterfaceType = 5;    // DBT_DEVTYP_DEVICEINTERFACE

// A handle of the link: never opened (the initial state, and "not found"), opening failed, or open.
enum class HandleState { Null, Invalid, Open };

struct LinkHandle {
    HandleState state = HandleState::Null;
    std::shared_ptr<HidHandle> handle;  // set exactly when state is Open

    bool IsOpen() const { return state == HandleState::Open; }
    // Open when the port gave a handle, Invalid when opening failed.
    static LinkHandle FromOpen(std::unique_ptr<HidHandle> opened);
};

// What the input listener reads from: the read handle, the bytes to ask for, and which
// discovery installed it.
struct ReadEndpoint {
    std::shared_ptr<HidHandle> handle;
    std::size_t length = 0;
    std::uint64_t generation = 0;
};

// Where feature reports go: the write handle and the bytes to send.
struct WriteEndpoint {
    std::shared_ptr<HidHandle> handle;
    std::size_t length = 0;
};

// The one link to the mouse. Discovery (on the window's thread) installs the handles; the sender
// and the listener take them from here on their own threads.
class DeviceLink {
public:
    struct Discovered {
        LinkHandle read;
        LinkHandle write;
        std::uint16_t featureReportLength = 0;
        std::uint16_t inputReportLength = 0;
        std::optional<std::u16string> devicePath;  // nothing: keep the last one known
        bool present = false;
    };

    LinkHandle ReadHandle() const;
    LinkHandle WriteHandle() const;
    std::uint16_t FeatureReportLength() const;  // at most kReportBufferSize
    // The open write handle and the feature report length, without waiting for the link's lock
    // for long: nothing when it stays taken (by a thread that crashed holding it, perhaps) or
    // the handle is not open. For the last report of a crashing program.
    std::optional<WriteEndpoint> TryWriter() const;
    std::uint16_t InputReportLength() const;    // at most kReportBufferSize
    std::u16string DevicePath() const;
    bool DevicePresent() const { return present_.load(); }
    // Cleared by the window when the mouse is removed.
    void SetDevicePresent(bool present) { present_.store(present); }
    // Counts the discoveries installed so far.
    std::uint64_t Generation() const;

    // Replaces the link's state with a discovery's result (lengths bounded to the buffers) and
    // wakes a listener waiting for a read handle.
    void Install(Discovered found);

    // Blocks until the link has a read handle worth reading: open, with an input report length
    // of at least the two bytes a report is judged by. After a failed read on generation
    // failedGeneration, waits for a newer discovery, but at most retryAfter before trying the
    // same handle again. Nothing when stop is requested.
    std::optional<ReadEndpoint> WaitForReader(std::stop_token stop, std::optional<std::uint64_t> failedGeneration,
                                              std::chrono::milliseconds retryAfter);

private:
    bool ReaderUsable() const;  // with mutex_ held
    ReadEndpoint Reader() const;  // with mutex_ held

    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    LinkHandle read_;
    LinkHandle write_;
    std::uint16_t featureReportLength_ = 0;
    std::uint16_t inputReportLength_ = 0;
    std::u16string devicePath_;
    std::uint64_t generation_ = 0;
    std::atomic<bool> present_{false};
};

// Examines member indexes 0..99 of a snapshot of the HID interfaces, stopping once both vendor
// interfaces of the mouse are found, opens a handle on each and installs the result into link.
// Asks for device notifications for every interface of the mouse it meets. Returns true exactly
// when both vendor interfaces were found.
bool DiscoverDevice(HidPort& port, DeviceLink& link);

// True when a device notification (broadcast device type and interface name) concerns the
// mouse: a device interface whose name equals DevicePath, ignoring the case of A to Z.
bool IsOurDevice(const DeviceLink& link, std::uint32_t deviceType, std::u16string_view interfaceName);
