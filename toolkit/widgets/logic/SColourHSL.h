#pragma once
// A colour held both as RGB bytes and as hue (degrees), saturation and lightness (0 to 1); the
// flags say which form is current, and ToHSL / ToRGB make the other one current.
#include "WinTypes.h"

struct SColourHSL {
  BYTE red = 0;
  BYTE green = 0;
  BYTE blue = 0;
  float hue = 0.0f;
  float saturation = 0.0f;
  float lightness = 0.0f;
  bool rgbCurrent = true;
  bool hslCurrent = false;

  SColourHSL() = default;
  explicit SColourHSL(COLORREF colour);
  static SColourHSL FromHSL(float hue, float saturation, float lightness);

  void ToHSL();
  COLORREF ToRGB();
};

// The colour with its lightness multiplied (the result kept within 0 to 1).
COLORREF ScaleLightness(COLORREF colour, float factor);
