// Reads of a burst (a skin's descriptions, the configuration and macros at start-up) answered
// from one parse of each file. Windows' profile functions open and parse the file again for each
// key, which makes a few hundred keys cost a visible part of the start-up under Wine.
#pragma once

#include <map>
#include <string>

#include "platform/ini_document.h"
#include "platform/profile_port.h"

class ProfileSnapshot : public ProfilePort {
public:
    // Writes go through writer; the written file is read afresh at its next read.
    explicit ProfileSnapshot(ProfilePort& writer) : writer_(writer) {}

    std::u16string ReadString(const std::u16string& file, const std::u16string& section,
                              const std::u16string& key, std::size_t bufferChars) override;
    bool WriteString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                     const std::u16string& value) override;
    bool SaveWhole(const std::u16string& file, const std::function<bool(const std::u16string& target)>& write) override;

private:
    ProfilePort& writer_;
    std::map<std::u16string, IniDocument> documents_;
};
