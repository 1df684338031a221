#include "FakeCellGrid.h"

#include "grid/TUndoCells.h"
#include "grid/UndoGroup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace grid::test {
namespace {

// Records the grid's cell, then overwrites it, as every grid command does.
void edit(TUndoCells& undo, FakeCellGrid& grid, int col, int row, const std::u16string& text)
{
    undo.Add(grid, col, row);
    grid.setCellText(col, row, text);
}

std::vector<int> levelsOf(const TUndoCells& undo, const CellGrid& grid)
{
    std::vector<int> levels;
    for (int i = 0; i < undo.Count(); ++i)
        if (undo.Items(i).Grid() == &grid)
            levels.push_back(undo.Items(i).UndoLevel());
    return levels;
}

TEST(TUndoCells, UndoPutsTextsBackNewestFirstAndMovesTheCurrentCell)
{
    FakeCellGrid grid;
    grid.setCellText(1, 1, u"a");
    grid.setCellText(2, 1, u"b");
    // (1, 2) holds no text: undoing its record empties the cell again.
    TUndoCells undo;
    edit(undo, grid, 1, 1, u"A");
    edit(undo, grid, 2, 1, u"B");
    const TUndoCell& third = undo.Add(grid, 1, 2);
    grid.setCellText(1, 2, u"C");
    EXPECT_EQ(third.Text(), u"");
    EXPECT_EQ(third.X(), 1);
    EXPECT_EQ(third.Y(), 2);
    EXPECT_EQ(levelsOf(undo, grid), (std::vector<int>{0, 1, 2}));

    struct Step {
        int col, row;
        std::u16string restored;
    };
    const std::vector<Step> steps = {{1, 2, u""}, {2, 1, u"b"}, {1, 1, u"a"}};
    grid.select(4, 4, 4, 4);
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        undo.Undo(grid);
        EXPECT_EQ(grid.cellText(steps[i].col, steps[i].row), steps[i].restored);
        EXPECT_EQ(grid.Col(), steps[i].col);
        EXPECT_EQ(grid.Row(), steps[i].row);
        EXPECT_EQ(undo.Count(), static_cast<int>(steps.size() - i - 1));
    }
    const auto moves = grid.moves.size();
    undo.Undo(grid);
    EXPECT_EQ(grid.moves.size(), moves) << "an empty stack must not move the current cell";
    EXPECT_EQ(grid.cellText(1, 1), u"a");
}

TEST(TUndoCells, CurrentCellMovesColumnThenRowOnlyWhereTheyDiffer)
{
    struct Case {
        std::pair<int, int> current;
        std::pair<int, int> recorded;
        std::vector<std::pair<int, int>> moves;
    };
    const std::vector<Case> cases = {
        {{2, 3}, {2, 3}, {}},
        {{1, 3}, {2, 3}, {{2, 3}}},
        {{2, 1}, {2, 3}, {{2, 3}}},
        {{1, 1}, {3, 2}, {{3, 1}, {3, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recorded.first << "," << c.recorded.second);
        FakeCellGrid grid;
        TUndoCells undo;
        edit(undo, grid, c.recorded.first, c.recorded.second, u"x");
        grid.select(c.current.first, c.current.second, c.current.first, c.current.second);
        undo.Undo(grid);
        EXPECT_EQ(grid.moves, c.moves);
    }
}

TEST(TUndoCells, EachGridHasItsOwnLevelsLimitAndUndo)
{
    FakeCellGrid one;
    FakeCellGrid two;
    TUndoCells undo;
    undo.setUndoLevels(2);
    edit(undo, two, 1, 1, u"t1");
    edit(undo, one, 1, 1, u"o1");
    edit(undo, one, 1, 2, u"o2");
    edit(undo, two, 1, 2, u"t2");
    edit(undo, one, 1, 3, u"o3");  // drops one's oldest record only
    EXPECT_EQ(levelsOf(undo, one), (std::vector<int>{0, 1}));
    EXPECT_EQ(levelsOf(undo, two), (std::vector<int>{0, 1}));
    EXPECT_EQ(undo.Count(), 4);

    for (int i = 0; i < 3; ++i)
        undo.Undo(one);
    EXPECT_EQ(one.column(1), (std::vector<std::u16string>{u"o1", u"", u"", u""}))
        << "the oldest record of grid one was dropped, so (1, 1) keeps its edit";
    EXPECT_EQ(two.column(1), (std::vector<std::u16string>{u"t1", u"t2", u"", u""}));
    EXPECT_EQ(undo.Count(), 2);
    undo.Undo(two);
    undo.Undo(two);
    EXPECT_EQ(two.column(1), (std::vector<std::u16string>{u"", u"", u"", u""}));
}

TEST(TUndoCells, LevelLimitKeepsTheNewestRecords)
{
    struct Case {
        int limit;
        int adds;
        std::vector<int> levels;
        std::u16string oldestKept;  // the text of the grid's first record left
    };
    const std::vector<Case> cases = {
        {0, 4, {0, 1, 2, 3}, u"t0"},
        {-1, 3, {0, 1, 2}, u"t0"},
        {1, 3, {0}, u"t2"},
        {2, 3, {0, 1}, u"t1"},
        {3, 3, {0, 1, 2}, u"t0"},
        {2, 5, {0, 1}, u"t3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.limit << ", adds " << c.adds);
        FakeCellGrid grid(3, 8);
        TUndoCells undo;
        undo.setUndoLevels(c.limit);
        for (int i = 0; i < c.adds; ++i) {
            grid.setCellText(1, i + 1, u"t" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
            const TUndoCell& added = undo.Add(grid, 1, i + 1);
            EXPECT_EQ(added.UndoLevel(), c.levels[std::min<size_t>(static_cast<size_t>(i), c.levels.size() - 1)]);
        }
        EXPECT_EQ(levelsOf(undo, grid), c.levels);
        EXPECT_EQ(undo.Items(0).Text(), c.oldestKept);
    }
}

TEST(TUndoCells, RecordBeyondTheGridIsDroppedWithoutMovingTheCurrentCell)
{
    FakeCellGrid grid(5, 6);
    TUndoCells undo;
    edit(undo, grid, 2, 2, u"kept");
    edit(undo, grid, 3, 5, u"gone");
    grid.setRowCount(3);
    grid.select(1, 1, 1, 1);
    undo.Undo(grid);
    EXPECT_TRUE(grid.moves.empty());
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(undo.Count(), 1);
    undo.Undo(grid);
    EXPECT_EQ(grid.cellText(2, 2), u"");
    EXPECT_EQ(grid.moves.back(), std::make_pair(2, 2));
}

TEST(TUndoCells, ClearForgetsEveryGrid)
{
    FakeCellGrid one;
    FakeCellGrid two;
    TUndoCells undo;
    edit(undo, one, 1, 1, u"x");
    edit(undo, two, 1, 1, u"y");
    undo.Clear();
    EXPECT_EQ(undo.Count(), 0);
    undo.Undo(one);
    EXPECT_EQ(one.cellText(1, 1), u"x");
    EXPECT_EQ(undo.Add(one, 1, 1).UndoLevel(), 0);
    EXPECT_THROW(undo.Items(1), std::out_of_range);
}

// The plain algorithm the stack must behave like: one list, and every lookup of a grid's
// newest or oldest record scans it from the front.
class ReferenceUndo {
public:
    struct Record {
        int grid;
        std::u16string text;
        int x, y, level;
    };

    const Record& add(int grid, const CellGrid& cells, int col, int row)
    {
        int level = 0;
        if (const Record* top = topItem(grid)) {
            level = top->level + 1;
            if (limit > 0 && level > limit - 1)
                level = dropOldest(grid);
        }
        list.push_back({grid, cells.cellText(col, row), col, row, level});
        return list.back();
    }

    void undo(int grid, CellGrid& cells)
    {
        const Record* top = topItem(grid);
        if (!top)
            return;
        const Record record = *top;
        list.erase(list.begin() + (top - list.data()));
        if (!cells.contains(record.x, record.y))
            return;
        cells.setCellText(record.x, record.y, record.text);
        if (cells.Col() != record.x)
            cells.setCol(record.x);
        if (cells.Row() != record.y)
            cells.setRow(record.y);
    }

    std::vector<Record> list;
    int limit = 0;

private:
    const Record* topItem(int grid) const
    {
        const Record* top = nullptr;
        for (const auto& record : list)
            if (record.grid == grid && (!top || record.level > top->level))
                top = &record;
        return top;
    }

    int dropOldest(int grid)
    {
        const auto first = std::find_if(list.begin(), list.end(), [grid](const Record& r) { return r.grid == grid; });
        if (first == list.end())
            return 0;
        list.erase(first);
        int level = 0;
        for (auto& record : list)
            if (record.grid == grid)
                record.level = level++;
        return level;
    }
};

constexpr int kGrids = 3;

// The stack and the reference each work on their own copy of the same grids.
struct Worlds {
    std::array<FakeCellGrid, kGrids> real;
    std::array<FakeCellGrid, kGrids> model;
    TUndoCells undo;
    ReferenceUndo reference;

    int gridIndex(const CellGrid* grid) const
    {
        for (int g = 0; g < kGrids; ++g)
            if (grid == &real[static_cast<size_t>(g)])
                return g;
        return -1;
    }
};

testing::AssertionResult sameRecord(const Worlds& w, const TUndoCell& got, const ReferenceUndo::Record& want)
{
    if (w.gridIndex(got.Grid()) != want.grid || got.Text() != want.text || got.X() != want.x || got.Y() != want.y
        || got.UndoLevel() != want.level)
        return testing::AssertionFailure()
               << "record of grid " << w.gridIndex(got.Grid()) << " at (" << got.X() << ", " << got.Y() << ") level "
               << got.UndoLevel() << ", expected grid " << want.grid << " at (" << want.x << ", " << want.y
               << ") level " << want.level;
    return testing::AssertionSuccess();
}

testing::AssertionResult sameState(const Worlds& w, bool readRecords)
{
    if (w.undo.Count() != static_cast<int>(w.reference.list.size()))
        return testing::AssertionFailure() << "count " << w.undo.Count() << ", expected " << w.reference.list.size();
    for (int i = 0; readRecords && i < w.undo.Count(); ++i)
        if (auto same = sameRecord(w, w.undo.Items(i), w.reference.list[static_cast<size_t>(i)]); !same)
            return same << " at position " << i;
    for (size_t g = 0; g < kGrids; ++g) {
        const FakeCellGrid& got = w.real[g];
        const FakeCellGrid& want = w.model[g];
        if (got.RowCount() != want.RowCount() || got.Col() != want.Col() || got.Row() != want.Row()
            || got.moves != want.moves)
            return testing::AssertionFailure() << "grid " << g << " current cell or moves differ";
        for (int row = 0; row < got.RowCount(); ++row)
            for (int col = 0; col < got.ColCount(); ++col)
                if (got.cellText(col, row) != want.cellText(col, row))
                    return testing::AssertionFailure() << "grid " << g << " cell (" << col << ", " << row << ") differs";
    }
    return testing::AssertionSuccess();
}

// Random runs over interleaved grids: records, undos, clears, limit changes (lowering one
// below a grid's record count included) and grids shrinking under their records.
TEST(TUndoCells, BehavesLikeThePlainAlgorithmOnRandomRuns)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        const auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        Worlds w;
        const int grids = 2 + static_cast<int>(seed % 2);
        const bool limited = seed % 3 == 0;
        int stamp = 0;
        for (int step = 0; step < 1500; ++step) {
            const int g = below(grids);
            FakeCellGrid& real = w.real[static_cast<size_t>(g)];
            FakeCellGrid& model = w.model[static_cast<size_t>(g)];
            const int op = below(200);
            std::string what;
            if (op < 110) {
                // Cells just beyond the edge too, as a paste records them.
                const int col = below(real.ColCount() + 1);
                const int row = below(real.RowCount() + 1);
                const TUndoCell& added = w.undo.Add(real, col, row);
                const auto& expected = w.reference.add(g, model, col, row);
                ASSERT_TRUE(sameRecord(w, added, expected)) << "step " << step << ": add";
                const std::u16string text = u"t" + std::u16string(1, static_cast<char16_t>(u'A' + stamp++ % 26));
                real.setCellText(col, row, text);
                model.setCellText(col, row, text);
                what = "add";
            } else if (op < 180) {
                w.undo.Undo(real);
                w.reference.undo(g, model);
                what = "undo";
            } else if (op < 181) {
                w.undo.Clear();
                w.reference.list.clear();
                what = "clear";
            } else if (op < 189) {
                const int limit = limited ? below(6) - 1 : 0;
                w.undo.setUndoLevels(limit);
                w.reference.limit = limit;
                what = "limit";
            } else {
                const int rows = 2 + below(5);
                real.setRowCount(rows);
                model.setRowCount(rows);
                what = "rows";
            }
            // Reading records by position is left out of most steps, so that the stack also
            // meets long runs of adds and undos with no such read in between.
            ASSERT_TRUE(sameState(w, below(10) == 0)) << "step " << step << ": " << what;
        }
        ASSERT_TRUE(sameState(w, true)) << "at the end";
    }
}

// The group protocol: a command records n cells and sets the count to n; Ctrl+Z takes the
// group back and then works record by record.
TEST(UndoGroup, CtrlZTakesTheGroupThenSingleRecords)
{
    struct Case {
        const char* name;
        int count;           // the undo group count before Ctrl+Z
        int restoredFirst;   // cells restored by the first Ctrl+Z
        int countAfter;
    };
    const std::vector<Case> cases = {
        {"paste of 6", 6, 6, 0},
        {"after Ctrl+C", 1, 1, 0},
        {"after an earlier Ctrl+Z", 0, 1, 0},
        {"negative count", -3, 1, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCellGrid grid(3, 10);
        TUndoCells undo;
        for (int row = 1; row <= 8; ++row)
            edit(undo, grid, 1, row, u"new");
        int count = c.count;
        undoGroupByKey(undo, grid, count);
        EXPECT_EQ(count, c.countAfter);
        EXPECT_EQ(undo.Count(), 8 - c.restoredFirst);
        undoGroupByKey(undo, grid, count);
        EXPECT_EQ(undo.Count(), 8 - c.restoredFirst - 1) << "the next Ctrl+Z takes back one record";
    }
}

}  // namespace
}  // namespace grid::test
