#include "platform/profile_snapshot.h"

#include "platform/ini_profile.h"

std::u16string ProfileSnapshot::ReadString(const std::u16string& file, const std::u16string& section,
                                           const std::u16string& key, std::size_t bufferChars) {
    if (bufferChars == 0) return {};
    auto found = documents_.find(file);
    if (found == documents_.end()) found = documents_.emplace(file, ReadIniFile(file)).first;
    const std::u16string* value = found->second.Find(section, key);
    return value ? IniDocument::CopyEntry(*value, bufferChars) : std::u16string();
}

bool ProfileSnapshot::WriteString(const std::u16string& file, const std::u16string& section,
                                  const std::u16string& key, const std::u16string& value) {
    documents_.erase(file);
    return writer_.WriteString(file, section, key, value);
}

bool ProfileSnapshot::SaveWhole(const std::u16string& file,
                                const std::function<bool(const std::u16string& target)>& write) {
    documents_.erase(file);
    return writer_.SaveWhole(file, write);
}
