#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace automation::socket {

// The per-user place where servers announce themselves: a directory only its owner can
// enter, holding one socket per served ProgID and a registry of the ProgIDs that servers
// have ever offered (the stand-in for the system's class registry). ProgIDs match
// regardless of the case of ASCII letters.
class RunningObjectDirectory {
public:
    explicit RunningObjectDirectory(std::filesystem::path path) : path_(std::move(path)) {}

    // $KELVOEDIT_RUNTIME_DIR if set; else $XDG_RUNTIME_DIR/kelvoedit, or
    // /tmp/kelvoedit-<uid> without a runtime directory.
    static RunningObjectDirectory userDefault();

    const std::filesystem::path& path() const { return path_; }

    // Creates the directory with mode 0700 if it is missing. Throws AutomationError(hr::Fail)
    // when it is not a directory of this user's with no access for others: whoever else
    // could write there could pose as any server.
    void ensurePrivate() const;

    QString socketPath(std::u16string_view progId) const;

    void registerProgId(std::u16string_view progId) const;
    bool isRegistered(std::u16string_view progId) const;

private:
    std::filesystem::path registryPath() const { return path_ / "progids"; }

    std::filesystem::path path_;
};

}  // namespace automation::socket
