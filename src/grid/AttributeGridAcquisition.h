#pragma once

#include "automation/Object.h"

#include <string>
#include <vector>

namespace grid {

struct GridContext;

// "取得": picks block references in the CAD application and fills StringGrid1 with one row
// per reference that carries a tag of the selected group and one column per tag.
void SpeedButton10Click(GridContext& context);

// Tag TAB prompt for each attribute definition of the first named block definition that
// matches blockMask; the number of lines.
int ReadAttributeDefinitions(automation::Object& document, std::u16string_view blockMask,
                             std::vector<std::u16string>& list);

// The prompt of the attribute definition with this tag in the block definition of this
// name; empty when there is none.
std::u16string ReadAttributePrompt(automation::Object& document, std::u16string_view blockName,
                                   std::u16string_view tag);

}  // namespace grid
