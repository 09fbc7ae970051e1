// A message port that keeps the messages shown; files are looked for on disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_file.h"

// Questions are recorded among the messages, with "? " in front, and answered with answer.
struct RecordingMessages : MessagePort {
    void ShowMessage(std::u16string_view text) override { shown.emplace_back(text); }
    Answer Ask(std::u16string_view question, bool) override {
        shown.push_back(u"? " + std::u16string(question));
        return answer;
    }
    std::vector<std::u16string> shown;
    Answer answer = Answer::No;
};
