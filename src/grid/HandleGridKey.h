#pragma once

#include "grid/GridKeys.h"

namespace grid {

class CellGrid;
class GridClipboard;
class TUndoCells;

// The keys both grids share: Delete over several cells, Ctrl+C, Ctrl+X and Ctrl+V. Changed
// cells are recorded on undoCells first and undoCount becomes the number recorded, at least
// 1. The caller passes its grid's own stack and count (FUndoCells and sgUndoCnt for the
// attribute grid, FUndoCells2 and sgUndoCnt2 for the search grid). A consumed key is set
// to 0; other keys are left alone.
//
// Clipboard text is the spreadsheet exchange format: TAB between cells, CR LF after every
// row. Pasting writes the whole block from the selection's top-left cell and repeats its
// rows downward while the selection is taller; cells beyond the grid's edge are dropped
// and not recorded. A clipboard that cannot be written throws after a second attempt.
void HandleGridKey(CellGrid& grid, int& key, KeyModifiers modifiers, TUndoCells& undoCells, int& undoCount,
                   GridClipboard& clipboard);

}  // namespace grid
