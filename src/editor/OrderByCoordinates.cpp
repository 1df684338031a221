#include "editor/OrderByCoordinates.h"

#include <algorithm>
#include <utility>

namespace editor {

namespace {

template <class Record>
void orderRecords(std::vector<Record>& records, int mode)
{
    const size_t n = records.size();
    if (n < 2)
        return;
    if (mode >= 3) {
        double minX = records[0].insPt.doubleAt(0), maxX = minX;
        double minY = records[0].insPt.doubleAt(1), maxY = minY;
        for (const auto& r : records) {
            const double x = r.insPt.doubleAt(0), y = r.insPt.doubleAt(1);
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        mode = (maxY - minY) >= (maxX - minX) ? 1 : 0;
    }
    if (mode != 0 && mode != 1)
        return;
    const size_t axis = mode == 0 ? 0 : 1;
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            const double a = records[i].insPt.doubleAt(axis);
            const double b = records[j].insPt.doubleAt(axis);
            // Y grows upward, so the top comes first.
            if (mode == 0 ? a > b : a < b)
                std::swap(records[i], records[j]);
        }
    }
}

}  // namespace

void OrderByCoordinates(std::vector<Kelvo>& records, int mode)
{
    orderRecords(records, mode);
}

void OrderByCoordinates(std::vector<nBlk>& records, int mode)
{
    orderRecords(records, mode);
}

}  // namespace editor
