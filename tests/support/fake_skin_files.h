// The message port as the skin loaders see it: files exist only when named in existing (or all
// of them, with everyFileExists), and the messages shown are kept.
#pragma once

#include <set>
#include <string>

#include "support/recording_messages.h"

struct FakeSkinFiles : RecordingMessages {
    bool FileExists(const std::u16string& path) override { return everyFileExists || existing.count(path) > 0; }

    std::set<std::u16string> existing;
    bool everyFileExists = false;
};
