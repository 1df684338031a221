#pragma once

#include "editor/records/Kelvo.h"
#include "editor/records/Kelvo2.h"
#include "editor/records/nAtt.h"
#include "editor/records/nBlk.h"

#include <vector>

namespace editor {

// The records of all three pages. The main window owns one instance for the program's
// life, so every page sees the same arrays and a test gets fresh ones.
struct EntityArrays {
    std::vector<Kelvo> TextEntities;
    std::vector<Kelvo2> SearchHits;
    std::vector<nBlk> GridBlocks;
    std::vector<nAtt> GridAttributes;
};

}  // namespace editor
