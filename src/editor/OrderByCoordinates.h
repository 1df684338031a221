#pragma once

#include "editor/Kelvo.h"
#include "editor/nBlk.h"

#include <vector>

namespace editor {

// Reorders records by their insertion points. Mode 0: left to right by X; mode 1: top to
// bottom by Y; 3 or more: whichever axis the points spread further along (Y on a tie);
// anything else leaves the order alone. Only one coordinate is compared, and the exchange
// sort is kept on purpose: the order it leaves among equal keys is what users see.
void OrderByCoordinates(std::vector<Kelvo>& records, int mode);
void OrderByCoordinates(std::vector<nBlk>& records, int mode);

}  // namespace editor
