#pragma once

#include "taglists/ListFile.h"

#include <filesystem>
#include <optional>

class QComboBox;

namespace ui {
class UserMessages;
}

namespace taglists {

class TextFileLauncher;

// The commands that open a tag list file in the text editor and read it back into its combo.
class TagListCommands {
public:
    TagListCommands(ui::UserMessages& messages, TextFileLauncher& launcher)
        : messages_(messages), launcher_(launcher)
    {
    }

    // Starts the editor on the file, or says that it is missing.
    void launchEditor(const std::filesystem::path& path);
    // Replaces the combo's items with the file's non-blank lines, sorted, and selects the same
    // position again (the first item when the list got shorter). A missing file is reported
    // and changes nothing; an unreadable one throws before the combo is touched. encoding
    // becomes the file's, for the next write. Returns what was read, nullopt when nothing was.
    std::optional<taglists::ListFileContent> reload(const std::filesystem::path& path, QComboBox& combo,
                                               taglists::TextEncoding& encoding);

private:
    ui::UserMessages& messages_;
    TextFileLauncher& launcher_;
};

}  // namespace taglists
