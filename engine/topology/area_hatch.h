// Hatching the area objects of an area network.
#pragma once

#include <cstdint>

namespace cx {

// Hatches the rings of the description that starts at first_desc in the
// current hatch settings and pen: achure's values, 0 as well for an empty
// description, an area outside the work extents set, or a description that
// cannot be read (reported naming `caller`).
int16_t achure_area(const int16_t* red, int32_t first_desc, const char* caller);

}  // namespace cx
