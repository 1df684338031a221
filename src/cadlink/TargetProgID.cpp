#include "cadlink/TargetProgID.h"

namespace cadlink {

std::u16string TargetProgID = kDefaultTargetProgID;

}  // namespace cadlink
