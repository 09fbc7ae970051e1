// The measurement logs of the test build: a line appended to the file named, nothing when none
// is.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/wide_text_win32.h"

inline void AppendToMeasurementLog(const std::u16string& path, const std::string& line) {
    if (path.empty()) return;
    if (FILE* log = _wfopen(ToWide(path).c_str(), L"a")) {
        std::fputs(line.c_str(), log);
        std::fclose(log);
    }
}
