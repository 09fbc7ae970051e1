// Process-wide state of the program: its paths, the current slot, the language and the one
// ActiveConfig. One instance lives for the whole process; portable code takes it by reference.
#pragma once

#include <atomic>
#include <string>

#include "app/app_paths.h"
#include "config/active_config.h"
#include "config/language.h"

struct ProgramState {
    AppPaths paths;
    int CurConfig = 0;
    std::u16string CurrentSection;
    std::atomic<LanguageMode> language{LanguageMode::Chinese};
    ActiveConfig config;
};

ProgramState& Program();
