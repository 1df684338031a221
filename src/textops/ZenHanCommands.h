#pragma once

#include "textops/CellBatch.h"
#include "textops/LineBatch.h"
#include "textops/StepControl.h"
#include "textops/zenHanUtil.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace textops {

// The popup-menu commands of the width conversions, named after their menu items.
enum class ZenHanCommand {
    N1, N2, N4, N5, N28,                                  // editor popup
    N23, N24, N091, N092, N094, N093, AZ1, AZ2, N27, N26,  // editor submenu N21
    N32, N33,                                             // grid popup
};

enum class CommandTarget { EveryLine, Selection, GridCells };

struct ZenHanCommandInfo {
    ZenHanCommand command;
    std::u16string_view itemName;  // the menu item's objectName
    std::u16string_view caption;
    CommandTarget target;
    bool inSubmenu;                // an item of N21, handled by N23Click
};

inline constexpr std::u16string_view zenHanSubmenuName = u"N21";
inline constexpr std::u16string_view zenHanSubmenuCaption = u"その他のすべてを変換";

const std::array<ZenHanCommandInfo, 17>& zenHanCommands();
const ZenHanCommandInfo& zenHanCommandInfo(ZenHanCommand command);
// The command of a menu item, found by its objectName; nothing for any other sender.
std::optional<ZenHanCommand> zenHanCommandForItem(std::u16string_view itemName);

// What the command does to one line or cell text. The table conversions process messages
// after each of their passes through pump.
void applyZenHanCommand(ZenHanCommand command, std::u16string& text, const MessagePump& pump = {});

// Every-line commands (N1, N4, N28 and the submenu): the lines after the command, also when
// it was stopped part way.
LineBatchResult zenHanEveryLine(ZenHanCommand command, std::vector<std::u16string> lines, const StepControl& control);
// Selection commands (N2, N5): the text that replaces the selection; nothing for an empty one.
std::optional<SelectionResult> zenHanSelection(ZenHanCommand command, std::u16string_view selected, const StepControl& control);
// Grid commands (N32, N33): every cell of the rectangle; returns the undo group count.
int zenHanCells(ZenHanCommand command, CellTarget& grid, const CellRect& rect);

}  // namespace textops
