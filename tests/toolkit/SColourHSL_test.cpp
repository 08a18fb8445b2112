#include "SColourHSL.h"

#include <gtest/gtest.h>

TEST(SColourHSL, GreysHaveNoHueOrSaturationAndComeBackUnchanged)
{
  for (int v : {0, 1, 19, 127, 128, 200, 254, 255}) {
    SColourHSL c(RGB(v, v, v));
    c.ToHSL();
    EXPECT_EQ(c.hue, 0.0f);
    EXPECT_EQ(c.saturation, 0.0f);
    EXPECT_NEAR(c.lightness, v / 255.0f, 1e-6f);
    c.rgbCurrent = false;
    EXPECT_EQ(c.ToRGB(), RGB(v, v, v)) << v;
  }
}

TEST(SColourHSL, PrimaryAndMixedColoursConvertBothWays)
{
  struct {
    COLORREF rgb;
    float hue, saturation, lightness;
  } cases[] = {
      {RGB(255, 0, 0), 360.0f, 1.0f, 0.5f},         {RGB(0, 255, 0), 120.0f, 1.0f, 0.5f},
      {RGB(0, 0, 255), 240.0f, 1.0f, 0.5f},         {RGB(255, 128, 0), 30.0f, 1.0f, 0.5f},
      {RGB(150, 0, 0), 360.0f, 1.0f, 150.0f / 510}, {RGB(255, 0, 128), 329.9f, 1.0f, 0.5f},
  };
  for (const auto& k : cases) {
    SColourHSL c(k.rgb);
    c.ToHSL();
    EXPECT_NEAR(c.hue, k.hue, 0.2f) << std::hex << k.rgb;
    EXPECT_NEAR(c.saturation, k.saturation, 1e-5f);
    EXPECT_NEAR(c.lightness, k.lightness, 1e-5f);
    c.rgbCurrent = false;
    EXPECT_EQ(c.ToRGB(), k.rgb) << std::hex << k.rgb;
  }
  SColourHSL teal = SColourHSL::FromHSL(180.0f, 1.0f, 0.25f);
  EXPECT_EQ(teal.ToRGB(), RGB(0, 128, 128));
}

TEST(SColourHSL, LightnessScalesForTheUnlitAndShineColours)
{
  // The read-outs' unlit segments: an eighth of the lit colour's lightness.
  EXPECT_EQ(ScaleLightness(RGB(150, 0, 0), 0.125f), RGB(19, 0, 0));
  // The shine: double the lightness, at most white.
  EXPECT_EQ(ScaleLightness(RGB(150, 0, 0), 2.0f), RGB(255, 45, 45));
  EXPECT_EQ(ScaleLightness(RGB(200, 200, 200), 2.0f), RGB(255, 255, 255));
}
