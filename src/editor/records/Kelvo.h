#pragma once

#include "automation/Variant.h"

#include <cstdint>
#include <string>

namespace editor {

// One line of the line editor: the entity it stands for, found again by handle, and what
// the operations need without asking the CAD again. An empty handle means the line has no
// entity (deleted, or never made).
struct Kelvo {
    std::u16string sHnd;
    std::u16string text;
    automation::Variant insPt;  // three doubles X, Y, Z; only X and Y are ever changed
    int32_t txtAli = 0;         // 0: placed by InsertionPoint, otherwise by TextAlignmentPoint
    std::u16string lay;
    int32_t index = 0;
    std::u16string parentType;  // "INSERT" for an attribute value, empty for a TEXT
    std::u16string parentName;
    bool locked = false;
};

}  // namespace editor
