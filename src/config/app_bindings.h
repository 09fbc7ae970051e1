// Program profiles: which slot the mouse switches to while a given program is in front, kept in
// apps.ini beside config.ini. [Apps] holds one line per program, "game.exe=3" or
// "C:\Games\game.exe=3"; [Options] On=1/0 turns the whole feature on or off. Whatever else the
// user wrote there (comments, other sections, lines we cannot read) is kept as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_port.h"

struct AppBinding {
    std::u16string program;  // a file name ("game.exe") or a full path ("C:\Games\game.exe")
    int slot = 1;            // 1..kUserSlotCount
    bool operator==(const AppBinding&) const = default;
};

// Larger than any apps.ini a person writes: such a file is something else and is left alone.
inline constexpr std::uintmax_t kMostAppsIniBytes = 1024 * 1024;

class AppBindings {
public:
    // The file's text: the valid [Apps] lines and On are read, every line is remembered.
    static AppBindings Parse(std::u16string_view text);
    // The text to write back: the lines as read, the valid [Apps] lines and On replaced by the
    // bindings and the option as they are now. Lines end in CR LF.
    std::u16string Text() const;

    const std::vector<AppBinding>& Bindings() const { return bindings_; }
    bool On() const { return on_; }
    void SetOn(bool on) { on_ = on; }

    // Binds program (a file name or a full path) to slot, at the end. A program bound already
    // (compared without regard to case) keeps its place and its slot. The binding's index;
    // nothing when program cannot be a line of the file or the slot is not 1..5.
    std::optional<std::size_t> Bind(std::u16string_view program, int slot);
    // Nothing happens for an index out of range or a slot not 1..5.
    void SetSlot(std::size_t index, int slot);
    void Remove(std::size_t index);

    // The slot for the running program whose image is at imagePath ("C:\Games\Game.EXE"), case
    // ignored: a binding by full path wins over one by file name, the first in the file among
    // equals. Nothing when no binding fits or the feature is off.
    std::optional<int> SlotFor(std::u16string_view imagePath) const;

    // False when these bindings stand in for a file that could not be read (too large, not
    // readable): saving them would lose what that file holds.
    bool Saveable() const { return saveable_; }
    void MarkUnsaveable() { saveable_ = false; }

private:
    std::vector<std::u16string> lines_;  // the file as read, without line ends
    std::vector<AppBinding> bindings_;
    bool on_ = true;
    bool saveable_ = true;
};

// apps.ini at path: no file gives no bindings with the feature on; a file that cannot be read or
// holds more than kMostAppsIniBytes gives the same, marked unsaveable.
AppBindings LoadAppBindings(const std::u16string& path);
// Writes bindings to path whole, in UTF-16LE with a byte order mark, through profile's whole
// save. False, with the file as it was, when the save failed or was refused: unsaveable
// bindings, or a file at path that is no apps.ini (too large).
bool SaveAppBindings(ProfilePort& profile, const std::u16string& path, const AppBindings& bindings);
