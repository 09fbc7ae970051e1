// What the mouse's threads read of the configuration: an immutable copy that the window's thread,
// which owns the configuration, publishes after each change. A reader keeps the copy it took for
// as long as it needs it. The mutex guards only the pointer, held for its copy: no thread ever
// waits while another works on the configuration. (libstdc++ 12's atomic shared_ptr unlocks a
// load with relaxed order, a data race that ThreadSanitizer reports.)
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

#include "config/active_config.h"

struct ConfigSnapshot {
    ActiveConfig config;  // as the window shows it, edits not yet applied included
    // DPI direction of buttons 1..7 from the last apply: 2 cycle, 1 up, -1 down, 0 none.
    std::array<std::int8_t, kButtonCount> dpiDirection{};

    // 0 for a number outside 1..7.
    int DpiDirection(int button) const {
        return button >= 1 && button <= kButtonCount ? dpiDirection[static_cast<std::size_t>(button - 1)] : 0;
    }
    // The code of button 1..7; 0 (nothing) for another number.
    std::int32_t Code(int button) const {
        return button >= 1 && button <= kButtonCount ? config.K[static_cast<std::size_t>(button - 1)] : 0;
    }
};

class PublishedConfig {
public:
    std::shared_ptr<const ConfigSnapshot> Read() const {
        const std::lock_guard<std::mutex> hold(pointer_);
        return current_;
    }
    // The window's thread only. The copy is made before the pointer is taken, and the old copy
    // goes after it is let go.
    void Publish(const ConfigSnapshot& snapshot) {
        std::shared_ptr<const ConfigSnapshot> fresh = std::make_shared<const ConfigSnapshot>(snapshot);
        {
            const std::lock_guard<std::mutex> hold(pointer_);
            current_.swap(fresh);
        }
    }

private:
    mutable std::mutex pointer_;
    std::shared_ptr<const ConfigSnapshot> current_ = std::make_shared<const ConfigSnapshot>();
};
