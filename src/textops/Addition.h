#pragma once

#include "textops/CellBatch.h"
#include "textops/DigitArithmetic.h"
#include "textops/LineBatch.h"
#include "textops/NumberText.h"
#include "textops/StepControl.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace textops {

// Captions of the addition commands' menu items.
inline constexpr std::u16string_view addEveryLineCaption = u"すべて加算";          // N14
inline constexpr std::u16string_view addSelectionCaption = u"選択範囲を加算";       // N15, N42
inline constexpr std::u16string_view addHalfDigitsCaption = u"選択範囲の半角数字を加算";  // N36

inline constexpr int minDigitCount = 1;
inline constexpr int maxDigitCount = 8;

// What TKelvoKasanForm hands to a command.
struct AdditionSettings {
    std::int32_t addend = 1;                          // Edit1, decimal
    NumberPosition position = NumberPosition::Tail;   // RadioButton1 / RadioButton2, decimal only
    Radix radix = Radix::Decimal;                     // SpeedButton1 to SpeedButton3
    int digitCount = 2;                               // UpDown1, hexadecimal and octal only
};

// Reads the dialog's controls. An addend that is not an integer counts as 0; a digit count
// typed outside 1 to 8 is clamped into that range.
AdditionSettings readAdditionSettings(std::u16string_view edit1Text, bool radioButton2Checked, Radix radix,
                                      int digitCount);
int clampDigitCount(int digitCount) noexcept;

// The controls a radix button changes (SpeedButton1Click, shared by the three buttons).
struct KasanRadixView {
    bool RadioButton2Checked = true;  // every radix choice goes back to "末尾から"
    bool directionEnabled = false;    // RadioButton1, RadioButton2
    bool digitCountEnabled = false;   // Label3, Edit2, UpDown1
    std::u16string_view Label5Caption;
};
KasanRadixView kasanRadixEffects(Radix radix) noexcept;

// The addition on one text; nothing when it does not apply (a blank text, no digit run in
// decimal, a tail that is not all digits of the radix). The number is added exactly whatever
// its length and keeps at least its digit count (decimal: the run's length; hexadecimal and
// octal: the digit count). A result below zero is written with a minus sign before the
// zero-filled digits, the sign counting toward the width.
std::optional<std::u16string> addToText(std::u16string_view text, const AdditionSettings& settings);

// N14: every editor line. Nothing when the addend is 0 (no change, no undo mark). Only lines
// that change count as steps: they pump and may be stopped after.
std::optional<LineBatchResult> addToEveryLine(std::vector<std::u16string> lines, const AdditionSettings& settings,
                                              const StepControl& control);
// N15: the editor selection.
std::optional<SelectionResult> addToSelection(std::u16string_view selected, const AdditionSettings& settings,
                                              const StepControl& control);
// N42 (CellUndo::EveryCell, pumps after each changed cell) and N36 (CellUndo::AppliedCells):
// the undo group count, or nothing when the addend is 0 (the count stays as it was).
std::optional<int> addToCells(CellTarget& grid, const CellRect& rect, const AdditionSettings& settings, CellUndo undo,
                              const StepControl& control = {});

}  // namespace textops
