#include "kelvocad/objects/CadErrors.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/Drawing.h"

namespace kelvocad {

void throwErased(std::u16string_view handle)
{
    throw automation::AutomationError(automation::hr::Exception, u"Object was erased: " + std::u16string(handle));
}

void throwCadError(std::u16string description)
{
    throw automation::AutomationError(automation::hr::Exception, std::move(description));
}

void requireUnlocked(const Drawing& drawing, std::u16string_view layer)
{
    if (drawing.isLayerLocked(layer))
        throwCadError(u"The entity is on a locked layer: " + std::u16string(layer));
}

void throwInvalidArgument(std::u16string description)
{
    throw automation::AutomationError(automation::hr::InvalidArg, std::move(description));
}

}  // namespace kelvocad
