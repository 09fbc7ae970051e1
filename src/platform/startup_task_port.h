// The log-on task that starts the program with Windows, as the system's task scheduler keeps it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class StartupTaskPort {
public:
    virtual ~StartupTaskPort() = default;
    // The program the registered task's first action starts (empty without one); nothing when
    // there is no such task or the scheduler cannot be reached. Read from the task's definition
    // object: Wine's XML of a task leaves the actions out.
    virtual std::optional<std::u16string> TaskCommand() = 0;
    // Registers (or replaces) the task from its XML definition. False when refused.
    virtual bool Register(std::u16string_view xml) = 0;
    // False when a task remains.
    virtual bool Remove() = 0;
    // Who logs on: the user the task is for, "DOMAIN\name".
    virtual std::u16string UserId() = 0;
};
