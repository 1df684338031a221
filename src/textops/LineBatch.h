#pragma once

#include "textops/StepControl.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace textops {

// Converts one line in place. The result tells whether the line counted as a step: after a
// step the window processes its messages and a Stop ends the loop; other lines pass quietly.
using LineTransform = std::function<bool(std::u16string& line)>;

struct LineBatchResult {
    // Every line: those reached converted, the rest as they were.
    std::vector<std::u16string> lines;
    bool stopped = false;
};

struct SelectionResult {
    // The text that takes the selection's place.
    std::u16string text;
    bool stopped = false;
};

// The loop of the commands that act on every editor line: each line from the first is
// converted and stored back; Stop is honoured between lines, never inside one.
LineBatchResult transformLines(std::vector<std::u16string> lines, const LineTransform& transform, const StepControl& control);

// A selection's lines: a line ends at CR, LF or CR LF, and a final break starts no further line.
std::vector<std::u16string> splitSelectedLines(std::u16string_view selected);

// Lines joined with CR LF after every line, then stripped of the characters up to U+0020 at
// both ends; a selection that ended with a line break is thereby joined to the next line.
std::u16string joinSelectedLines(const std::vector<std::u16string>& lines);

// The selection commands: split, convert line by line, join. Nothing when the selection is
// empty (the command then changes nothing and sets no undo mark).
std::optional<SelectionResult> transformSelection(std::u16string_view selected, const LineTransform& transform, const StepControl& control);

}  // namespace textops
