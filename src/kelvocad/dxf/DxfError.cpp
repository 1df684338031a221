#include "kelvocad/dxf/DxfError.h"

#include "common/AtomicFile.h"

namespace kelvocad {

namespace {

std::string describe(const std::filesystem::path& path, size_t line, const std::string& reason)
{
    std::string text = common::pathForMessage(path) + ": ";
    if (line != 0)
        text += "line " + std::to_string(line) + ": ";
    return text + reason;
}

}  // namespace

DxfError::DxfError(std::filesystem::path path, size_t line, std::string reason)
    : std::runtime_error(describe(path, line, reason))
    , path_(std::move(path))
    , line_(line)
    , reason_(std::move(reason))
{
}

}  // namespace kelvocad
