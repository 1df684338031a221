#pragma once

#include "textops/CellBatch.h"
#include "textops/DigitArithmetic.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace textops {

inline constexpr std::u16string_view numberingCaption = u"連番作成";  // N17, N31
inline constexpr std::u16string_view appendButtonCaption = u"追加";    // Button1 for the editor
inline constexpr std::u16string_view overwriteButtonCaption = u"上書き"; // Button1 for the grid

// The most lines one numbering run may add to the line editor. A larger count is refused
// with TooManyItemsError instead of filling memory.
inline constexpr std::int64_t maxNumberingLines = 1'000'000;

// The texts of TKelvoRenbanForm's edits and its radix, as typed.
struct NumberingFields {
    std::u16string Edit1;  // prefix
    std::u16string Edit2;  // start number in the radix; its length is the number width
    std::u16string Edit3;  // suffix
    std::u16string Edit4;  // count, decimal
    std::u16string Edit5;  // step, decimal
    Radix radix = Radix::Decimal;
};

struct NumberingPreview {
    std::u16string StaticText1;
    bool stepEnabled = true;                     // Label6 and Edit5
    std::optional<std::u16string_view> Label5Caption;  // nothing: Label5 keeps its caption
};

// Where a run goes: the line editor refuses runs beyond maxNumberingLines; the grid takes
// what its rows hold.
enum class NumberingTarget { LineEditor, Grid };

// Edit1Change: the preview of the first and last text of the run, or the refusal the
// generation into the target will give. Throws InvalidNumberError for an octal start that
// holds anything but 0-7.
NumberingPreview numberingPreview(const NumberingFields& fields, NumberingTarget target = NumberingTarget::LineEditor);

// The run of texts as Button1Click generates it, read once from the fields. Items are made
// on demand, so a run only as long as its target can hold is ever built.
class NumberingRun {
public:
    // Throws InvalidNumberError for an octal start that holds anything but 0-7.
    explicit NumberingRun(const NumberingFields& fields);

    // The count typed, or 1 when it is not a number; 0 or less generates nothing.
    // countTooLarge(): the count does not fit 32 bits; count() is then the largest int64.
    std::int64_t count() const noexcept { return count_; }
    bool countTooLarge() const noexcept { return countTooLarge_; }
    // Item b (0-based), upper-cased in the ASCII range.
    std::u16string item(std::int64_t b) const;

    // Every item, for the line editor. Throws TooManyItemsError beyond maxNumberingLines.
    std::vector<std::u16string> itemsForEditor() const;

private:
    std::u16string prefix_;
    std::u16string suffix_;
    std::u16string countText_;
    bool fixedText_ = false;
    Radix radix_ = Radix::Decimal;
    DigitNumber start_;
    std::size_t width_ = 0;
    std::int64_t step_ = 1;
    std::int64_t count_ = 1;
    bool countTooLarge_ = false;
};

enum class NumberingMode {
    Insert,  // Button3 "挿入": above the line that holds the selection start
    Append,  // Button1 "追加": after the last line
};

// The editor's lines with the items placed; selectionStartLine is 0-based.
void placeNumberingLines(std::vector<std::u16string>& lines, const std::vector<std::u16string>& items,
                         NumberingMode mode, int selectionStartLine);

struct RowRange {
    int first = 0;
    int last = -1;
};
// The rows the grid overwrite may fill: from the current row to the last row when the
// selection is one row high, the selected rows otherwise.
RowRange numberingRows(int selectionTop, int selectionBottom, int currentRow, int lastRow) noexcept;

// Writes the items down the column from rows.first, saving each cell first; items below
// rows.last are dropped. Returns the undo group count (at least 1).
int overwriteNumberingCells(CellTarget& grid, const NumberingRun& run, int column, const RowRange& rows);

}  // namespace textops
