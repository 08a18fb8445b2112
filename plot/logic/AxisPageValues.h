#pragma once
// What the X and Y axis pages of the Settings sheet edit, and the Y page's rules for which of its
// controls are enabled. The pages hold these values; the plot fills them before the sheet runs and
// takes them back after OK.
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

// The limits of a page leave the axis a range when both are typed: an automatic limit follows the
// data and keeps out of the way of a typed one itself.
template <typename AxisPage> bool LimitsInOrder(const AxisPage& v)
{
  return v.m_autoMin || v.m_autoMax || v.m_min < v.m_max;
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
