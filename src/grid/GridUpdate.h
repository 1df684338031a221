#pragma once

namespace grid {

struct GridContext;

// "更新": writes every cell linked to an attribute back, in one CAD undo step.
void SpeedButton11Click(GridContext& context);
// "中止": asks a running acquisition to stop.
void SpeedButton12Click(GridContext& context);
// "UNDO": takes back sgUndoCnt records of the grid's undo stack; nothing while an
// acquisition is filling the grid.
void SpeedButton13Click(GridContext& context);

}  // namespace grid
