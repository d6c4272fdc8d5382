// Glyphs for the raster device: the face names hosts use, mapped to the
// installed faces, rendered to coverage values. The build picks one
// implementation: fonts_freetype.cpp (FreeType and fontconfig) or
// fonts_none.cpp (no font library: nothing is drawn, extents are 0).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/device.h"

namespace cx {

// The installed face a host's face name stands for: Arial as Liberation
// Sans, Times New Roman as Liberation Serif, Courier New as Liberation
// Mono; the bitmap and stroke faces of the old platform as their nearest
// free faces; any other name as it is (fontconfig then finds its best).
std::string cara_instalada(const std::string& face);

// Coverage 1..255 of pixel (x, y).
using PixelSink = std::function<void(int32_t x, int32_t y, uint8_t coverage)>;

// Renders the text with its cell's top-left corner at `at`, turned by the
// escapement; `cell` receives the four corners of the text's cell (for an
// opaque background) before any glyph. False when no face can be had.
bool dibuje_glifos(DevicePoint at, const std::string& text, const FontSpec& font,
                   const std::function<void(const DevicePoint (&cell)[4])>& cell,
                   const PixelSink& sink);
// Width (the sum of the advances) and cell height of the text, unrotated;
// 0 x 0 when no face can be had.
DevicePoint mida_texto(const std::string& text, const FontSpec& font);

}  // namespace cx
