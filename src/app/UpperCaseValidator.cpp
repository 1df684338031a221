#include "app/UpperCaseValidator.h"

namespace app {

QValidator::State UpperCaseValidator::validate(QString& input, int& /*pos*/) const
{
    input = input.toUpper();
    return Acceptable;
}

}  // namespace app
