#include "SColourHSL.h"

#include <algorithm>
#include <cmath>

SColourHSL::SColourHSL(COLORREF colour)
    : red(GetRValue(colour)), green(GetGValue(colour)), blue(GetBValue(colour))
{}

SColourHSL SColourHSL::FromHSL(float h, float s, float l)
{
  SColourHSL c;
  c.hue = h;
  c.saturation = s;
  c.lightness = l;
  c.rgbCurrent = false;
  c.hslCurrent = true;
  return c;
}

void SColourHSL::ToHSL()
{
  if (hslCurrent)
    return;
  const float mx = float(std::max({red, green, blue}));
  const float mn = float(std::min({red, green, blue}));
  lightness = (mx + mn) / 510.0f;
  if (mx == mn) {
    hue = saturation = 0.0f;
  } else {
    const float d = mx - mn;
    saturation = lightness <= 0.5f ? d / (mx + mn) : d / (510.0f - mx - mn);
    const float dr = (mx - red) / d, dg = (mx - green) / d, db = (mx - blue) / d;
    if (red == mx)
      hue = 60.0f * (db + 6.0f - dg);
    if (green == mx)
      hue = 60.0f * (dr + 2.0f - db);
    if (blue == mx)
      hue = 60.0f * (dg + 4.0f - dr);
    if (hue > 360.0f)
      hue -= 360.0f;
  }
  hslCurrent = true;
}

namespace {
float Channel(float m1, float m2, float h)
{
  if (h < 0.0f)
    h += 360.0f;
  else if (h > 360.0f)
    h -= 360.0f;
  if (h < 60.0f)
    return m1 + (m2 - m1) * h / 60.0f;
  if (h < 180.0f)
    return m2;
  if (h < 240.0f)
    return m1 + (m2 - m1) * (240.0f - h) / 60.0f;
  return m1;
}

// Rounded, so that a byte converted to HSL and back is the same byte.
BYTE ToByte(float v)
{
  return BYTE(std::clamp(std::lround(v * 255.0f), 0L, 255L));
}
} // namespace

COLORREF SColourHSL::ToRGB()
{
  if (!rgbCurrent) {
    if (saturation == 0.0f) {
      red = green = blue = ToByte(lightness);
    } else {
      const float m2 = lightness <= 0.5f ? lightness * (1.0f + saturation)
                                         : lightness + saturation - lightness * saturation;
      const float m1 = 2.0f * lightness - m2;
      red = ToByte(Channel(m1, m2, hue + 120.0f));
      green = ToByte(Channel(m1, m2, hue));
      blue = ToByte(Channel(m1, m2, hue - 120.0f));
    }
    rgbCurrent = true;
  }
  return RGB(red, green, blue);
}

COLORREF ScaleLightness(COLORREF colour, float factor)
{
  SColourHSL c(colour);
  c.ToHSL();
  c.lightness = std::clamp(c.lightness * factor, 0.0f, 1.0f);
  c.rgbCurrent = false;
  return c.ToRGB();
}
