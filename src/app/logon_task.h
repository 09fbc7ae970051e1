// "Start with Windows": the program asks for administrator rights, so the Run key would greet
// every log-on with a prompt; a log-on task of the task scheduler starts it elevated instead.
#pragma once

#include <string>
#include <string_view>

#include "platform/startup_task_port.h"

inline constexpr char16_t kLogonTaskName[] = u"HXT_GMouse";

// The task's definition: at the user's log-on, with the highest rights the user has, the exe
// with --tray, without a time limit and also on battery.
std::u16string LogonTaskXml(std::u16string_view exePath, std::u16string_view userId);

// The text of the first element named name (entities decoded); empty when there is none.
std::u16string XmlElementText(std::u16string_view xml, std::u16string_view name);

// A task's command starts exePath: paths compare without regard to case or surrounding quotes.
bool CommandIsExe(std::u16string_view command, std::u16string_view exePath);
// The same for the Exec command of a task's XML definition.
bool TaskPointsAt(std::u16string_view taskXml, std::u16string_view exePath);

// The tray menu's item: marked while the task exists and starts this exe; choosing it removes
// such a task, or registers one (replacing a task that starts another copy).
class StartWithWindows {
public:
    StartWithWindows(StartupTaskPort& task, std::u16string exePath) : task_(task), exePath_(std::move(exePath)) {}

    bool Marked();
    // False when the scheduler refused the change.
    bool Toggle();
    // The setup's choice: on registers this exe's task (replacing another copy's), off removes a
    // task that starts this exe or nothing and leaves another copy's alone.
    bool Set(bool on);

private:
    StartupTaskPort& task_;
    std::u16string exePath_;
};
