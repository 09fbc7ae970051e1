// The system's file dialogs: the user picks a file to read or to write.
#pragma once

#include <optional>
#include <string>

struct FileDialogRequest {
    std::u16string filterName;        // what the filter is called, "All Files(*.dat)"
    std::u16string pattern;           // the files it shows, "*.dat"
    std::u16string defaultExtension;  // appended to a typed name without one; empty for none
    std::u16string startFolder;
};

class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    // The open dialog (read-only box hidden); the chosen path, or nothing when cancelled.
    virtual std::optional<std::u16string> PickFileToOpen(const FileDialogRequest& request) = 0;
    // The save dialog, asking before it overwrites; the chosen path, or nothing when cancelled.
    virtual std::optional<std::u16string> PickFileToSave(const FileDialogRequest& request) = 0;
};
