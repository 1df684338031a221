#include "grid/HandleGridKey.h"

#include "grid/CellGrid.h"
#include "grid/GridClipboard.h"
#include "grid/TUndoCells.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace grid {

namespace {

// Every cell of the rectangle, row by row from the top, each row left to right.
void forEachCell(const GridRect& rect, const std::function<void(int col, int row)>& visit)
{
    for (int row = rect.Top; row <= rect.Bottom; ++row)
        for (int col = rect.Left; col <= rect.Right; ++col)
            visit(col, row);
}

int emptyCells(CellGrid& grid, const GridRect& rect, TUndoCells& undoCells)
{
    int counted = 0;
    forEachCell(rect, [&](int col, int row) {
        undoCells.Add(grid, col, row);
        ++counted;
        grid.setCellText(col, row, {});
    });
    return counted;
}

std::u16string copyText(const CellGrid& grid, const GridRect& rect)
{
    std::u16string text;
    forEachCell(rect, [&](int col, int row) {
        text += grid.cellText(col, row);
        text += col < rect.Right ? u"\t" : u"\r\n";
    });
    return text;
}

// Some clipboard owners take the first placement only after a retry, so the text goes out
// twice; only a failure of the first attempt is reported, after the second has run.
void placeOnClipboard(GridClipboard& clipboard, const std::u16string& text)
{
    std::exception_ptr firstFailure;
    try {
        clipboard.setText(text);
    } catch (...) {
        firstFailure = std::current_exception();
    }
    try {
        clipboard.setText(text);
    } catch (...) {
    }
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

// Lines are the texts before each CR LF; text after the last line end is no line. Text
// without any CR LF has its lines end at LF: that is how Qt's Windows clipboard hands over
// another program's CR LF, and how most programs elsewhere write them. Where CR LF ends the
// rows, a lone LF is a line break inside a cell.
std::vector<std::vector<std::u16string>> clipboardBlock(const std::u16string& text)
{
    std::vector<std::vector<std::u16string>> lines;
    const std::u16string_view lineEnd = text.find(u"\r\n") != std::u16string::npos ? u"\r\n" : u"\n";
    size_t start = 0;
    for (size_t end = text.find(lineEnd); end != std::u16string::npos; end = text.find(lineEnd, start)) {
        // The search for TABs stays inside the line: a long column without any TAB would
        // otherwise be scanned to its end once per line.
        const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
        std::vector<std::u16string> fields;
        size_t fieldStart = 0;
        for (;;) {
            const size_t tab = line.find(u'\t', fieldStart);
            if (tab == std::u16string_view::npos) {
                fields.emplace_back(line.substr(fieldStart));
                break;
            }
            fields.emplace_back(line.substr(fieldStart, tab - fieldStart));
            fieldStart = tab + 1;
        }
        lines.push_back(std::move(fields));
        start = end + lineEnd.size();
    }
    return lines;
}

int paste(CellGrid& grid, const GridRect& rect, const std::u16string& text, TUndoCells& undoCells)
{
    const auto lines = clipboardBlock(text);
    const int lineCount = static_cast<int>(lines.size());
    int counted = 0;
    auto write = [&](int col, int row, const std::u16string& field) {
        // Values beyond the grid's edge could never be shown or written back: they are
        // dropped, and nothing is recorded for them.
        if (!grid.contains(col, row))
            return;
        undoCells.Add(grid, col, row);
        ++counted;
        grid.setCellText(col, row, field);
    };
    for (int i = 0; i < lineCount; ++i) {
        const auto& fields = lines[static_cast<size_t>(i)];
        for (int n = 0; n < static_cast<int>(fields.size()); ++n) {
            const int col = rect.Left + n;
            write(col, rect.Top + i, fields[static_cast<size_t>(n)]);
            for (int row = rect.Top + i + lineCount; row <= rect.Bottom; row += lineCount)
                write(col, row, fields[static_cast<size_t>(n)]);
        }
    }
    return counted;
}

}  // namespace

void HandleGridKey(CellGrid& grid, int& key, KeyModifiers modifiers, TUndoCells& undoCells, int& undoCount,
                   GridClipboard& clipboard)
{
    if (key == keys::Delete) {
        const GridRect rect = grid.selection();
        if (rect.Left == rect.Right && rect.Top == rect.Bottom)
            return;  // one cell: the grid and its editor handle the key
        key = 0;
        undoCount = std::max(emptyCells(grid, rect, undoCells), 1);
        return;
    }
    if (modifiers.control && (key == keys::X || key == keys::C)) {
        const bool cut = key == keys::X;
        key = 0;
        const GridRect rect = grid.selection();
        const std::u16string text = copyText(grid, rect);
        if (!text.empty())
            placeOnClipboard(clipboard, text);
        const int counted = cut ? emptyCells(grid, rect, undoCells) : 0;
        undoCount = std::max(counted, 1);
        return;
    }
    if (modifiers.control && key == keys::V) {
        key = 0;
        const std::u16string text = clipboard.text();
        undoCount = std::max(paste(grid, grid.selection(), text, undoCells), 1);
    }
}

}  // namespace grid
