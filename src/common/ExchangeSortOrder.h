#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <vector>

namespace common {

// The orderings users know put their items in the order of this exchange sort:
//
//     for i: for j > i: if before(j, i) swap(i, j)
//
// Among equal keys that order is neither stable nor reversed, so it cannot come from a
// library sort; redoing the swaps costs the square of the count. This computes the same
// permutation in O(n log n). result[k] is the index of the item that ends in slot k.
//
// before(a, b) must be a strict weak order on the items that are not fixed. A fixed item
// (a NaN key) is before nothing and nothing is before it, so the exchange sort never moves
// it; it keeps its slot and the others are ordered around it.
//
// Why it works. One pass of the exchange sort carries the front item along the chain of
// strict running minima, each of them dropping into the slot of the next, and the last (the
// first of the smallest keys) comes out in front. Take the items of one key x and the items
// before x ("lower"), and ignore the rest: they never change how those two kinds move
// relative to each other. Every pass takes out one lower item, the first one; when items of
// x lead the remaining sequence, the first of them drops into that lower item's slot, behind
// the other leading items of x. So the items of x form a queue: each lower item, met in its
// original order, turns the queue by one (first to last) unless it is still empty, and each
// item of x joins at the back when it is reached. Once no lower item is left, the items of x
// come out in the queue's order.
template <class Before, class IsFixed>
std::vector<std::size_t> exchangeSortOrder(std::size_t n, Before before, IsFixed isFixed)
{
    std::vector<std::size_t> result(n);
    std::iota(result.begin(), result.end(), std::size_t{0});
    // The sortable items in their original order; positions below count in this list.
    std::vector<std::size_t> items;
    items.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        if (!isFixed(i))
            items.push_back(i);
    const std::size_t m = items.size();
    if (m < 2)
        return result;

    std::vector<std::size_t> sorted(m);
    std::iota(sorted.begin(), sorted.end(), std::size_t{0});
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](std::size_t a, std::size_t b) { return before(items[a], items[b]); });

    // Positions of the lower items seen so far (Fenwick tree over positions 1..m).
    std::vector<std::size_t> lower(m + 1, 0);
    const auto lowerUpTo = [&](std::size_t position) {  // lower items at positions < position
        std::size_t count = 0;
        for (std::size_t i = position; i > 0; i -= i & (~i + 1))
            count += lower[i];
        return count;
    };
    const auto markLower = [&](std::size_t position) {
        for (std::size_t i = position + 1; i <= m; i += i & (~i + 1))
            ++lower[i];
    };

    std::vector<std::size_t> emitted;
    emitted.reserve(m);
    std::vector<std::size_t> insertAt;
    std::vector<std::size_t> freeSlots;
    std::vector<std::size_t> queue;
    std::size_t groupBegin = 0;
    while (groupBegin < m) {
        std::size_t groupEnd = groupBegin + 1;
        while (groupEnd < m && !before(items[sorted[groupEnd - 1]], items[sorted[groupEnd]]))
            ++groupEnd;
        const std::size_t size = groupEnd - groupBegin;

        // The queue is kept as a ring with a head index; an item joining at the back goes
        // in just before the head. Only the insertion index of each item is noted here.
        insertAt.assign(size, 0);
        std::size_t head = 0;
        for (std::size_t t = 0; t < size; ++t) {
            const std::size_t position = sorted[groupBegin + t];
            if (t > 0) {
                const std::size_t previous = sorted[groupBegin + t - 1];
                head = (head + lowerUpTo(position) - lowerUpTo(previous + 1)) % t;
            }
            insertAt[t] = head;
            ++head;
        }
        head = (head + lowerUpTo(m) - lowerUpTo(sorted[groupEnd - 1] + 1)) % size;

        // Insertions replayed backwards: the last one keeps its index, each earlier one takes
        // the index-th slot still free.
        freeSlots.assign(size + 1, 0);
        for (std::size_t i = 1; i <= size; ++i) {
            ++freeSlots[i];
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= size)
                freeSlots[parent] += freeSlots[i];
        }
        std::size_t topBit = 1;
        while (topBit * 2 <= size)
            topBit *= 2;
        queue.assign(size, 0);
        for (std::size_t t = size; t-- > 0;) {
            // The last Fenwick index with at most insertAt[t] free slots up to it is, counted
            // from 0, the free slot wanted.
            std::size_t slot = 0;
            std::size_t rest = insertAt[t];
            for (std::size_t step = topBit; step > 0; step /= 2) {
                if (slot + step <= size && freeSlots[slot + step] <= rest) {
                    slot += step;
                    rest -= freeSlots[slot];
                }
            }
            queue[slot] = sorted[groupBegin + t];
            for (std::size_t i = slot + 1; i <= size; i += i & (~i + 1))
                --freeSlots[i];
        }
        for (std::size_t k = 0; k < size; ++k)
            emitted.push_back(queue[(head + k) % size]);
        for (std::size_t t = groupBegin; t < groupEnd; ++t)
            markLower(sorted[t]);
        groupBegin = groupEnd;
    }

    std::size_t next = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (!isFixed(i))
            result[i] = items[emitted[next++]];
    return result;
}

}  // namespace common
