#pragma once

#include "common/Utf.h"

#include <cstdint>
#include <string>

namespace editor {

// A count as the page's labels and messages show it.
inline std::u16string decimal(int64_t value)
{
    return common::fromAscii(std::to_string(value));
}

}  // namespace editor
