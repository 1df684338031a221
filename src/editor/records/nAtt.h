#pragma once

#include "automation/Variant.h"

#include <string>

namespace editor {

// One filled cell of the attribute grid: an attribute of a block reference.
struct nAtt {
    std::u16string sHnd;
    std::u16string text;
    automation::Variant insPt;
    std::u16string lay;
};

}  // namespace editor
