#pragma once

#include <filesystem>
#include <string_view>

namespace app {

inline constexpr char16_t kTargetCadListName[] = u"TargetCAD_APIVersion.txt";
inline constexpr char16_t kTagListName[] = u"KelvoEditTagList.txt";
inline constexpr char16_t kTagGroupListName[] = u"KelvoEdit2ATagList.txt";

// The files live beside the executable; the working directory plays no part.
std::filesystem::path settingsPathFor(const std::filesystem::path& executable);
std::filesystem::path listPathFor(const std::filesystem::path& executable, std::u16string_view fileName);

}  // namespace app
