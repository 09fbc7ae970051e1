// The measurement logs of the test build: a line appended to the file that an environment
// variable names, nothing when it names none.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/growing_buffer_win32.h"

inline bool MeasurementLogWanted(const wchar_t* variable) { return !EnvironmentVariable(variable).empty(); }

inline void AppendToMeasurementLog(const wchar_t* variable, const std::string& line) {
    const std::wstring path = EnvironmentVariable(variable);
    if (path.empty()) return;
    if (FILE* log = _wfopen(path.c_str(), L"a")) {
        std::fputs(line.c_str(), log);
        std::fclose(log);
    }
}
