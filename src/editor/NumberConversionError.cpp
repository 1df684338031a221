#include "editor/NumberConversionError.h"

#include "common/Utf.h"

namespace editor {

NumberConversionError::NumberConversionError(const std::u16string& text)
    : std::runtime_error("'" + common::toUtf8(text) + "' is not a valid floating point value"), text_(text)
{
}

}  // namespace editor
