// Private to the SimCamera sources: the prologue of every SDK operation.
#pragma once

#include <cstdint>

#include "sim/simulator.h"

// Logs the call line and returns early for a closed camera or an active fault
// switch (op, selector).
#define QV_ENTER(line, op, selector)                                     \
  do {                                                                   \
    int32_t early_status_;                                               \
    if (Enter(line, op, selector, &early_status_)) return early_status_; \
  } while (0)
