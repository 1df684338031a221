#include "app/AppPaths.h"

namespace app {

std::filesystem::path settingsPathFor(const std::filesystem::path& executable)
{
    std::filesystem::path settings = executable;
    settings.replace_extension(".ini");
    return settings;
}

std::filesystem::path listPathFor(const std::filesystem::path& executable, std::u16string_view fileName)
{
    return executable.parent_path() / std::filesystem::path(std::u16string(fileName));
}

}  // namespace app
