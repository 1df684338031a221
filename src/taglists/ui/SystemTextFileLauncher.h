#pragma once

#include "taglists/TextFileLauncher.h"

namespace taglists {

// The desktop's default application for the file, started through xdg-open (found on PATH)
// with the path as its only argument. No shell is involved, so no character of the path is
// interpreted. Windows opens the lists in Notepad instead (app/NotepadLauncher).
class SystemTextFileLauncher : public TextFileLauncher {
public:
    void open(const std::filesystem::path& path) override;
};

}  // namespace taglists
