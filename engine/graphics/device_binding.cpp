// Binding a device to the graphics state (gabrest, vb_sethdcxy), setting the
// state up and tearing it down (ginicie, gfinalice), and the devices hosts
// create, save and release through the library's own additions.
#include <memory>
#include <new>
#include <utility>

#include "cartex32.h"
#include "frame/messages.h"
#include "graphics/geometry.h"
#include "graphics/graphics_state.h"
#include "graphics/palette.h"
#include "graphics/vector_tables.h"
#include "platform/device_table.h"
#include "platform/gdi_device.h"
#include "platform/png_writer.h"
#include "platform/raster_device.h"

using cx::estado_grafico;

namespace {

constexpr int32_t kMaxDeviceSide = 32767;  // device rectangles are 16-bit values
// 512 MiB of pixels: a larger surface would be written whole when made, and
// an overcommitting system might end the host rather than refuse it.
constexpr int64_t kMaxDevicePixels = int64_t{1} << 27;

void reset_attributes(cx::EstadoGrafico& g) {
  g.line_type = 1;
  g.line_width = 1;
  g.text_size = 1;
  g.text_scale = g.icon_scale = 25600;
  g.text_slant = g.text_shear = 0;
  g.text_sin = 0;
  g.text_cos = 1.0;
  g.text_angle = 0;
  g.icon_pixels = 100;
  g.hatch_angle = 0;
  g.hatch_sin = 0;
  g.hatch_cos = 1.0;
  g.hatch_step = 1;
}

}  // namespace

CX_EXPORT(int16_t) vb_sethdcxy(int32_t hdc, int16_t x0, int16_t y0, int16_t x1, int16_t y1) {
  cx::EstadoGrafico& g = estado_grafico();
  g.device = hdc;
  g.x0 = x0;
  g.y0 = y0;
  g.x1 = x1;
  g.y1 = y1;
  return 0;
}

CX_EXPORT(int16_t) gabrest(int16_t x0, int16_t y0, int16_t x1, int16_t y1, int32_t hdc) {
  cx::EstadoGrafico& g = estado_grafico();
  g.device = hdc;
  cx::Device* d = cx::dispositivo_actual();
  const int32_t colours = d ? d->number_of_colours() : 0;
  g.number_of_colours = colours < 1 ? 255 : colours;
  g.aspect = 1.0;
  g.x0 = x0;
  g.y0 = y0;
  g.x1 = x1;
  g.y1 = y1;
  for (int16_t w = 0; w < 4; ++w) {
    cx::VentanaTransf& v = g.windows[w];
    v.wx1 = x0;
    v.wy1 = y0;
    v.wx2 = x1;
    v.wy2 = y1;
    gdvista(w, x0, y0, x1, y1);
  }
  reset_attributes(g);
  g.y_up = 1;
  cx::seleccione_transf(0);
  cx::seleccione_pluma();
  if (d) d->set_raster_op(g.eor ? cx::RasterOp::xor_pen : cx::RasterOp::copy);
  return 0;
}

CX_EXPORT(int16_t) ginicie(int32_t) {
  cx::EstadoGrafico& g = estado_grafico();
  cx::cargue_tablas_vectoriales(cx::ruta_fuente_vectorial(), "tabico.dat");
  if (cx::Device* d = cx::dispositivo_actual()) {
    d->select_pen({cx::PenStyle::solid, 1, 0xFF0000});
    d->set_clip({0, 0, 100, 100});
  }
  cx::tabla_senos();
  g.y_up = 1;
  return 0;
}

CX_EXPORT(int16_t) gfinalice(int32_t) {
  cx::libere_iconos();
  if (cx::Device* d = cx::dispositivo_actual()) d->set_clip({0, 0, d->width(), d->height()});
  return 0;
}

CX_EXPORT(int32_t) crear_dispositivo(int32_t ancho, int32_t alto) {
  if (ancho < 1 || alto < 1 || ancho > kMaxDeviceSide || alto > kMaxDeviceSide ||
      int64_t{ancho} * alto > kMaxDevicePixels) {
    cx::informe_error(
        "crear_dispositivo: tama\xF1o inv\xE1lido %d x %d (de 1 a %d pixeles por lado, a lo "
        "sumo %d en total)",
        static_cast<int>(ancho), static_cast<int>(alto), static_cast<int>(kMaxDeviceSide),
        static_cast<int>(kMaxDevicePixels));
    return 0;
  }
  try {
    const int32_t handle =
        cx::registre_dispositivo(std::make_unique<cx::RasterDevice>(ancho, alto));
    if (!handle) cx::avise_error("crear_dispositivo: no quedan dispositivos");
    return handle;
  } catch (const std::bad_alloc&) {
    cx::informe_error("ERROR de memoria : crear_dispositivo %d x %d", static_cast<int>(ancho),
                      static_cast<int>(alto));
    return 0;
  }
}

CX_EXPORT(int32_t) envolver_hdc(int32_t hdc) {
  if (!cx::gdi_supported()) {
    cx::avise_error("envolver_hdc: esta versi\xF3n de la biblioteca no dibuja con GDI");
    return 0;
  }
  std::unique_ptr<cx::Device> device = cx::dispositivo_gdi(hdc);
  if (!device) {
    cx::informe_error("envolver_hdc: %d no es un contexto de dispositivo", static_cast<int>(hdc));
    return 0;
  }
  const int32_t handle = cx::registre_dispositivo(std::move(device));
  if (!handle) cx::avise_error("envolver_hdc: no quedan dispositivos");
  return handle;
}

CX_EXPORT(int16_t) guardar_png(int32_t hdc, const char* ruta) {
  const cx::Device* d = cx::dispositivo(hdc);
  if (!d) {
    cx::informe_error("guardar_png: dispositivo %d inexistente", static_cast<int>(hdc));
    return -1;
  }
  if (!ruta || !*ruta) {
    cx::avise_error("guardar_png: falta el nombre del archivo");
    return -1;
  }
  if (!cx::png_supported()) {
    cx::avise_error("guardar_png: esta versi\xF3n de la biblioteca no guarda PNG");
    return -1;
  }
  if (!d->save_png(ruta)) {
    cx::informe_error("guardar_png: no se pudo escribir %s", ruta);
    return -1;
  }
  return 0;
}

CX_EXPORT(int16_t) copiar_pixeles(int32_t hdc, uint8_t* buffer) {
  const cx::Device* d = cx::dispositivo(hdc);
  if (!d || !buffer) {
    cx::informe_error("copiar_pixeles: %s", buffer ? "dispositivo inexistente" : "falta el buffer");
    return -1;
  }
  return d->copy_pixels(buffer) ? 0 : -1;
}

CX_EXPORT(int16_t) liberar_dispositivo(int32_t hdc) {
  cx::EstadoGrafico& g = estado_grafico();
  if (!cx::libere_dispositivo(hdc)) {
    cx::informe_error("liberar_dispositivo: dispositivo %d inexistente", static_cast<int>(hdc));
    return -1;
  }
  if (g.device == hdc) g.device = 0;
  return 0;
}
