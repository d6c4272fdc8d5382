// PNG saving in a build without libpng (the Windows cross build): every save
// fails, and the caller reports it.
#include "platform/png_writer.h"

namespace cx {

bool write_png(const std::string&, const uint32_t*, int32_t, int32_t) {
  return false;
}

bool png_supported() {
  return false;
}

}  // namespace cx
