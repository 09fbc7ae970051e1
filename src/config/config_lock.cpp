#include "config/config_lock.h"

std::recursive_mutex& ConfigLock() {
    static std::recursive_mutex lock;
    return lock;
}
