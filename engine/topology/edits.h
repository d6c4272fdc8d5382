// The edits that other edits are built from (the bulk deletes delete one
// record at a time through these).
#pragma once

#include <cstdint>

namespace cx {

// del_t0 and del_t1: 0 deleted, -1 after a message with nothing changed.
int16_t borre_t0(int32_t r);
int16_t borre_t1(int32_t r);

}  // namespace cx
