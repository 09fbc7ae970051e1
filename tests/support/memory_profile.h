// INI files in memory: values by file, section and key, read through the caller's buffer size as
// the profile functions read them. Records the keys read, counts the writes, can fail them (all
// or some keys), and
// notes "ini <section>" in a log each time writing moves to another section.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/profile_port.h"
#include "platform/text.h"
#include "support/event_log.h"

class MemoryProfile : public ProfilePort {
public:
    using Key = std::tuple<std::u16string, std::u16string, std::u16string>;  // file, section, key

    std::u16string ReadString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                              std::size_t bufferChars) override {
        if (recordReads) reads.push_back({file, section, key});
        if (bufferChars == 0) return {};
        const auto it = values.find(std::tie(file, section, key));
        if (it != values.end()) return it->second.substr(0, bufferChars - 1);
        return anyOtherKey ? anyOtherKey->substr(0, bufferChars - 1) : std::u16string();
    }
    bool WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override {
        ++writes;
        if (failWrites || failingKeys.count({section, key}) != 0) return false;
        values[{file, section, key}] = value;
        if (log && section != lastSection_) log->Add("ini " + Utf8FromUtf16(section));
        lastSection_ = section;
        return true;
    }

    // As the file system would: the file's values are copied to the target, and moved back in
    // place of the file's only when write succeeded.
    bool SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) override {
        const std::u16string copy = SavingCopyOf(file);
        const auto valuesOf = [this](const std::u16string& of) {
            std::map<Key, std::u16string, std::less<>> found;
            for (const auto& [key, value] : values) {
                if (std::get<0>(key) == of) found.emplace(key, value);
            }
            return found;
        };
        const auto drop = [this](const std::u16string& of) {
            std::erase_if(values, [&](const auto& v) { return std::get<0>(v.first) == of; });
        };
        drop(copy);
        for (const auto& [key, value] : valuesOf(file)) values[{copy, std::get<1>(key), std::get<2>(key)}] = value;
        const bool written = write(copy);
        if (written) {
            drop(file);
            for (const auto& [key, value] : valuesOf(copy)) values[{file, std::get<1>(key), std::get<2>(key)}] = value;
        }
        drop(copy);
        return written;
    }

    // Numbered keys, as the skin descriptions have them.
    void Set(const std::u16string& file, const std::u16string& section, int key, const std::u16string& value) {
        values[{file, section, DecimalText(key)}] = value;
    }
    bool Has(const std::u16string& file, const std::u16string& section, const std::u16string& key) const {
        return values.count(std::tie(file, section, key)) != 0;
    }
    // The value as UTF-8, "<none>" when the key is missing.
    std::string Value(const std::u16string& file, const std::u16string& section, const std::u16string& key) const {
        const auto it = values.find(std::tie(file, section, key));
        return it == values.end() ? "<none>" : Utf8FromUtf16(it->second);
    }

    std::map<Key, std::u16string, std::less<>> values;  // looked up without copying the key
    std::optional<std::u16string> anyOtherKey;  // what every key missing from values reads as
    std::vector<Key> reads;
    bool recordReads = true;  // off where only speed matters (fuzzing)
    int writes = 0;  // attempted, failed ones included
    bool failWrites = false;
    std::set<std::pair<std::u16string, std::u16string>> failingKeys;  // (section, key) that cannot be written
    EventLog* log = nullptr;

private:
    std::u16string lastSection_;
};
