#pragma once

#include "kelvocad/dxf/DxfError.h"
#include "kelvocad/dxf/DxfFile.h"
#include "kelvocad/model/Drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvocad::test {

using Groups = std::vector<std::pair<int, std::string>>;

// The lines of a DXF file with these groups.
inline std::string dxfText(const Groups& groups)
{
    std::string text;
    for (const auto& [code, value] : groups)
        text += std::to_string(code) + "\n" + value + "\n";
    return text;
}

// A small file: a HEADER with the version, code page (when given) and handle seed, then
// ENTITIES with these groups.
inline std::string dxfFile(const std::string& version, const std::string& codePage, const Groups& entities,
                           const std::string& handleSeed = "100")
{
    Groups groups{{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version}};
    if (!codePage.empty()) {
        groups.push_back({9, "$DWGCODEPAGE"});
        groups.push_back({3, codePage});
    }
    groups.push_back({9, "$HANDSEED"});
    groups.push_back({5, handleSeed});
    groups.push_back({0, "ENDSEC"});
    groups.push_back({0, "SECTION"});
    groups.push_back({2, "ENTITIES"});
    groups.insert(groups.end(), entities.begin(), entities.end());
    groups.push_back({0, "ENDSEC"});
    groups.push_back({0, "EOF"});
    return dxfText(groups);
}

// A TEXT record without subclass markers.
inline Groups textRecord(const std::string& handle, const std::string& string, const Groups& more = {})
{
    Groups groups{{0, "TEXT"}, {5, handle}, {8, "0"}, {10, "1.5"}, {20, "2.5"}, {30, "0.0"},
                  {40, "2.5"}, {1, string}};
    groups.insert(groups.end(), more.begin(), more.end());
    return groups;
}

inline Groups concat(std::initializer_list<Groups> parts)
{
    Groups all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace kelvocad::test
