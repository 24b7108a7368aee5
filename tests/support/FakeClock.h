#pragma once

#include "common/VirtualClock.h"

namespace vestrel::testing {

// The tests' clock: it stands still until the test advances it.
using FakeClock = VirtualClock;

} // namespace vestrel::testing
