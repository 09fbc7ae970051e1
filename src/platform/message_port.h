// What the loaders of the user's files need from the shell: whether a file is there, a message the
// user must see, and a question before a step that cannot be undone. On Windows each is a modal
// message box that returns when the user dismisses it; tests record them and may pretend files
// exist.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_path.h"

enum class Answer { Yes, No, Cancel };

class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void ShowMessage(std::u16string_view text) = 0;
    // Yes and No, and Cancel where the step can be called off. No is the default button, so a
    // stray Enter changes nothing; where nobody can be asked, the answer is No.
    virtual Answer Ask(std::u16string_view, bool /*withCancel*/) { return Answer::No; }
    // By default the file system answers.
    virtual bool FileExists(const std::u16string& path) { return PathExists(path); }
};
