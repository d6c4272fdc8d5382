// The thematic part of render: every area filled in the colour its value
// gives, by the engine's own hatching, and the legend of the classes.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "base.h"
#include "engine.h"

namespace cartex {

// Palette entries 240 to 249: ten colours from light yellow to dark red.
inline constexpr int kRamp = 240, kRampColours = 10;
void set_ramp(const Engine& engine);

// The classes of a value: class 0 below limits[0], class i from
// limits[i - 1] up to limits[i], the last from the last limit on. With no
// limits the value is the palette colour itself.
struct Classes {
  std::vector<double> limits;  // rising, at most kRampColours - 1
  std::size_t of(double value) const;
  // The ramp colour of class c, the classes spread over the whole ramp.
  int colour(std::size_t c) const;
  // The legend's text for class c: "below 1M", "1M to 2M", "5M and more".
  std::string label(std::size_t c) const;
};

// Fills every area feature of a drawn layer (`layers`) with a solid fill
// in the colour of the formula's value on its attributes. Returns 0, or 2
// after the message when the formula does not translate.
int fill_areas(const Engine& engine, const std::vector<BaseFeature>& features,
               const std::set<int>& layers, const std::string& formula, const Classes& classes);

// Draws the legend of the classes in the view's bottom right corner, each
// class a filled box in its colour and its label.
void draw_legend(const Engine& engine, const Classes& classes);

}  // namespace cartex
