#pragma once

#include "kelvocad/dxf/DxfTagTable.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace kelvocad {

// Splits an ASCII DXF file into its groups, up to and including 0/EOF. Every code must be
// one a DXF file can hold and every number must read as one; anything else throws a
// DxfError naming the file and the line.
class DxfTagReader {
public:
    struct Result {
        DxfTagTable tags;   // holds the bytes
        bool crlf = false;  // lines end in CR LF
    };

    static Result read(std::string bytes, const std::filesystem::path& path);
};

}  // namespace kelvocad
