#pragma once

// What the grid paste fuzzer checks of every input, shared with the test that replays its
// findings: Ctrl+V with any clipboard text into any selection of a small grid writes what a
// plain reading of the exchange format says, records every cell it changes, and undoing
// those records gives back the grid as it was.
#include "FuzzInput.h"

#include "grid/FakeCellGrid.h"
#include "grid/GridClipboard.h"
#include "grid/HandleGridKey.h"
#include "grid/TUndoCells.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

class TextClipboard : public grid::GridClipboard {
public:
    explicit TextClipboard(std::u16string text) : text_(std::move(text)) {}
    std::u16string text() override { return text_; }
    void setText(const std::u16string& text) override { text_ = text; }

private:
    std::u16string text_;
};

struct GridPasteCase {
    int cols = 2;  // fixed column included
    int rows = 2;  // fixed row included
    grid::GridRect selection;
    std::u16string clipboard;
};

inline GridPasteCase gridPasteCase(std::string_view bytes)
{
    InputReader input(bytes);
    GridPasteCase c;
    c.cols = 2 + input.byte() % 7;
    c.rows = 2 + input.byte() % 30;
    const int left = 1 + input.byte() % (c.cols - 1);
    const int top = 1 + input.byte() % (c.rows - 1);
    const int right = left + input.byte() % (c.cols - left);
    const int bottom = top + input.byte() % (c.rows - top);
    c.selection = {left, top, right, bottom};
    c.clipboard = unitsFromBytes(input.rest());
    return c;
}

inline std::u16string cellLabel(int col, int row)
{
    return u"c" + std::u16string(1, static_cast<char16_t>(u'0' + col)) + u"r" + std::u16string(1, static_cast<char16_t>(u'A' + row));
}

inline std::vector<std::u16string> cellsOf(const grid::test::FakeCellGrid& g)
{
    std::vector<std::u16string> cells;
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            cells.push_back(g.cellText(c, r));
    return cells;
}

inline std::string checkGridPaste(const GridPasteCase& c)
{
    grid::test::FakeCellGrid g(c.cols, c.rows);
    for (int r = 0; r < c.rows; ++r)
        for (int col = 0; col < c.cols; ++col)
            g.setCellText(col, r, cellLabel(col, r));
    g.setSelection(c.selection);
    const std::vector<std::u16string> original = cellsOf(g);

    // The block as the exchange format reads: a line is the text before a CR LF (before an
    // LF when the text holds no CR LF at all), its fields are separated by TAB. Laid from the
    // selection's top-left, rows repeating downward.
    std::vector<std::u16string> expected = original;
    int written = 0;
    std::vector<std::vector<std::u16string>> block;
    std::vector<std::u16string> fields(1);
    const bool rowsEndInCrLf = c.clipboard.find(u"\r\n") != std::u16string::npos;
    for (size_t i = 0; i < c.clipboard.size(); ++i) {
        if (c.clipboard[i] == u'\r' && i + 1 < c.clipboard.size() && c.clipboard[i + 1] == u'\n') {
            block.push_back(fields);
            fields.assign(1, u"");
            ++i;
        } else if (c.clipboard[i] == u'\n' && !rowsEndInCrLf) {
            block.push_back(fields);
            fields.assign(1, u"");
        } else if (c.clipboard[i] == u'\t') {
            fields.emplace_back();
        } else {
            fields.back() += c.clipboard[i];
        }
    }
    const int lineCount = static_cast<int>(block.size());
    for (int i = 0; i < lineCount; ++i)
        for (int n = 0; n < static_cast<int>(block[i].size()); ++n)
            for (int row = c.selection.Top + i; row == c.selection.Top + i || row <= c.selection.Bottom; row += lineCount) {
                const int col = c.selection.Left + n;
                if (col < c.cols && row < c.rows) {
                    expected[static_cast<size_t>(row * c.cols + col)] = block[i][n];
                    ++written;
                }
            }

    grid::TUndoCells undo;
    int key = grid::keys::V;
    int undoCount = -1;
    TextClipboard clipboard(c.clipboard);
    grid::HandleGridKey(g, key, grid::KeyModifiers{false, true, false}, undo, undoCount, clipboard);
    if (key != 0)
        return "Ctrl+V was not consumed";
    if (undoCount != std::max(written, 1))
        return "undo group of " + std::to_string(undoCount) + " for " + std::to_string(written) + " cells written";
    if (undo.Count() != written)
        return std::to_string(undo.Count()) + " records for " + std::to_string(written) + " cells written";
    const std::vector<std::u16string> pasted = cellsOf(g);
    for (size_t i = 0; i < pasted.size(); ++i)
        if (pasted[i] != expected[i])
            return "cell " + std::to_string(i % c.cols) + "," + std::to_string(i / c.cols) + " holds \"" +
                   printable(pasted[i]) + "\", expected \"" + printable(expected[i]) + "\"";
    for (int i = 0; i < undoCount; ++i)
        undo.Undo(g);
    if (cellsOf(g) != original)
        return "undoing the paste does not give back the grid";
    return {};
}

}  // namespace fuzzing
