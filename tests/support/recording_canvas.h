// A canvas that records every call, in order, and measures text like a fixed-pitch font of
// 7 x 15 pixels per character. Pictures named in missing fail to load.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "skin/canvas_port.h"

struct CanvasCall {
    enum Kind { Load, Fill, Copy, Font, Text } kind;
    std::u16string picture;  // Load, Copy
    PixelRect rect;          // Fill: area; Copy: source
    std::int64_t x = 0;      // Copy: destination; Text: position
    std::int64_t y = 0;
    std::u16string text;
    Rgb colour;
    LanguageMode language = LanguageMode::English;
};

class RecordingCanvas : public CanvasPort {
public:
    bool LoadPicture(std::u16string_view picture) override {
        calls.push_back({CanvasCall::Load, std::u16string(picture), {}, 0, 0, {}, {}, {}});
        return missing.count(std::u16string(picture)) == 0;
    }
    void Fill(const PixelRect& area, Rgb colour) override {
        calls.push_back({CanvasCall::Fill, {}, area, 0, 0, {}, colour, {}});
    }
    void CopyPicture(std::u16string_view picture, const PixelRect& source, std::int64_t toX, std::int64_t toY) override {
        calls.push_back({CanvasCall::Copy, std::u16string(picture), source, toX, toY, {}, {}, {}});
    }
    void SelectFont(LanguageMode language) override {
        calls.push_back({CanvasCall::Font, {}, {}, 0, 0, {}, {}, language});
    }
    TextSize MeasureText(std::u16string_view text) override {
        return {static_cast<std::int32_t>(7 * text.size()), 15};
    }
    void WriteText(std::int64_t x, std::int64_t y, std::u16string_view text, Rgb colour) override {
        calls.push_back({CanvasCall::Text, {}, {}, x, y, std::u16string(text), colour, {}});
    }

    int LoadsOf(const std::u16string& picture) const {
        int loads = 0;
        for (const CanvasCall& call : calls) loads += call.kind == CanvasCall::Load && call.picture == picture;
        return loads;
    }
    // Copies from one picture, in order.
    std::vector<PixelRect> CopiesFrom(const std::u16string& picture) const {
        std::vector<PixelRect> out;
        for (const CanvasCall& call : calls) {
            if (call.kind == CanvasCall::Copy && call.picture == picture) out.push_back(call.rect);
        }
        return out;
    }
    const CanvasCall* TextCall(const std::u16string& text) const {
        for (const CanvasCall& call : calls) {
            if (call.kind == CanvasCall::Text && call.text == text) return &call;
        }
        return nullptr;
    }
    std::vector<CanvasCall> Texts() const {
        std::vector<CanvasCall> out;
        for (const CanvasCall& call : calls) {
            if (call.kind == CanvasCall::Text) out.push_back(call);
        }
        return out;
    }

    std::set<std::u16string> missing;
    std::vector<CanvasCall> calls;
};
