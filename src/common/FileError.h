#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace common {

// A file that could not be read or written. what() reads "<path>: <reason>".
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, std::string reason);

    const std::filesystem::path& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

}  // namespace common
