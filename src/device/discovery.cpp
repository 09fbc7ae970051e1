#include "device/discovery.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "platform/text.h"

namespace {
std::uint16_t BoundedLength(std::uint16_t length) {
    return static_cast<std::uint16_t>(std::min<std::size_t>(length, kReportBufferSize));
}

bool IsMouse(const HidInterfaceInfo& info) {
    return info.attributes && info.attributes->vendorId == kMouseVendorId &&
           info.attributes->productId == kMouseProductId;
}

bool HasUsage(const HidInterfaceInfo& info, std::uint16_t usagePage) {
    return info.capabilities && info.capabilities->usagePage == usagePage && info.capabilities->usage == kVendorUsage;
}
}  // namespace

LinkHandle LinkHandle::FromOpen(std::unique_ptr<HidHandle> opened) {
    LinkHandle result;
    result.state = opened ? HandleState::Open : HandleState::Invalid;
    result.handle = std::move(opened);
    return result;
}

LinkHandle DeviceLink::ReadHandle() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return read_;
}

LinkHandle DeviceLink::WriteHandle() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return write_;
}

std::optional<WriteEndpoint> DeviceLink::TryWriter() const {
    // A thread that holds the lock only briefly lets go within these; a crashed one never does.
    constexpr int kAttempts = 50;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
        if (lock.owns_lock()) {
            if (!write_.IsOpen()) return std::nullopt;
            return WriteEndpoint{write_.handle, featureReportLength_};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
}

std::uint16_t DeviceLink::FeatureReportLength() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return featureReportLength_;
}

std::uint16_t DeviceLink::InputReportLength() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return inputReportLength_;
}

std::u16string DeviceLink::DevicePath() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return devicePath_;
}

std::uint64_t DeviceLink::Generation() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return generation_;
}

void DeviceLink::Install(Discovered found) {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        read_ = std::move(found.read);
        write_ = std::move(found.write);
        featureReportLength_ = BoundedLength(found.featureReportLength);
        inputReportLength_ = BoundedLength(found.inputReportLength);
        if (found.devicePath) devicePath_ = std::move(*found.devicePath);
        ++generation_;
        present_.store(found.present);
    }
    changed_.notify_all();
}

bool DeviceLink::ReaderUsable() const { return read_.IsOpen() && inputReportLength_ >= 2; }

ReadEndpoint DeviceLink::Reader() const { return ReadEndpoint{read_.handle, inputReportLength_, generation_}; }

std::optional<ReadEndpoint> DeviceLink::WaitForReader(std::stop_token stop,
                                                      std::optional<std::uint64_t> failedGeneration,
                                                      std::chrono::milliseconds retryAfter) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (failedGeneration) {
        const std::uint64_t failed = *failedGeneration;
        changed_.wait_for(lock, stop, retryAfter, [&] { return ReaderUsable() && generation_ != failed; });
        if (stop.stop_requested()) return std::nullopt;
        if (ReaderUsable()) return Reader();
    }
    if (!changed_.wait(lock, stop, [&] { return ReaderUsable(); })) return std::nullopt;
    return Reader();
}

bool DiscoverDevice(HidPort& port, DeviceLink& link) {
    DeviceLink::Discovered found;
    bool readFound = false;
    bool writeFound = false;
    std::unique_ptr<HidEnumeration> enumeration = port.Enumerate();
    for (int index = 0; enumeration && index < kDiscoveryAttempts; ++index) {
        // A failing index does not end the list: later indexes may still answer.
        const std::optional<HidInterfaceInfo> info = enumeration->Interface(index);
        if (!info || !IsMouse(*info)) continue;
        found.devicePath = info->path;
        port.RegisterDeviceNotifications();
        if (HasUsage(*info, kInputUsagePage)) {
            readFound = true;
            found.read = LinkHandle::FromOpen(port.Open(info->path, HidAccess::Read));
            found.inputReportLength = info->capabilities->inputReportLength;
        }
        if (HasUsage(*info, kFeatureUsagePage)) {
            writeFound = true;
            found.write = LinkHandle::FromOpen(port.Open(info->path, HidAccess::Write));
            found.featureReportLength = info->capabilities->featureReportLength;
        }
        if (readFound && writeFound) break;
    }
    // Presence means both interfaces, whichever interface the list happens to end on: while the
    // mouse's interfaces are still arriving one by one it is not ready yet.
    const bool present = readFound && writeFound;
    found.present = present;
    link.Install(std::move(found));
    return present;
}

bool IsOurDevice(const DeviceLink& link, std::uint32_t deviceType, std::u16string_view interfaceName) {
    if (deviceType != kDeviceInterfaceType) return false;
    const std::u16string path = link.DevicePath();
    // Before the mouse was ever seen there is no path, and nothing is ours.
    if (path.empty()) return false;
    return EqualIgnoringAsciiCase(path, interfaceName);
}
