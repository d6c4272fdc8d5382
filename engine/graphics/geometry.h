// The small geometry the drawing code shares: the full-circle angle of a
// vector, distances, and sines in tenths of a degree from a table.
#pragma once

#include <array>
#include <cstdint>

namespace cx {

// Direction of the vector from (x1, y1) to (x2, y2), in [0, 2 pi); a
// vertical or null vector gives pi/2 upward, else 3 pi/2.
double angulo_vector(double x1, double y1, double x2, double y2);
double distancia(double x1, double y1, double x2, double y2);

// sin(i tenths of a degree) for i = 0..1800. A static table: it exists
// before ginicie, so rotations made before it are sound.
const std::array<double, 1801>& tabla_senos();

// Sine and cosine of any angle in tenths of a degree.
double seno_decimas(int32_t tenths);
double coseno_decimas(int32_t tenths);

}  // namespace cx
