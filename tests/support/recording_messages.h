// A message port that keeps the messages shown; files are looked for on disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_file.h"

struct RecordingMessages : MessagePort {
    void ShowMessage(std::u16string_view text) override { shown.emplace_back(text); }
    std::vector<std::u16string> shown;
};
