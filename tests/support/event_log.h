// One ordered list of what the fakes were asked, which several fakes can share so a test checks
// the order of everything an operation did. Fakes called from other threads may add to it.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class EventLog {
public:
    void Add(std::string line) {
        std::lock_guard<std::mutex> hold(mutex_);
        lines_.push_back(std::move(line));
    }
    // A line with numbers in it, printf-style: Addf("key %02x %02x %x", vk, scan, flags).
    void Addf(const char* format, unsigned a = 0, unsigned b = 0, unsigned c = 0) {
        char text[64];
        std::snprintf(text, sizeof text, format, a, b, c);
        Add(text);
    }
    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> hold(mutex_);
        return lines_;
    }
    // The lines so far; the log starts empty again.
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> hold(mutex_);
        return std::exchange(lines_, {});
    }
    void Clear() { Take(); }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};
