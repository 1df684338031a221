#pragma once

#include "cadlink/CadConnection.h"
#include "editor/records/Kelvo2.h"
#include "editor/records/LineEditorFields.h"
#include "search/SearchHost.h"

#include <vector>

namespace grid {
class CellGrid;
class TUndoCells;
}  // namespace grid

namespace search {

// Everything the search page's operations work on. All members are owned elsewhere (by the
// main window and the page).
//
// StringGrid2 has one column and no fixed cells. Row r shows a hit's text, and its cell
// object r + 1 names the hit SearchHits[r]; an object outside 1..n marks a row without a hit.
struct SearchContext {
    const cadlink::CadLink& link;
    SearchHost& host;
    grid::CellGrid& StringGrid2;
    std::vector<editor::Kelvo2>& SearchHits;
    grid::TUndoCells& FUndoCells2;
    int& sgUndoCnt2;
    // The mark of a CAD operation in progress, shared with the other pages.
    editor::LineEditorFields& fields;
};

}  // namespace search
