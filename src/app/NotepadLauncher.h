#pragma once

// Windows only: the tag lists' text editor.

#include "taglists/TextFileLauncher.h"

#include <cstdint>
#include <filesystem>

namespace app {

// Starts Notepad on a file through the shell ("open", program "Notepad", the path as its
// parameter, shown normally) and returns at once.
class NotepadLauncher final : public taglists::TextFileLauncher {
public:
    // The window that owns any message the shell shows (the main window); 0 for none.
    void setOwner(intptr_t ownerWindow) { owner_ = ownerWindow; }

    // The program neither waits for Notepad nor looks at the result.
    void open(const std::filesystem::path& path) override;

    // The shell call itself; true when the shell reports that Notepad was started.
    static bool launch(intptr_t ownerWindow, const std::filesystem::path& path);

private:
    intptr_t owner_ = 0;
};

}  // namespace app
