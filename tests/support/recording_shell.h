// A shell that records what the host actions asked of it, as log lines.
#pragma once

#include <string>

#include "actions/host_actions.h"
#include "platform/shell_port.h"
#include "support/event_log.h"

struct RecordingShell : ShellPort {
    RecordingShell() = default;
    explicit RecordingShell(EventLog& eventLog) : log(&eventLog) {}

    void OpenFolder(const std::u16string& item) override {
        Note(item == kComputerFolder ? "open computer folder" : "open other folder");
    }
    void LockWorkstation() override { Note("lock"); }
    void StartSystemProgram(const std::u16string& exe) override { Note("start " + std::string(exe.begin(), exe.end())); }

    EventLog* log = nullptr;
    int calls = 0;

private:
    void Note(std::string line) {
        ++calls;
        if (log) log->Add(std::move(line));
    }
};
