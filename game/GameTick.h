#pragma once

#include <cstdint>

// Milliseconds of a monotonic clock, wrapping at 2^32 like the system tick
// counter. The rule book reads time only through this.
uint32_t GameTickCount();
