#include "skin/decoded_picture_store_win32.h"

#include <vector>

#include "platform/growing_buffer_win32.h"
#include "platform/handles_win32.h"
#include "platform/wide_text_win32.h"
#include "skin/mask_region.h"

namespace {

// One call each: a picture is at most kMaxMaskSide squared times 4 bytes (256 MB), well
// within a call's count; anything larger is refused rather than cut.
bool ReadExactly(HANDLE file, void* to, std::uint64_t bytes) {
    DWORD got = 0;
    return bytes <= MAXDWORD && ReadFile(file, to, static_cast<DWORD>(bytes), &got, nullptr) && got == bytes;
}

bool WriteExactly(HANDLE file, const void* from, std::uint64_t bytes) {
    DWORD written = 0;
    return bytes <= MAXDWORD && WriteFile(file, from, static_cast<DWORD>(bytes), &written, nullptr) && written == bytes;
}

std::wstring ParentOf(const std::wstring& dir) {
    const std::size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : dir.substr(0, slash);
}

}  // namespace

PictureStamp StampOfAttributes(const WIN32_FILE_ATTRIBUTE_DATA& attributes) {
    return {(std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow,
            (std::uint64_t{attributes.ftLastWriteTime.dwHighDateTime} << 32) | attributes.ftLastWriteTime.dwLowDateTime};
}

std::wstring DecodedPictureDir() {
    const std::wstring base = EnvironmentVariable(L"LOCALAPPDATA");
    if (base.empty()) return {};
    return base + L"\\HXT_GMouse\\Pictures";
}

std::wstring DecodedPictureStore::FileOf(const std::wstring& source) const {
    return dir_ + L"\\" + ToWide(DecodedPictureFileName(FromWide(source)));
}

bool DecodedPictureStore::Load(const std::wstring& source, const PictureStamp& stamp,
                               const std::function<std::uint8_t*(std::int32_t, std::int32_t)>& rowsFor) const {
    if (dir_.empty()) return false;
    OwnedHandle file(CreateFileW(FileOf(source).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER fileSize{};
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart <= 0) return false;
    // A header for this source is this long; a file for another source fails to parse or to match.
    const DecodedPictureHeader expected{FromWide(source), stamp, 0, 0};
    std::vector<std::uint8_t> head(EncodeDecodedPictureHeader(expected).size());
    if (static_cast<std::uint64_t>(fileSize.QuadPart) < head.size() || !ReadExactly(file.get(), head.data(), head.size())) {
        return false;
    }
    const std::optional<ParsedDecodedHeader> parsed =
        ParseDecodedPictureHeader(head, static_cast<std::uint64_t>(fileSize.QuadPart), kMaxMaskSide);
    if (!parsed || parsed->length != head.size() || parsed->header.source != expected.source ||
        parsed->header.stamp != stamp) {
        return false;
    }
    std::uint8_t* rows = rowsFor(parsed->header.width, parsed->header.height);
    return rows != nullptr && ReadExactly(file.get(), rows, parsed->header.PixelBytes());
}

void DecodedPictureStore::Save(const std::wstring& source, const PictureStamp& stamp, std::int32_t width,
                               std::int32_t height, const std::uint8_t* rows) const {
    if (dir_.empty() || rows == nullptr || width <= 0 || height <= 0) return;
    CreateDirectoryW(ParentOf(dir_).c_str(), nullptr);  // either may exist already
    CreateDirectoryW(dir_.c_str(), nullptr);
    const DecodedPictureHeader header{FromWide(source), stamp, width, height};
    const std::vector<std::uint8_t> head = EncodeDecodedPictureHeader(header);
    const std::wstring path = FileOf(source);
    const std::wstring fresh = path + L".new";
    bool written = false;
    {
        OwnedHandle file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        written = WriteExactly(file.get(), head.data(), head.size()) && WriteExactly(file.get(), rows, header.PixelBytes());
    }
    if (!written || !MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) DeleteFileW(fresh.c_str());
}
