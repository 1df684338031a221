#pragma once

#include "common/FileError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// Writes the whole file or nothing: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target. A crash or a full disk leaves
// the previous file as it was. A read-only file is not replaced. Throws FileError; the
// temporary file is removed on failure.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The whole file; nullopt when it does not exist. Throws FileError when it exists but
// cannot be read (a folder, no permission, an I/O error).
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// UTF-8 form of a path for messages.
std::string pathForMessage(const std::filesystem::path& path);

}  // namespace common
