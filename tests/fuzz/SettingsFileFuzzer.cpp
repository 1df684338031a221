// Feeds arbitrary bytes to the settings-file reader as the file, then writes keys into it:
// an exception, a key that does not read back or another key that changes is a fault.
#include "SettingsFileCheck.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path scratchFile()
{
    // A memory file system where there is one: the fuzzer writes the file thousands of
    // times a second.
    std::filesystem::path folder = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    folder /= "kelvo-settings-fuzz-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    return folder / "KelvoEdit.ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path path = scratchFile();
    const std::string fault = fuzzing::checkSettingsInput(path, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
