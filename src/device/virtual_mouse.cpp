#include "device/virtual_mouse.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "device/button_mapping.h"
#include "device/discovery.h"
#include "device/feature_report.h"
#include "device/input_listener.h"
#include "platform/text.h"

namespace {
enum class InterfaceKind { OtherDevice, Pointer, Input, Feature };

struct VirtualInterface {
    InterfaceKind kind;
    HidInterfaceInfo info;
};

const std::u16string kHidClass = u"{4d1e55b2-f16f-11cf-88cb-001111000030}";

VirtualInterface MakeInterface(InterfaceKind kind, std::u16string path, std::uint16_t vendor, std::uint16_t product,
                               HidCapabilities caps) {
    return VirtualInterface{kind, HidInterfaceInfo{std::move(path), HidAttributes{vendor, product}, caps}};
}

// Another device first, then the mouse's pointer interface and its two vendor collections.
const std::vector<VirtualInterface>& AllInterfaces() {
    static const std::vector<VirtualInterface> interfaces = {
        MakeInterface(InterfaceKind::OtherDevice, u"\\\\?\\hid#vid_0f0f&pid_0001#7&1f00&0&0000#" + kHidClass, 0x0F0F,
                      0x0001, HidCapabilities{0x0001, 0x0006, 9, 0}),
        MakeInterface(InterfaceKind::Pointer, u"\\\\?\\hid#vid_18f8&pid_0f99&mi_00#7&2a11&0&0000#" + kHidClass,
                      kMouseVendorId, kMouseProductId, HidCapabilities{0x0001, 0x0002, 5, 0}),
        MakeInterface(InterfaceKind::Input, u"\\\\?\\hid#vid_18f8&pid_0f99&mi_01&col01#7&2b22&0&0000#" + kHidClass,
                      kMouseVendorId, kMouseProductId,
                      HidCapabilities{kInputUsagePage, kVendorUsage, kVirtualReportLength, 0}),
        MakeInterface(InterfaceKind::Feature, u"\\\\?\\hid#vid_18f8&pid_0f99&mi_01&col02#7&2b22&0&0001#" + kHidClass,
                      kMouseVendorId, kMouseProductId,
                      HidCapabilities{kFeatureUsagePage, kVendorUsage, 0, kVirtualReportLength}),
    };
    return interfaces;
}

using Report = std::array<std::uint8_t, kVirtualReportLength>;
}  // namespace

struct VirtualMouse::Core {
    mutable std::mutex mutex;
    std::condition_variable_any inputArrived;
    bool plugged = true;
    std::uint64_t plugEpoch = 1;  // handles opened before an unplug stay dead
    std::deque<Report> inputQueue;
    std::vector<std::vector<std::uint8_t>> features;
    VirtualMouseState state;
    int registrations = 0;
    std::function<void(DeviceChange, const std::u16string&)> notify;
    std::function<void(const std::string&)> log;
    std::atomic<std::uint64_t> readWakeups{0};

    // With mutex held.
    void Queue(const Report& report) {
        if (inputQueue.size() >= kVirtualInputQueue) inputQueue.pop_front();
        inputQueue.push_back(report);
        inputArrived.notify_all();
    }

    // With mutex held.
    void TakeFeature(std::span<const std::uint8_t> report) {
        features.emplace_back(report.begin(), report.end());
        if (log) log(HexLine(report));
        if (report[0] != kFeatureReportId) return;
        const std::uint8_t p1 = report[2];
        const std::uint8_t p2 = report[3];
        switch (static_cast<FeatureCommand>(report[1])) {
            case FeatureCommand::ButtonMapping:
                if (p1 >= 1 && p1 <= kVirtualHardwareButtons) state.map[p1 - 1] = p2;
                break;
            case FeatureCommand::WheelMode: state.wheel = p1; break;
            case FeatureCommand::DpiLed:
                state.dpiStage = p1;
                state.dpiValue = (p2 >> 4) - 8;
                state.led = static_cast<std::uint8_t>(p2 & 0x0F);
                break;
            case FeatureCommand::FireInterval: state.fire = p1; break;
            case FeatureCommand::Exit: break;
        }
    }
};

namespace {
class VirtualEnumeration : public HidEnumeration {
public:
    explicit VirtualEnumeration(std::vector<HidInterfaceInfo> listed) : listed_(std::move(listed)) {}
    std::optional<HidInterfaceInfo> Interface(int memberIndex) override {
        if (memberIndex < 0 || static_cast<std::size_t>(memberIndex) >= listed_.size()) return std::nullopt;
        return listed_[static_cast<std::size_t>(memberIndex)];
    }

private:
    std::vector<HidInterfaceInfo> listed_;
};

class VirtualHandle : public HidHandle {
public:
    VirtualHandle(std::shared_ptr<VirtualMouse::Core> core, std::uint64_t epoch, InterfaceKind kind, HidAccess access)
        : core_(std::move(core)), epoch_(epoch), kind_(kind), access_(access) {}

    bool SendFeatureReport(std::span<const std::uint8_t> report) override {
        std::lock_guard<std::mutex> hold(core_->mutex);
        // The driver takes exactly the declared length, on the interface that declares it.
        if (!Alive() || kind_ != InterfaceKind::Feature || access_ != HidAccess::Write ||
            report.size() != kVirtualReportLength) {
            return false;
        }
        core_->TakeFeature(report);
        return true;
    }

    std::optional<std::size_t> ReadInputReport(std::span<std::uint8_t> buffer, std::stop_token stop) override {
        std::unique_lock<std::mutex> lock(core_->mutex);
        if (kind_ != InterfaceKind::Input || access_ != HidAccess::Read) return std::nullopt;
        bool first = true;
        core_->inputArrived.wait(lock, stop, [&] {
            if (!first) core_->readWakeups.fetch_add(1, std::memory_order_relaxed);
            first = false;
            return !Alive() || !core_->inputQueue.empty();
        });
        if (stop.stop_requested() || !Alive() || core_->inputQueue.empty()) return std::nullopt;
        const Report report = core_->inputQueue.front();
        core_->inputQueue.pop_front();
        const std::size_t count = std::min(buffer.size(), report.size());
        std::copy_n(report.begin(), count, buffer.begin());
        return count;
    }

private:
    bool Alive() const { return core_->plugged && core_->plugEpoch == epoch_; }  // with mutex held

    std::shared_ptr<VirtualMouse::Core> core_;
    std::uint64_t epoch_;
    InterfaceKind kind_;
    HidAccess access_;
};

// Other devices' interfaces are never used by the program: they take and give nothing.
class DeadHandle : public HidHandle {
public:
    bool SendFeatureReport(std::span<const std::uint8_t>) override { return false; }
    std::optional<std::size_t> ReadInputReport(std::span<std::uint8_t>, std::stop_token) override {
        return std::nullopt;
    }
};
}  // namespace

VirtualMouse::VirtualMouse() : core_(std::make_shared<Core>()) {}

VirtualMouse::~VirtualMouse() {
    // Readers still blocked on a handle must not wait for a mouse that no longer exists.
    std::lock_guard<std::mutex> hold(core_->mutex);
    core_->plugged = false;
    core_->inputArrived.notify_all();
}

std::unique_ptr<HidEnumeration> VirtualMouse::Enumerate() {
    std::lock_guard<std::mutex> hold(core_->mutex);
    std::vector<HidInterfaceInfo> listed;
    for (const VirtualInterface& each : AllInterfaces()) {
        if (each.kind == InterfaceKind::OtherDevice || core_->plugged) listed.push_back(each.info);
    }
    return std::make_unique<VirtualEnumeration>(std::move(listed));
}

std::unique_ptr<HidHandle> VirtualMouse::Open(const std::u16string& path, HidAccess access) {
    std::lock_guard<std::mutex> hold(core_->mutex);
    for (const VirtualInterface& each : AllInterfaces()) {
        if (!EqualIgnoringAsciiCase(each.info.path, path)) continue;
        if (each.kind == InterfaceKind::OtherDevice) return std::make_unique<DeadHandle>();
        if (!core_->plugged) return nullptr;
        return std::make_unique<VirtualHandle>(core_, core_->plugEpoch, each.kind, access);
    }
    return nullptr;
}

void VirtualMouse::RegisterDeviceNotifications() {
    std::lock_guard<std::mutex> hold(core_->mutex);
    ++core_->registrations;
}

int VirtualMouse::NotificationRegistrations() const {
    std::lock_guard<std::mutex> hold(core_->mutex);
    return core_->registrations;
}

namespace {
ButtonReport ButtonEvent(VirtualMouse::Core& core, int button, bool press, std::vector<std::uint8_t>* sent) {
    const std::uint8_t id = HardwareButtonId(button);
    if (id == 0) return ButtonReport::NoSuchButton;
    std::lock_guard<std::mutex> hold(core.mutex);
    if (!core.plugged) return ButtonReport::Unplugged;
    if (core.state.map[id - 1] != kHostMode) return ButtonReport::NoReport;
    Report report{};
    report[0] = kInputReportId;
    report[1] = press ? static_cast<std::uint8_t>(kPressCodeBase + id) : 0;
    core.Queue(report);
    if (sent) sent->assign(report.begin(), report.end());
    return ButtonReport::Sent;
}
}  // namespace

ButtonReport VirtualMouse::Press(int button, std::vector<std::uint8_t>* sent) {
    return ButtonEvent(*core_, button, true, sent);
}

ButtonReport VirtualMouse::Release(int button, std::vector<std::uint8_t>* sent) {
    return ButtonEvent(*core_, button, false, sent);
}

bool VirtualMouse::QueueInputReport(std::span<const std::uint8_t> report) {
    if (report.empty() || report.size() > kVirtualReportLength) return false;
    std::lock_guard<std::mutex> hold(core_->mutex);
    if (!core_->plugged) return false;
    Report padded{};
    std::copy(report.begin(), report.end(), padded.begin());
    core_->Queue(padded);
    return true;
}

std::vector<std::vector<std::uint8_t>> VirtualMouse::FeatureReports() const {
    std::lock_guard<std::mutex> hold(core_->mutex);
    return core_->features;
}

void VirtualMouse::ClearFeatureReports() {
    std::lock_guard<std::mutex> hold(core_->mutex);
    core_->features.clear();
}

VirtualMouseState VirtualMouse::State() const {
    std::lock_guard<std::mutex> hold(core_->mutex);
    return core_->state;
}

std::vector<std::u16string> VirtualMouse::MouseInterfacePaths() const {
    std::vector<std::u16string> paths;
    for (const VirtualInterface& each : AllInterfaces()) {
        if (each.kind != InterfaceKind::OtherDevice) paths.push_back(each.info.path);
    }
    return paths;
}

namespace {
// Sets the plugged state; returns the notification to fire, if it changed and anyone listens.
std::function<void(DeviceChange, const std::u16string&)> ChangePlug(VirtualMouse::Core& core, bool plugged,
                                                                     bool& changed) {
    std::lock_guard<std::mutex> hold(core.mutex);
    changed = core.plugged != plugged;
    if (!changed) return nullptr;
    core.plugged = plugged;
    if (plugged) {
        ++core.plugEpoch;
    } else {
        core.inputQueue.clear();
        core.inputArrived.notify_all();
    }
    return core.registrations > 0 ? core.notify : nullptr;
}
}  // namespace

bool VirtualMouse::Unplug() {
    bool changed = false;
    const auto notify = ChangePlug(*core_, false, changed);
    if (notify) {
        for (const std::u16string& path : MouseInterfacePaths()) notify(DeviceChange::Removal, path);
    }
    return changed;
}

bool VirtualMouse::Plug() {
    bool changed = false;
    const auto notify = ChangePlug(*core_, true, changed);
    if (notify) {
        for (const std::u16string& path : MouseInterfacePaths()) notify(DeviceChange::Arrival, path);
    }
    return changed;
}

bool VirtualMouse::Plugged() const {
    std::lock_guard<std::mutex> hold(core_->mutex);
    return core_->plugged;
}

void VirtualMouse::SetNotificationCallback(std::function<void(DeviceChange, const std::u16string&)> callback) {
    std::lock_guard<std::mutex> hold(core_->mutex);
    core_->notify = std::move(callback);
}

void VirtualMouse::SetFeatureLog(std::function<void(const std::string&)> log) {
    std::lock_guard<std::mutex> hold(core_->mutex);
    core_->log = std::move(log);
}

std::uint64_t VirtualMouse::ReadWakeups() const { return core_->readWakeups.load(); }

std::string HexLine(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!line.empty()) line += ' ';
        line += kDigits[b >> 4];
        line += kDigits[b & 0x0F];
    }
    return line;
}
