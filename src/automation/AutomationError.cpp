#include "automation/AutomationError.h"

#include "common/Utf.h"

#include <cstdio>

namespace automation {

namespace {
std::string describe(int32_t code, const std::u16string& description)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
    std::string text = "Automation error ";
    text += hex;
    if (!description.empty())
        text += ": " + common::toUtf8(description);
    return text;
}
}  // namespace

AutomationError::AutomationError(int32_t code, std::u16string description)
    : std::runtime_error(describe(code, description)), code_(code), description_(std::move(description))
{
}

}  // namespace automation
