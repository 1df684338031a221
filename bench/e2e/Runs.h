#pragma once

#include <QString>

namespace bench::e2e {

class Measurement;

// A drawing of `count` TEXTs served by kelvocad: on the line editor page the TEXT
// acquisition, write-back and Align (and the acquisition ordered by coordinates when
// `ordered`), on the search page the search with its sort and the batch update; then the
// anchor client's acquisition, write-back and search. Files go to `folder`.
// Operations that change the drawing run only when `writes`: kelvocad lays out and paints
// its whole drawing again after each change, which grows with the square of the count.
void runTextDrawing(Measurement& measurement, const QString& folder, int count, bool ordered, bool writes);
// A drawing of `count` block references with 8 attributes: the ATTR acquisition and its
// write-back on the line editor page, the grid's acquisition and update, the anchor's
// grid acquisition.
void runBlockDrawing(Measurement& measurement, const QString& folder, int count, bool writes);

// Why the operations that change the drawing were not run at a size.
inline constexpr const char* kWritesSkipped =
    "kelvocad rebuilds and repaints its whole view after every change (see RESULTS.md)";
// Each text command of the line editor over `lines` lines, without a drawing host.
void runTextCommands(Measurement& measurement, int lines);

}  // namespace bench::e2e
