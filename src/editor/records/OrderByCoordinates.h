#pragma once

#include "editor/records/Kelvo.h"
#include "editor/records/nBlk.h"

#include <vector>

namespace editor {

// Reorders records by their insertion points. Mode 0: left to right by X; mode 1: top to
// bottom by Y; 3 or more: whichever axis the points spread further along (Y on a tie);
// anything else leaves the order alone. Only one coordinate is compared. Records with equal
// keys end in the order an exchange sort leaves them (see ExchangeSortOrder.h), which is what
// users see; a record whose coordinate is not a number keeps its place.
void OrderByCoordinates(std::vector<Kelvo>& records, int mode);
void OrderByCoordinates(std::vector<nBlk>& records, int mode);

}  // namespace editor
