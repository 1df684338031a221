#pragma once

#include <filesystem>

namespace taglists {

// Opens a text file in the user's text editor without waiting for it.
class TextFileLauncher {
public:
    virtual ~TextFileLauncher() = default;
    virtual void open(const std::filesystem::path& path) = 0;
};

}  // namespace taglists
