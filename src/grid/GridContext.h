#pragma once

#include "cadlink/CadConnection.h"
#include "editor/records/LineEditorFields.h"
#include "editor/records/nAtt.h"
#include "editor/records/nBlk.h"

#include <vector>

namespace grid {

class CellGrid;
class GridPageHost;
class TUndoCells;

// Everything the attribute grid's operations work on. All members are owned elsewhere (by
// the main window and the page).
struct GridContext {
    const cadlink::CadLink& link;
    GridPageHost& host;
    CellGrid& StringGrid1;
    std::vector<editor::nBlk>& GridBlocks;
    std::vector<editor::nAtt>& GridAttributes;
    TUndoCells& FUndoCells;
    int& sgUndoCnt;
    // ATTmode, and the mark of a CAD operation in progress, shared with the line editor.
    editor::LineEditorFields& fields;
};

}  // namespace grid
