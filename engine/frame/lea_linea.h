// Reading one line of a text configuration file into typed outputs.
#pragma once

#include <cstdio>

namespace cx {

// Longest line read; the rest of a longer line is skipped.
inline constexpr int kLineaMax = 1000;

// Reads one line (without its line end) and distributes it over the outputs
// by format, in the C format conventions:
//   %s   the rest of the line into a char buffer (%Ns: at most N characters
//        and a NUL);
//   %d   the characters up to the format's next character (or the end of the
//        line) as an int16_t; %ld as an int32_t; %f as a float; %lf as a
//        double. An empty or malformed number gives 0.
// Any other format character must match the line's next character and is
// skipped; at a mismatch the reading stops. Returns how many outputs were
// assigned, or -1 at the end of the file.
int lea_linea(std::FILE* file, const char* format, ...);

}  // namespace cx
