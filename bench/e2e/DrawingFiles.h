#pragma once

#include <QString>

#include <string>
#include <vector>

namespace bench::e2e {

// A DXF drawing written for a benchmark, with the handles of its entities in file order.
struct GeneratedDrawing {
    QString path;
    std::vector<std::u16string> handles;
};

inline constexpr int kTagsPerBlock = 8;

// `count` TEXTs "W-00000".. in an order of their own on a grid of 100 columns, so that
// sorting and ordering by coordinates both have work to do.
GeneratedDrawing writeTextDrawing(const QString& path, int count);
// `count` references of the block "IO8", each with the attributes TAG1..TAG8 holding
// "V<i>-<t>", in a column.
GeneratedDrawing writeBlockDrawing(const QString& path, int count);

// The strings of writeTextDrawing, in file order.
std::vector<std::u16string> textDrawingStrings(int count);

}  // namespace bench::e2e
