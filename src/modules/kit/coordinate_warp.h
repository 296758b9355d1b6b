#pragma once
#include <algorithm>
#include <cstdint>

namespace fluxo::kit {

// A profile of i32 values read at warped or mirrored coordinates: a read
// outside the array takes its nearest end, so no mapping can stray out of it.
struct Profile {
  const int32_t* values = nullptr;
  int size = 0;
  int32_t operator[](int i) const { return values[std::clamp(i, 0, size - 1)]; }
};

// The turbulence set-up: on or off, the mapping 0..4 and its scale.
struct Turbulence {
  bool on = false;
  int type = 0;
  float scale = 1.0f;
};

// Draws the turbulence of a "Turbulence" control value (0..100) and a
// "Turbulence Type" control (5 picks one at random). 100 switches it on only
// one time in three, with a random strength.
Turbulence SetUpTurbulence(int turbulenceControl, int typeControl);

// The polar mapping's random parameters: a and b in about -0.99..1.01, a centre.
struct PolarMapping {
  float a = 0.0f;
  float b = 0.0f;
  int cx = 0;
  int cy = 0;
};
PolarMapping DrawPolarMapping(int maxX, int maxY);

// The two coordinate mappings that bend a pixel before a pattern generator
// reads it: the polar mapping (when on) and then the turbulence mapping (when
// on), both in place. maxX and maxY are the moduli (surface size - 1);
// `columns` and `rows` are the profiles the turbulence reads at x and y.
struct CoordinateWarp {
  int maxX = 0;
  int maxY = 0;
  bool polarOn = false;
  PolarMapping polar;
  Turbulence turbulence;
  Profile columns;
  Profile rows;

  void ApplyPolar(int& x, int& y) const;
  void ApplyTurbulence(int& x, int& y) const;
  void Apply(int& x, int& y) const {
    if (polarOn) ApplyPolar(x, y);
    if (turbulence.on) ApplyTurbulence(x, y);
  }
};

}  // namespace fluxo::kit
