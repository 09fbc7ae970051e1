// What the skin loaders ask of the program besides the profile: whether a description file
// exists (those named in existing, or every one) and the messages shown.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_description.h"

struct FakeSkinFiles : SkinMessagePort {
    bool FileExists(const std::u16string& path) override { return everyFileExists || existing.count(path) > 0; }
    void ShowMessage(std::u16string_view text) override { shown.emplace_back(text); }

    std::set<std::u16string> existing;
    bool everyFileExists = false;
    std::vector<std::u16string> shown;
};
