// Feeds arbitrary bytes to the DXF reader: anything but a DxfError, or a saved file that
// does not read back as it was written, is a fault.
#include "DxfRoundTrip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string fault =
        kelvocad::test::checkDxfRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
