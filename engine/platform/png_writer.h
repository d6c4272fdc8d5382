// Writing a pixel buffer as a PNG file: png_libpng.cpp where the build has
// libpng, png_none.cpp (which always fails) where it has not.
#pragma once

#include <cstdint>
#include <string>

namespace cx {

// Writes width x height pixels (rows top to bottom, each 0x00BBGGRR) as an
// 8-bit RGB PNG file. False when the file cannot be written or this build
// has no PNG support; a partly written file is removed.
bool write_png(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height);

// Whether write_png can succeed at all in this build.
bool png_supported();

}  // namespace cx
