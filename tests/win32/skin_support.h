// Helpers of the Win32 skin tests: the skin the build generated beside the test program, and
// JPEG pictures of known colours written with GDI+.
#pragma once

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "skin/mask_region.h"

// The folder of the running test program; the build lays the generated skins folder out there.
inline std::filesystem::path TestProgramDir() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

inline std::filesystem::path BuiltSkinsDir() { return TestProgramDir() / "skins"; }

// Copies the generated skins folder into programDir, where the main window looks for it.
inline void CopyBuiltSkins(const std::wstring& programDir) {
    std::filesystem::copy(BuiltSkinsDir(), std::filesystem::path(programDir) / "skins",
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

inline bool StartGdiplus() {
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

// The class id of GDI+'s encoder for a MIME type ("image/png"); false when there is none.
inline bool FindEncoder(const wchar_t* mimeType, CLSID& clsid) {
    if (!StartGdiplus()) return false;
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (count == 0 || Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
    const auto found = std::find_if(encoders, encoders + count,
                                    [mimeType](const Gdiplus::ImageCodecInfo& e) { return std::wstring(e.MimeType) == mimeType; });
    if (found == encoders + count) return false;
    clsid = found->Clsid;
    return true;
}

// Writes a width x height JPEG (best quality) whose pixel (x, y) is colour(x, y).
inline bool WriteJpeg(const std::wstring& path, int width, int height, const std::function<Rgb(int, int)>& colour) {
    CLSID jpeg{};
    if (!FindEncoder(L"image/jpeg", jpeg)) return false;
    Gdiplus::Bitmap bitmap(width, height, PixelFormat24bppRGB);
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB, &data) != Gdiplus::Ok) return false;
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    bitmap.UnlockBits(&data);
    ULONG quality = 100;
    Gdiplus::EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &quality;
    return bitmap.Save(path.c_str(), &jpeg, &parameters) == Gdiplus::Ok;
}

inline bool WriteSolidJpeg(const std::wstring& path, int width, int height, Rgb colour) {
    return WriteJpeg(path, width, height, [colour](int, int) { return colour; });
}

// JPEG keeps colours only approximately.
inline bool Near(COLORREF pixel, Rgb expected, int tolerance = 12) {
    return pixel != CLR_INVALID && std::abs(GetRValue(pixel) - expected.red) <= tolerance &&
           std::abs(GetGValue(pixel) - expected.green) <= tolerance &&
           std::abs(GetBValue(pixel) - expected.blue) <= tolerance;
}

// Saves what the screen shows in area as a PNG file, for a person to look at.
inline bool SaveScreenPng(const RECT& area, const std::filesystem::path& path) {
    CLSID png{};
    if (!FindEncoder(L"image/png", png) || area.right <= area.left || area.bottom <= area.top) return false;
    const int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        std::filesystem::create_directories(path.parent_path());
        saved = image.Save(path.wstring().c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
