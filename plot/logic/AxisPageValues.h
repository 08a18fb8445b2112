#pragma once
// What the X and Y axis pages of the Settings sheet edit, and the Y page's rules for which of its
// controls are enabled. The pages hold these values; the plot fills them before the sheet runs and
// takes them back after OK.
#include "AxisSteps.h"

#include <WinTypes.h>

struct SXAxisPageValues {
  BOOL m_autoMin = FALSE;
  float m_min = 0;
  float m_max = 0;
  BOOL m_autoMax = FALSE;
  BOOL m_showGrid = FALSE;
};

struct SYAxisPageValues {
  BOOL m_autoMin = FALSE;
  BOOL m_autoMax = FALSE;
  float m_min = 0;
  float m_max = 0;
  BOOL m_autoScaleAll = FALSE;
  BOOL m_matchOrigin = FALSE;
  BOOL m_logScale = FALSE;
  BOOL m_showGrid = FALSE;
  BOOL m_fullRange = FALSE;
  BOOL m_scaleOverlapped = FALSE;
  float m_centreWavelength = 0;
  float m_wavelengthRange = 0;
};

inline constexpr const wchar_t* kLimitsOutOfOrderText = L"The minimum must be less than the maximum.";
inline constexpr const wchar_t* kLimitsBeyondFloatText =
    L"The range from the minimum to the maximum is too wide or too narrow to draw.";

// Why the two typed limits of a page leave the axis no range that can be drawn, or null when
// they do (or one is automatic: an automatic limit follows the data and keeps out of the way of
// a typed one itself).
template <typename AxisPage> const wchar_t* RefusedLimitsText(const AxisPage& v)
{
  if (v.m_autoMin || v.m_autoMax)
    return nullptr;
  if (!(v.m_min < v.m_max))
    return kLimitsOutOfOrderText;
  if (!IsDrawableRange(v.m_min, v.m_max))
    return kLimitsBeyondFloatText;
  return nullptr;
}

struct SYAxisPageEnables {
  bool matchOrigin = false;
  bool logScale = false;
  bool scaleOverlapped = false;
  bool fullRange = false;
  bool centreAndRange = false; // both edits and their labels
  bool operator==(const SYAxisPageEnables&) const = default;
};

inline SYAxisPageEnables YAxisPageEnables(const SYAxisPageValues& v)
{
  SYAxisPageEnables e;
  e.matchOrigin = v.m_autoScaleAll;
  e.logScale = !v.m_matchOrigin;
  e.scaleOverlapped = !v.m_autoScaleAll;
  e.fullRange = v.m_scaleOverlapped && !v.m_autoScaleAll;
  e.centreAndRange = v.m_scaleOverlapped && !v.m_fullRange && !v.m_autoScaleAll;
  return e;
}
