#include "app/host_runtime_win32.h"

#include "app/host_requests.h"
#include "platform/system_settings_win32.h"

namespace {
void RaiseThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }
}  // namespace

HostRuntime::HostRuntime(ProgramServices& services, HostPorts ports)
    : services_(services),
      ports_(ports),
      apply_{services.program, ports.profile, services.reports, services.handoff, ports.settings,
             [this] { Invalidate(); }, [this] { StartBlinkIndicator(); }},
      actions_(services.program.published, services.handoff, services.macros, ports.injector, ports.shell, ports.clock,
               *this),
      listener_(InputListenerContext{services.link, services.handoff, services.program.published,
                                     [this] { Invalidate(); }, RaiseThreadPriority}),
      executor_(HostActionExecutorContext{services.handoff, [this](int button) { actions_.PerformButton(button); },
                                          RaiseThreadPriority}) {}

HostRuntime::~HostRuntime() { Stop(); }

void HostRuntime::Invalidate() {
    // A null window would mean every window of the desktop.
    const HWND window = window_.load();
    if (!window) return;
    InvalidateRect(window, nullptr, TRUE);
    // Every change that saves asks for a repaint afterwards; the window tells the failure.
    if (services_.program.configSaveFailed.load()) PostMessageW(window, kSaveFailedMessage, 0, 0);
}

void HostRuntime::StartWorkers(HWND mainWindow) {
    window_.store(mainWindow);
    services_.handoff.FinishPress();  // PendingInput and StopRequest clear
    listener_.Start();
    executor_.Start();
    StartBlinkIndicator();
}

void HostRuntime::StartBlinkIndicator() {
    if (const HWND window = window_.load()) PostMessageW(window, kStartBlinkMessage, 0, 0);
}

void HostRuntime::Apply() {
    ApplyConfiguration(apply_);
    // The last save comes after the apply's repaint: this one tells a failure of it.
    Invalidate();
}

void HostRuntime::SwitchProfile(const ProfileSwitch& to) {
    RunProfileSlot(ports_.profile, services_.program, to);
    Apply();
}

std::optional<HostRequest> HostRequestOf(WPARAM kind, LPARAM direction) {
    switch (kind) {
        case static_cast<WPARAM>(HostRequestKind::StepDpi):
            return HostRequest{HostRequestKind::StepDpi, static_cast<int>(direction)};
        case static_cast<WPARAM>(HostRequestKind::ToggleLed): return HostRequest{HostRequestKind::ToggleLed};
        case static_cast<WPARAM>(HostRequestKind::NextConfiguration):
            return HostRequest{HostRequestKind::NextConfiguration};
        default: return std::nullopt;
    }
}

void HostRuntime::Post(HostRequest request) {
    if (const HWND window = window_.load()) {
        PostMessageW(window, kHostRequestMessage, static_cast<WPARAM>(request.kind), request.direction);
    }
}

void HostRuntime::CarryOut(HostRequest request) { ::CarryOut(apply_, request); }

void HostRuntime::PrepareClose() {
    // The sender skips the report when the mouse's feature interface is not open.
    services_.reports.SendExit();
    if (ports_.settings.MouseSpeed()) ports_.settings.SetMouseSpeed(kClosingPointerSpeed);
}

void HostRuntime::PrepareCloseAfterCrash(void* runtime) noexcept {
    auto& self = *static_cast<HostRuntime*>(runtime);
    self.services_.reports.SendExitAfterCrash();
    SetPointerSpeed(kClosingPointerSpeed, SPIF_UPDATEINIFILE);
}

void HostRuntime::Stop() {
    listener_.Stop();
    // A playing macro is stopped in its pause and lets go of what it holds; the executor then
    // leaves.
    executor_.Stop();
    window_.store(nullptr);
}
