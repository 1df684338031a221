#include "common/FileError.h"

#include "common/AtomicFile.h"

namespace common {

FileError::FileError(std::filesystem::path path, std::string reason)
    : std::runtime_error(pathForMessage(path) + ": " + reason)
    , path_(std::move(path))
    , reason_(std::move(reason))
{
}

}  // namespace common
