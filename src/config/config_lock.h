// The one lock that serialises whole loads, saves and applies of the configuration between the
// window's thread and the host action thread. Recursive, because an apply saves inside itself.
#pragma once

#include <mutex>

std::recursive_mutex& ConfigLock();
