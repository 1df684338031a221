// Feeds arbitrary bytes to the list-file reader as a tag list, writes the lines back in
// every encoding and reads them again: an exception or a line that changes is a fault.
#include "ListFileCheck.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path path = [] {
        std::filesystem::path folder =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        folder /= "kelvo-list-fuzz-" + std::to_string(::getpid());
        std::filesystem::create_directories(folder);
        return folder / "KelvoEditTagList.txt";
    }();
    const std::string fault = fuzzing::checkListFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
