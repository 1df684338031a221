#pragma once

#include <QString>

namespace bench::e2e {

class Measurement;

// A drawing of `count` TEXTs served by kelvocad: on the line editor page the TEXT
// acquisition, write-back, Align and the acquisition ordered by coordinates, on the search
// page the search with its sort and the batch update; then the anchor client's acquisition,
// write-back, search, Align and batch update. Files go to `folder`.
void runTextDrawing(Measurement& measurement, const QString& folder, int count);
// A drawing of `count` block references with 8 attributes: the ATTR acquisition and its
// write-back on the line editor page, the grid's acquisition and update, the anchor's
// grid acquisition, ATTR acquisition and grid update.
void runBlockDrawing(Measurement& measurement, const QString& folder, int count);

// Each text command of the line editor over `lines` lines, without a drawing host.
void runTextCommands(Measurement& measurement, int lines);

}  // namespace bench::e2e
