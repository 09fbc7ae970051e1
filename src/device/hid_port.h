// The HID layer every device conversation goes through: enumerating HID interfaces, opening one,
// sending a feature report and reading an input report. The Windows backend implements it with
// SetupDi/HidD calls, the virtual mouse in memory, tests with fakes that record what was asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>

// The size of the program's report buffers; longer reports are cut to it.
constexpr std::size_t kReportBufferSize = 256;

// Vendor and product id (HidD_GetAttributes).
struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// The parts of an interface's capabilities (HidP_GetCaps) that the program uses.
struct HidCapabilities {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;    // InputReportByteLength, report ID included
    std::uint16_t featureReportLength = 0;  // FeatureReportByteLength, report ID included
};

// One HID interface as the enumeration found it.
struct HidInterfaceInfo {
    std::u16string path;                          // device interface path
    std::optional<HidAttributes> attributes;      // nothing: could not be opened or read
    std::optional<HidCapabilities> capabilities;  // nothing: could not be read
};

enum class HidAccess { Read, Write };

// An open HID interface. Destroying it closes it. Safe to use from several threads.
class HidHandle {
public:
    virtual ~HidHandle() = default;
    // HidD_SetFeature: report ID first, exactly the interface's feature report length. False when
    // the device did not take it.
    virtual bool SendFeatureReport(std::span<const std::uint8_t> report) = 0;
    // Blocks until one input report arrives and copies at most buffer.size() bytes of it; returns
    // the number of bytes copied, or nothing when the read failed (device gone, wrong interface)
    // or stop was requested. A stop requested while the read waits ends it at once.
    virtual std::optional<std::size_t> ReadInputReport(std::span<std::uint8_t> buffer, std::stop_token stop) = 0;
};

// A snapshot of the present HID interfaces (one device information set), read by member index.
class HidEnumeration {
public:
    virtual ~HidEnumeration() = default;
    // The interface at memberIndex, or nothing when enumeration fails at that index (past the
    // end of the list, or a transient error: later indexes may still answer).
    virtual std::optional<HidInterfaceInfo> Interface(int memberIndex) = 0;
};

class HidPort {
public:
    virtual ~HidPort() = default;
    // Takes a snapshot of the present HID interfaces; nothing when that fails.
    virtual std::unique_ptr<HidEnumeration> Enumerate() = 0;
    // Opens an interface for reading input reports or for sending feature reports; nothing when
    // opening failed.
    virtual std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) = 0;
    // Asks for arrival and removal notifications of HID interfaces for the main window. Called
    // for every matching interface a discovery finds; an implementation registers once and
    // ignores repeats, since every registration would deliver its own copy of each notification.
    virtual void RegisterDeviceNotifications() = 0;
};
