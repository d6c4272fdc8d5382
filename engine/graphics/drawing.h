// The drawing operations the other parts of the graphics kernel build on.
// World coordinates unless the name says device; nothing is drawn while no
// device is bound.
#pragma once

#include <cstdint>

namespace cx {

// The capacity of the device point buffer: a longer polyline is converted
// and drawn in pieces of this many points that share their end points, the
// dash position carried from piece to piece.
inline constexpr int kPuntosBuffer = 1200;

// A two-point device polyline with the current pen; (x2, y2) becomes the
// current position.
void linea_dispositivo(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// A line from the current position to a world point.
void linea_a(double x, double y);
// The polyline of n world points with the current pen and no dash pattern.
void plinea_simple(const double* xs, const double* ys, int n);
// The polyline with the dash patterns of wide pens.
void plinea(const double* xs, const double* ys, int n);
// A smooth curve through the points.
void curva(const double* xs, const double* ys, int n);
// A circle filled with the current colour.
int16_t disco(double x, double y, double r);
// A 4 x 4 pixel marker with the current pen and brush.
void marque_punto(double x, double y);

}  // namespace cx
