// A HID port with a scripted enumeration and a device behind its handles that records the
// feature reports sent to it and hands out the input reports a test pushes. Sends can be logged
// ("report 07 10 01 01 ...") into the log the other fakes of an operation share.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/discovery.h"
#include "device/hid_port.h"
#include "device/virtual_mouse.h"
#include "support/event_log.h"

using Bytes = std::vector<std::uint8_t>;

inline Bytes Padded(Bytes head, std::size_t length = 9) {
    head.resize(length, 0);
    return head;
}

// The device behind the fake handles: what was sent to it and what it will report.
struct FakeDevice {
    std::mutex mutex;
    std::condition_variable_any arrived;
    std::deque<Bytes> inputs;
    std::vector<Bytes> sent;
    std::vector<std::size_t> readSizes;  // buffer size of every read
    bool readsFail = false;
    bool sendsFail = false;
    EventLog* log = nullptr;

    void Push(Bytes report) {
        {
            std::lock_guard<std::mutex> hold(mutex);
            inputs.push_back(std::move(report));
        }
        arrived.notify_all();
    }
    std::vector<Bytes> Sent() {
        std::lock_guard<std::mutex> hold(mutex);
        return sent;
    }
    std::vector<std::size_t> ReadSizes() {
        std::lock_guard<std::mutex> hold(mutex);
        return readSizes;
    }
    std::size_t Reads() {
        std::lock_guard<std::mutex> hold(mutex);
        return readSizes.size();
    }
};

class FakeHandle : public HidHandle {
public:
    explicit FakeHandle(std::shared_ptr<FakeDevice> device) : device_(std::move(device)) {}
    bool SendFeatureReport(std::span<const std::uint8_t> report) override {
        std::lock_guard<std::mutex> hold(device_->mutex);
        if (device_->sendsFail) return false;
        device_->sent.emplace_back(report.begin(), report.end());
        if (device_->log) device_->log->Add("report " + HexLine(report));
        return true;
    }
    std::optional<std::size_t> ReadInputReport(std::span<std::uint8_t> buffer, std::stop_token stop) override {
        std::unique_lock<std::mutex> lock(device_->mutex);
        device_->readSizes.push_back(buffer.size());
        if (device_->readsFail) return std::nullopt;
        if (!device_->arrived.wait(lock, stop, [&] { return !device_->inputs.empty(); })) return std::nullopt;
        const Bytes report = device_->inputs.front();
        device_->inputs.pop_front();
        const std::size_t count = std::min(buffer.size(), report.size());
        std::copy_n(report.begin(), count, buffer.begin());
        return count;
    }

private:
    std::shared_ptr<FakeDevice> device_;
};

// Interfaces as the enumeration reports them.
inline HidInterfaceInfo Interface(std::u16string path, std::uint16_t vendor, std::uint16_t product,
                                  std::uint16_t usagePage, std::uint16_t usage, std::uint16_t inputLength = 9,
                                  std::uint16_t featureLength = 9) {
    return HidInterfaceInfo{std::move(path), HidAttributes{vendor, product},
                            HidCapabilities{usagePage, usage, inputLength, featureLength}};
}
inline HidInterfaceInfo MouseInput(std::u16string path = u"\\\\?\\hid#vid_18f8&pid_0f99&col01") {
    return Interface(std::move(path), kMouseVendorId, kMouseProductId, kInputUsagePage, kVendorUsage);
}
inline HidInterfaceInfo MouseFeature(std::u16string path = u"\\\\?\\hid#vid_18f8&pid_0f99&col02") {
    return Interface(std::move(path), kMouseVendorId, kMouseProductId, kFeatureUsagePage, kVendorUsage);
}
inline HidInterfaceInfo OtherDevice(std::u16string path = u"\\\\?\\hid#vid_0f0f&pid_0001") {
    return Interface(std::move(path), 0x0F0F, 0x0001, kInputUsagePage, kVendorUsage);
}

class FakeHidPort : public HidPort {
public:
    // Index i of the enumeration answers listing[i]; nothing (an enumeration failure) at empty
    // entries and past the end.
    std::vector<std::optional<HidInterfaceInfo>> listing;
    bool enumerationFails = false;
    std::vector<std::u16string> failingOpens;
    std::vector<std::pair<std::u16string, HidAccess>> opens;
    std::vector<int> examined;
    int registrations = 0;
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();

    std::unique_ptr<HidEnumeration> Enumerate() override {
        if (enumerationFails) return nullptr;
        return std::make_unique<Enumeration>(*this, listing);
    }
    std::unique_ptr<HidHandle> Open(const std::u16string& path, HidAccess access) override {
        opens.emplace_back(path, access);
        for (const std::u16string& failing : failingOpens) {
            if (failing == path) return nullptr;
        }
        return std::make_unique<FakeHandle>(device);
    }
    void RegisterDeviceNotifications() override { ++registrations; }

private:
    class Enumeration : public HidEnumeration {
    public:
        Enumeration(FakeHidPort& port, std::vector<std::optional<HidInterfaceInfo>> snapshot)
            : port_(port), snapshot_(std::move(snapshot)) {}
        std::optional<HidInterfaceInfo> Interface(int memberIndex) override {
            port_.examined.push_back(memberIndex);
            if (memberIndex < 0 || static_cast<std::size_t>(memberIndex) >= snapshot_.size()) return std::nullopt;
            return snapshot_[static_cast<std::size_t>(memberIndex)];
        }

    private:
        FakeHidPort& port_;
        std::vector<std::optional<HidInterfaceInfo>> snapshot_;
    };
};
