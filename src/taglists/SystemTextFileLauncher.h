#pragma once

#include "taglists/TextFileLauncher.h"

class QWidget;

namespace taglists {

// Notepad on Windows; elsewhere the desktop's default application for the file, started
// through xdg-open (found on PATH) with the path as its only argument. No shell is involved,
// so no character of the path is interpreted.
class SystemTextFileLauncher : public TextFileLauncher {
public:
    explicit SystemTextFileLauncher(QWidget* owner = nullptr) : owner_(owner) {}

    void setOwner(QWidget* owner) { owner_ = owner; }
    void open(const std::filesystem::path& path) override;

private:
    QWidget* owner_;
};

}  // namespace taglists
