// estado_grafico: the one graphics state of the engine, with its four
// numbered world-to-device windows and the drawing attributes. This file
// holds the state and the window transform that the session's world window
// drives; binding a device and drawing build on it.
#pragma once

#include <cstdint>

#include "platform/device.h"

namespace cx {

struct VentanaTransf {
  double wx1 = 0, wy1 = 0, wx2 = 0, wy2 = 0;   // world rectangle, wx1 <= wx2, wy1 <= wy2
  int16_t vx1 = 0, vy1 = 0, vx2 = 0, vy2 = 0;  // viewport, y measured up from the bottom
  int16_t cx1 = 0, cy1 = 0, cx2 = 0, cy2 = 0;  // clip rectangle, same units
  double sx = 0, sy = 0, ox = 0, oy = 0;       // device = s * world + o
};

struct EstadoGrafico {
  int32_t device = 0;                      // the host's device handle, 0: none
  int16_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // device rectangle; y1 is the height H
  double aspect = 1.0;
  int16_t y_up = 0;                            // y-direction flag
  int16_t current = 0;                         // current window 0..3
  double sx = 0, sy = 0, ox = 0, oy = 0;       // current transform
  int16_t cx1 = 0, cy1 = 0, cx2 = 0, cy2 = 0;  // current clip rectangle
  VentanaTransf windows[4];
  double base_size = 0;  // the session's parameter 1
  int16_t state = 0;     // the kernel state value the session reports as parameter 12

  int32_t number_of_colours = 0;  // of the device at the last gabrest; 0: not asked yet
  Colorref palette[256];
  int32_t colour_index = 0;  // always 0..255
  Colorref colour_value = 0;
  int16_t line_type = 0;  // as the host gave it; the tables take it modulo 10
  int16_t line_width = 1;
  int32_t eor = 0;  // 0x80 while drawing in exclusive-or mode
  int16_t cursor_colour = 0;
  DevicePoint position;  // where the last point, line or polyline ended

  // Text and hatch settings, reset by gabrest.
  int16_t text_size = 1;
  int32_t text_scale = 25600, icon_scale = 25600;  // 1/256 units
  double text_slant = 0, text_shear = 0;
  double text_sin = 0, text_cos = 1.0;
  double text_angle = 0;     // radians
  double icon_pixels = 100;  // the icon scale: icon size x sx
  // Text settings gabrest leaves alone.
  double text_sizes[10] = {5.5, 5.0, 8.0, 10.0, 15.0, 10.0, 20.0, 10.0, 10.0, 10.0};
  int16_t font_index = 0;  // 0..6
  int16_t vector_text = 0, black_text = 0;
  int16_t status_line = 0;  // 0..29, the line of the last status text
  double hatch_angle = 0;   // radians
  double hatch_sin = 0, hatch_cos = 1.0;
  int16_t hatch_step = 1;  // device pixels, at least 1
};

EstadoGrafico& estado_grafico();

// The bound device, or null when none is bound (or its handle was
// released): drawing then does nothing, as on a null device context.
Device* dispositivo_actual();

// The kernel's defaults a new session starts from: windows cleared, the
// y-direction flag 1, aspect 1, window 0 current. The device stays bound.
void valores_graficos_iniciales();

// A window number outside 0..3 is taken as 0.
void defina_mundo(int window, double x1, double y1, double x2, double y2);
void defina_vista(int window, int16_t vx1, int16_t vy1, int16_t vx2, int16_t vy2);
// Recomputes the window's transform (equal scale on both axes) and makes it
// current; returns the window number.
int seleccione_transf(int window);
// Sets the window's clip rectangle and the current one (upward-measured
// values) and selects it as the device's clip region at once.
void defina_recorte(int window, int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// The window a number names: outside 0..3, window 0.
int ventana_valida(int window);

// World to device: truncation toward zero, saturated to the 32-bit range
// (NaN gives 0).
int32_t gxdev_de(double x);
int32_t gydev_de(double y);

}  // namespace cx
