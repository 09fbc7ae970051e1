// Test doubles for the skin module: an in-memory profile store, a message port that records what
// it showed, and a canvas that records every call.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/profile_port.h"
#include "platform/text.h"
#include "skin/canvas_port.h"
#include "skin/skin_description.h"

class FakeProfile : public ProfilePort {
public:
    void Set(const std::u16string& file, const std::u16string& section, int key, const std::u16string& value) {
        values_[{file, section, DecimalText(key)}] = value;
    }
    std::u16string ReadString(const std::u16string& file, const std::u16string& section, const std::u16string& key,
                              std::size_t bufferChars) override {
        reads.push_back({file, section, key});
        auto it = values_.find({file, section, key});
        if (it == values_.end()) return {};
        return it->second.substr(0, bufferChars - 1);
    }
    bool WriteString(const std::u16string&, const std::u16string&, const std::u16string&,
                     const std::u16string&) override {
        return false;
    }

    std::vector<std::tuple<std::u16string, std::u16string, std::u16string>> reads;

private:
    std::map<std::tuple<std::u16string, std::u16string, std::u16string>, std::u16string> values_;
};

class FakeMessages : public MessagePort {
public:
    bool FileExists(const std::u16string& path) override { return existing.count(path) > 0; }
    void ShowMessage(std::u16string_view text) override { shown.emplace_back(text); }

    std::set<std::u16string> existing;
    std::vector<std::u16string> shown;
};

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

// Measures like a fixed-pitch font of 7 x 15 pixels per character.
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
