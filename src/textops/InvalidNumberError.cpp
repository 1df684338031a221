#include "textops/InvalidNumberError.h"

#include "common/Utf.h"

namespace textops {

InvalidNumberError::InvalidNumberError(const std::u16string& offending)
    : std::runtime_error("'" + common::toUtf8(offending) + "' is not a valid integer value"), offending_(offending)
{
}

}  // namespace textops
