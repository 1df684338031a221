#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace kelvocad {

// A DXF file that could not be read or written. what() reads
// "<file>: line <n>: <reason>", or "<file>: <reason>" when no line is concerned (line 0).
class DxfError : public std::runtime_error {
public:
    DxfError(std::filesystem::path path, size_t line, std::string reason);

    const std::filesystem::path& path() const noexcept { return path_; }
    // 1-based line of the file where reading failed; 0 when the fault is not at a line.
    size_t line() const noexcept { return line_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::filesystem::path path_;
    size_t line_;
    std::string reason_;
};

}  // namespace kelvocad
