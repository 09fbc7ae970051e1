// The test build's mouse: one in memory, its line protocol served on 127.0.0.1, with a log of the
// feature reports it receives. Only the test build's entry point names this, so the shipped
// program links no socket code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/device_session_win32.h"
#include "device/virtual_mouse.h"
#include "device/virtual_mouse_server_win32.h"

class VirtualMouseSession : public DeviceSession {
public:
    explicit VirtualMouseSession(std::shared_ptr<VirtualMouse> mouse = std::make_shared<VirtualMouse>());
    ~VirtualMouseSession() override;

    // Serves the mouse on 127.0.0.1:port (0: any free port); false when that cannot be done.
    bool Serve(std::uint16_t port);
    // Appends every feature report the mouse receives to the file; false when it cannot be opened.
    bool LogFeatureReports(const std::wstring& path);
    std::wstring LastError() const;

    void Stop() override;

private:
    std::unique_ptr<VirtualMouseServer> server_;
    std::shared_ptr<LineLog> log_;
    std::wstring logError_;
};

// The session --virtual-mouse asks for. Nothing (after telling the user why) when its log cannot
// be opened or the port is taken.
std::unique_ptr<DeviceSession> CreateVirtualMouseSession(const CommandLineOptions& options);
