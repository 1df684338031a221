// Socket inputs that the fuzzers found faults with, replayed through the fuzzers' checks.
#include "SocketDecodeCheck.h"
#include "SocketServerCheck.h"

#include <gtest/gtest.h>

namespace {
}  // namespace
