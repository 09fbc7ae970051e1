// What the loaders of the user's files need from the shell: whether a file is there, and a
// message the user must see. On Windows ShowMessage is a modal message box and returns when the
// user dismisses it; tests record the messages and may pretend files exist.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_path.h"

class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void ShowMessage(std::u16string_view text) = 0;
    // By default the file system answers.
    virtual bool FileExists(const std::u16string& path) { return PathExists(path); }
};
