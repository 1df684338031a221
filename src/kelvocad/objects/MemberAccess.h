#pragma once

namespace kelvocad {

// How a member is reached: a property read, a property write, or a method call.
enum class MemberAccess { Get, Put, Call };

}  // namespace kelvocad
