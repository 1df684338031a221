#include "editor/records/OrderByCoordinates.h"

#include "common/ExchangeSortOrder.h"

#include <algorithm>
#include <cmath>
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
    // Read once: a coordinate of a Variant point costs a type check and a conversion.
    std::vector<double> keys(n);
    for (size_t i = 0; i < n; ++i)
        keys[i] = records[i].insPt.doubleAt(axis);
    const auto isFixed = [&](size_t i) { return std::isnan(keys[i]); };
    std::vector<size_t> order;
    if (mode == 0)
        order = common::exchangeSortOrder(n, [&](size_t a, size_t b) { return keys[a] < keys[b]; }, isFixed);
    else  // Y grows upward, so the top comes first.
        order = common::exchangeSortOrder(n, [&](size_t a, size_t b) { return keys[a] > keys[b]; }, isFixed);
    // Moved along the permutation's cycles, each record once, without a second array of them.
    std::vector<bool> placed(n, false);
    for (size_t start = 0; start < n; ++start) {
        if (placed[start] || order[start] == start)
            continue;
        Record carried = std::move(records[start]);
        size_t slot = start;
        while (order[slot] != start) {
            records[slot] = std::move(records[order[slot]]);
            placed[slot] = true;
            slot = order[slot];
        }
        records[slot] = std::move(carried);
        placed[slot] = true;
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
