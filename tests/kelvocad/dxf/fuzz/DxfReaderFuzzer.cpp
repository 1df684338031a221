// Feeds arbitrary bytes to the DXF reader; anything but a DxfError is a fault. Whatever
// reads is also written back and read again, which must succeed.
#include "kelvocad/dxf/DxfError.h"
#include "kelvocad/dxf/DxfFile.h"
#include "kelvocad/model/Drawing.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string saved;
    try {
        kelvocad::DxfFile file = kelvocad::DxfFile::parse(bytes, "fuzz.dxf");
        auto& drawing = *file.drawing();
        if (!drawing.entities().empty())
            drawing.copyEntity(kelvocad::handleOf(drawing.entities().front()));
        saved = file.serialize();
    } catch (const kelvocad::DxfError&) {
        return 0;
    }
    try {
        kelvocad::DxfFile::parse(saved, "fuzz-saved.dxf");
    } catch (const kelvocad::DxfError&) {
        std::abort();  // a file this program wrote must read back
    }
    return 0;
}
