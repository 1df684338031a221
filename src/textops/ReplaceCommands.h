#pragma once

#include "textops/CellBatch.h"
#include "textops/LineBatch.h"
#include "textops/StepControl.h"
#include "textops/TextReplace.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace textops {

// The replace commands behind TKelvoTikanForm. Captions of their menu items:
inline constexpr std::u16string_view replaceAllCaption = u"すべて置換";        // N7
inline constexpr std::u16string_view replaceSelectionCaption = u"選択範囲を置換";  // N8, N35, N44

// What N8 puts into both fields: the selected text up to its first line break.
std::u16string selectionSearchPrefill(std::u16string_view selected);

enum class ReplaceCommand { N7, N8, N35, N44 };

// The two edits of TKelvoTikanForm, which keep their texts between uses.
struct TikanFields {
    std::u16string Edit1;  // search
    std::u16string Edit2;  // replacement
};

// Fills the dialog before it is shown. source: N7 the first editor line, N8 the selected
// text, N35 and N44 the top-left selected cell; nothing when the editor has no line, and
// the fields then keep their texts. N35 leaves the replacement as it was.
void prefillTikanFields(ReplaceCommand command, TikanFields& fields, std::optional<std::u16string_view> source);

// N7: every editor line, ignoring case when CheckBox1 is checked. Nothing when the search
// string is empty (the command then changes nothing and sets no undo mark).
std::optional<LineBatchResult> replaceEveryLine(std::vector<std::u16string> lines, std::u16string_view search,
                                                std::u16string_view replacement, MatchCase matchCase,
                                                const StepControl& control);
// N8: the editor selection, always exact.
std::optional<SelectionResult> replaceInSelection(std::u16string_view selected, std::u16string_view search,
                                                  std::u16string_view replacement, const StepControl& control);
// N35 and N44: every cell of the rectangle, always exact; the undo group count, or nothing
// when the search string is empty (the count then stays as it was).
std::optional<int> replaceInCells(CellTarget& grid, const CellRect& rect, std::u16string_view search,
                                  std::u16string_view replacement);

}  // namespace textops
