// The log-on task through the task scheduler's COM interface. ole32 and oleaut32 are loaded at
// the first use: imported, they would hold back every start for a menu item seldom opened.
#pragma once

#include <string>

#include "platform/startup_task_port.h"

class Win32StartupTask : public StartupTaskPort {
public:
    explicit Win32StartupTask(std::u16string taskName) : name_(std::move(taskName)) {}

    std::optional<std::u16string> TaskCommand() override;
    bool Register(std::u16string_view xml) override;
    bool Remove() override;
    std::u16string UserId() override;

private:
    std::u16string name_;
};
