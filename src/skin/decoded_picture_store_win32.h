// Decoded skin pictures kept as files between starts (see decoded_picture_file.h), in a folder
// of the user's local application data. Reading them back costs a file copy where decoding the
// JPEGs cost the first paint about 50 ms of processor time under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "skin/decoded_picture_file.h"

class DecodedPictureStore {
public:
    // A store that keeps nothing.
    DecodedPictureStore() = default;
    // A store in dir; dir and its parent are made when the first picture is kept.
    explicit DecodedPictureStore(std::wstring dir) : dir_(std::move(dir)) {}

    // Reads the pixels kept for source as it is now (stamp) into the 32-bit rows that
    // rowsFor(width, height) provides. False, with nothing read, when none are kept for that
    // stamp, the file is not sound, or rowsFor returns nullptr; false also when the read fails
    // half way, and the rows must not be used then.
    bool Load(const std::wstring& source, const PictureStamp& stamp,
              const std::function<std::uint8_t*(std::int32_t width, std::int32_t height)>& rowsFor) const;
    // Keeps the pixels of source for the next start. The file is written whole under another
    // name first, so a reader never sees half of it; any failure just keeps nothing.
    void Save(const std::wstring& source, const PictureStamp& stamp, std::int32_t width, std::int32_t height,
              const std::uint8_t* rows) const;

private:
    std::wstring FileOf(const std::wstring& source) const;

    std::wstring dir_;
};

// The stamp of a file's attributes.
PictureStamp StampOfAttributes(const WIN32_FILE_ATTRIBUTE_DATA& attributes);

// Where the program keeps decoded pictures: a folder under %LOCALAPPDATA%; empty when the
// variable is not set, and nothing is kept then.
std::wstring DecodedPictureDir();
