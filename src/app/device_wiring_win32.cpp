#include "app/device_wiring_win32.h"

#include <dbt.h>
#include <shellapi.h>

#include <cstddef>
#include <cwchar>
#include <vector>

#include "app/command_line.h"
#include "app/startup.h"
#include "core/program_state.h"
#include "config/config_file.h"
#include "macros/macro_editor_state.h"
#include "macros/macro_file.h"
#include "macros/message_box_win32.h"
#include "platform/window_framework_win32.h"

namespace {
// A device interface name is a path; anything longer is not one.
constexpr std::size_t kMaxInterfaceNameChars = 32768;
constexpr DWORD kWaitBeforeFirstApply = 5;

void RaiseThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

std::vector<std::u16string> CommandLineArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::u16string> result;
    for (int i = 1; arguments && i < count; ++i) result.push_back(FromWide(arguments[i]));
    if (arguments) LocalFree(arguments);
    return result;
}

void TellUser(const std::wstring& text) { MessageBoxW(nullptr, text.c_str(), ApplicationName().c_str(), MB_OK | MB_ICONERROR); }
}  // namespace

std::optional<BroadcastInterface> BroadcastInterfaceOf(LPARAM header) {
    const auto* common = reinterpret_cast<const DEV_BROADCAST_HDR*>(header);
    if (!common || common->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return std::nullopt;
    const std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (common->dbch_size < nameOffset) return std::nullopt;
    const auto* record = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    BroadcastInterface result;
    result.deviceType = record->dbcc_devicetype;
    result.classGuid = record->dbcc_classguid;
    // The name ends at its terminator or at the end of the record, whichever comes first.
    const std::size_t room = std::min<std::size_t>((common->dbch_size - nameOffset) / sizeof(wchar_t),
                                                   kMaxInterfaceNameChars);
    const std::size_t length = wcsnlen(record->dbcc_name, room);
    result.name.assign(record->dbcc_name, record->dbcc_name + length);
    return result;
}

std::wstring ApplicationName() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, std::min<DWORD>(length, MAX_PATH));
    if (const auto slash = name.find_last_of(L"\\/"); slash != std::wstring::npos) name.erase(0, slash + 1);
    if (const auto dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name.empty() ? std::wstring(L"HXT_GMouse") : name;
}

MainWindowDevice::MainWindowDevice(std::shared_ptr<VirtualMouse> mouse)
    : MainWindowDevice(std::move(mouse), systemSettings_) {}  // bound now, built before any use

MainWindowDevice::MainWindowDevice(std::shared_ptr<VirtualMouse> mouse, SystemSettingsPort& settings)
    : virtual_(std::move(mouse)),
      hid_(virtual_ ? nullptr : std::make_unique<Win32HidPort>()),
      settings_(settings),
      apply_{Program(), profile_, MouseFeatureReports(), SharedFlags(), settings_, [this] { Invalidate(); },
             [this] { StartBlinkIndicator(); }},
      links_(SharedFlags(), Program(), MouseFeatureReports(), apply_, [this] { Invalidate(); }),
      actions_(Program(), profile_, Macros(), injector_, shell_, clock_, links_),
      listener_(InputListenerContext{MouseLink(), SharedFlags(),
                                     ConfigFieldReader(Program(), &ActiveConfig::MACRO_MODE2),
                                     [this] { Invalidate(); }, RaiseThreadPriority}),
      executor_(HostActionExecutorContext{SharedFlags(), [this](int button) { actions_.PerformButton(button); },
                                          RaiseThreadPriority}),
      blinkClock_(SharedFlags().AnimatorBell()),
      blinkContext_{SharedFlags(), blinkClock_, [this] { Invalidate(); }} {}

MainWindowDevice::MainWindowDevice() : MainWindowDevice(nullptr, systemSettings_) {}

MainWindowDevice::~MainWindowDevice() { Stop(); }

HidPort& MainWindowDevice::Port() {
    if (virtual_) return *virtual_;
    return *hid_;
}

bool MainWindowDevice::ServeVirtualMouse(std::uint16_t port) {
    if (!virtual_ || server_) return false;
    server_ = std::make_unique<VirtualMouseServer>(*virtual_);
    return server_->Start(port);
}

bool MainWindowDevice::LogFeatureReports(const std::wstring& path, DWORD* openError) {
    if (!virtual_) return false;
    auto log = std::make_shared<LineLog>(path);
    if (!log->IsOpen()) {
        if (openError) *openError = log->OpenError();
        return false;
    }
    log_ = log;
    // Called with the mouse's lock held: the log only writes.
    virtual_->SetFeatureLog([log](const std::string& line) { log->Append(line); });
    return true;
}

std::wstring MainWindowDevice::LastError() const {
    if (hid_) return hid_->LastError();
    return server_ ? server_->LastError() : std::wstring();
}

void MainWindowDevice::Invalidate() {
    // A null window would mean every window of the desktop.
    if (const HWND window = window_.load()) InvalidateRect(window, nullptr, TRUE);
}

void MainWindowDevice::StartWorkers(HWND mainWindow) {
    window_.store(mainWindow);
    if (hid_) hid_->SetNotificationWindow(mainWindow);
    if (virtual_) {
        // Plug and unplug run on the server's thread; the window hears of them as from Windows.
        virtual_->SetNotificationCallback([mainWindow](DeviceChange change, const std::u16string& path) {
            SendDeviceChange(mainWindow, change, path);
        });
    }
    ThreadFlags& flags = SharedFlags();
    flags.FinishPress();  // PendingInput and StopRequest clear
    listener_.Start();
    executor_.Start();
    StartBlinkIndicator();
}

void MainWindowDevice::StartBlinkIndicator() {
    std::lock_guard<std::mutex> hold(blinkMutex_);
    if (stopped_.load()) return;
    // Set before the thread runs: an indicator that ends at once clears it again.
    SharedFlags().BlinkRunning.store(true);
    blink_.Start([this](std::stop_token stop) { RunBlinkIndicator(blinkContext_, stop); });
}

void MainWindowDevice::LoadMacros() {
    ProgramState& program = Program();
    program.paths.MacroFilePath = MacroFilePathOf(program.paths.ProgramDir, program.language);
    SelectMacroFile(Macros(), program.paths.ProgramDir, program.language);
    MessageBoxPort messages(ApplicationName(), window_.load());
    LoadMacroFile(profile_, messages, Macros(), program.paths.MacroFilePath);
    MacroEditor().selectedLine = Macros().Read([](const MacroStoreData& macros) { return LastEventLine(macros); });
}

bool MainWindowDevice::Discover() { return DiscoverDevice(Port(), MouseLink()); }

void MainWindowDevice::ShowPlugInMessage() {
    const std::wstring text = ToWide(PlugInMessage(Program().language));
    MessageBoxW(window_.load(), text.c_str(), ApplicationName().c_str(), MB_OK);
}

void MainWindowDevice::FindMouseAndApply(const std::function<void()>& closeProgram) {
    if (!Discover()) {
        ShowPlugInMessage();
        if (closeProgram) closeProgram();
    }
    Sleep(kWaitBeforeFirstApply);
    Apply();
}

void MainWindowDevice::Apply() { ApplyConfiguration(apply_); }

void MainWindowDevice::PrepareClose() {
    // The sender skips the report when the mouse's feature interface is not open.
    MouseFeatureReports().SendExit();
    if (settings_.MouseSpeed()) settings_.SetMouseSpeed(kClosingPointerSpeed);
}

DeviceChangeOutcome MainWindowDevice::OnDeviceChange(WPARAM event, LPARAM header) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return DeviceChangeOutcome::Nothing;
    const std::optional<BroadcastInterface> changed = BroadcastInterfaceOf(header);
    if (!changed) return DeviceChangeOutcome::Nothing;
    DeviceLink& link = MouseLink();
    if (event == DBT_DEVICEARRIVAL) {
        if (link.DevicePresent()) return DeviceChangeOutcome::Nothing;
        // Before the mouse was ever found its path is unknown, so no arrival could be recognised
        // as the mouse's: any HID interface that arrives while it is missing may be it.
        if (!IsEqualGUID(changed->classGuid, HidClassGuid()) &&
            !IsOurDevice(link, changed->deviceType, changed->name)) {
            return DeviceChangeOutcome::Nothing;
        }
        Discover();
        return DeviceChangeOutcome::Rediscovered;
    }
    if (!IsOurDevice(link, changed->deviceType, changed->name)) return DeviceChangeOutcome::Nothing;
    link.SetDevicePresent(false);
    return DeviceChangeOutcome::MouseRemoved;
}

bool MainWindowDevice::FactoryReset(const std::function<void()>& macrosReset) {
    ProgramState& program = Program();
    const bool slotsWritten = ConfigFile(profile_, program.config, program.configLock)
        .FactoryReset(program.paths.ConfigIniPath, program.CurConfig, program.language);
    MessageBoxPort messages(ApplicationName(), window_.load());
    const bool macrosDone = ResetMacrosToDefaults(profile_, messages, Macros(), program.paths.ProgramDir,
                                                  program.paths.SkinsDir, program.language);
    if (macrosReset) macrosReset();
    Apply();
    return slotsWritten && macrosDone;
}

void MainWindowDevice::Stop() {
    // Commands of the server call into the mouse and the window: they end first.
    if (server_) server_->Stop();
    if (virtual_) {
        virtual_->SetNotificationCallback(nullptr);
        virtual_->SetFeatureLog(nullptr);
    }
    listener_.Stop();
    // A playing macro ends after its current event; the executor then leaves.
    if (SharedFlags().PendingInput() != 0) SharedFlags().RequestStop();
    executor_.Stop();
    {
        std::lock_guard<std::mutex> hold(blinkMutex_);
        stopped_.store(true);
        blink_.Stop();
    }
    window_.store(nullptr);
}

std::unique_ptr<MainWindowDevice> CreateProgramDevice() {
    const ParsedCommandLine parsed = ParseCommandLine(CommandLineArguments());
    if (!parsed.ok()) {
        std::wstring text;
        for (const std::u16string& error : parsed.errors) text += ToWide(error) + L"\n";
        TellUser(text + L"\n" + ToWide(CommandLineUsage()));
        return nullptr;
    }
    const CommandLineOptions& options = parsed.options;
    if (!options.virtualMousePort) return std::make_unique<MainWindowDevice>();

    auto device = std::make_unique<MainWindowDevice>(std::make_shared<VirtualMouse>());
    DWORD logError = ERROR_SUCCESS;
    if (!options.virtualMouseLog.empty() && !device->LogFeatureReports(ToWide(options.virtualMouseLog), &logError)) {
        TellUser(L"Cannot open the virtual mouse's log file " + ToWide(options.virtualMouseLog) + L": " +
                 DescribeSystemError(L"CreateFileW", logError));
        return nullptr;
    }
    if (!device->ServeVirtualMouse(*options.virtualMousePort)) {
        TellUser(L"Cannot serve the virtual mouse on 127.0.0.1:" + std::to_wstring(*options.virtualMousePort) +
                 L": " + device->LastError());
        return nullptr;
    }
    return device;
}
