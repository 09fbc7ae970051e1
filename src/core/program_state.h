// The program's state: its paths, the language, the current slot and the one ActiveConfig with
// the lock that guards them. The composition root owns one; portable code takes it by reference.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "core/app_paths.h"
#include "core/active_config.h"
#include "core/language.h"

struct ProgramState {
    AppPaths paths;
    std::atomic<LanguageMode> language{LanguageMode::Chinese};
    // A write of config.ini failed. Set by whichever thread saved (an apply may run on the host
    // action thread, holding the configuration lock); the window's thread tells the user once,
    // with no lock held, and clears it.
    std::atomic<bool> configSaveFailed{false};

    // Serialises whole loads, saves and applies of the configuration between the window's thread
    // and the host action thread, and guards the three fields below. Recursive, because an apply
    // saves inside itself.
    mutable std::recursive_mutex configLock;
    int CurConfig = 0;
    std::u16string CurrentSection;
    ActiveConfig config;
};
