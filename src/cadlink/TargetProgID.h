#pragma once

#include <string>

namespace cadlink {

inline constexpr char16_t kDefaultTargetProgID[] = u"BricscadApp.AcadApplication";

// The Automation ProgID of the CAD application the program drives. Set from the settings at
// start and by the target CAD dialog; every CAD operation attaches through it.
extern std::u16string TargetProgID;

}  // namespace cadlink
