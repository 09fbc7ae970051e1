// An in-memory stand-in for INI files: values by file, section and key, read through the caller's
// buffer size like the profile functions, with a count of writes and a switch to fail them.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/profile_port.h"

class MemoryProfile : public ProfilePort {
public:
    std::u16string ReadString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                              std::size_t bufferChars) override {
        const auto it = values.find({file, section, key});
        if (it == values.end() || bufferChars == 0) return {};
        return it->second.substr(0, bufferChars - 1);
    }
    bool WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override {
        ++writes;
        if (failWrites) return false;
        values[{file, section, key}] = value;
        return true;
    }
    bool Has(const std::u16string& file, const std::u16string& section, const std::u16string& key) const {
        return values.count({file, section, key}) != 0;
    }

    std::map<std::tuple<std::u16string, std::u16string, std::u16string>, std::u16string> values;
    int writes = 0;
    bool failWrites = false;
};
