#pragma once
// Many lookups of GetY(trace, x) on one data set, as the combining operations make them: the same
// values, found by bisection instead of a walk from the first point, so that a lookup per point
// of another data set stays linear in the points. Data whose x does not rise over the window
// (which GetY answers with 0) takes the data set's own lookup.
#include "ZSpectrumData/CSpectrumData.h"

#include <algorithm>

// y at x on the line through (x0, y0) and (x1, y1), x0 < x1, in double and with the fraction of the
// way taken first, so that a steep segment between finite values gives a finite value between
// them (dividing the rise by a fine step first can overflow). Equal ends give that end, infinite
// ones too.
inline double InterpolateBetween(double x0, double y0, double x1, double y1, double x)
{
  if (y0 == y1)
    return y0;
  return y0 + (x - x0) / (x1 - x0) * (y1 - y0);
}

class TraceInterpolator {
public:
  // trace -1 is the data set's current trace.
  TraceInterpolator(const CSpectrumData& data, int trace = -1)
      : m_data(data), m_trace(trace < 0 ? data.GetArrayIndex() : trace)
  {
    m_first = data.GetFirstIndex();
    m_last = std::min(data.GetLastIndex(), data.GetVectorSize() - 1);
    m_rising = data.IsValid() && m_first >= 0 && m_first <= m_last && m_trace < data.GetArraySize();
    for (int i = m_first + 1; m_rising && i <= m_last; ++i)
      m_rising = data.GetX(i - 1) < data.GetX(i);
  }

  float operator()(float x) const
  {
    if (!m_rising)
      return m_data.GetY(m_trace, x);
    if (!(x >= m_data.GetX(m_first))) // NaN too, as the walk never finds a place for it
      return 0;
    // The first point at or above x, at least first + 1, as the walk finds it.
    int lo = m_first + 1;
    int hi = m_last + 1;
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      if (m_data.GetX(mid) < x)
        lo = mid + 1;
      else
        hi = mid;
    }
    if (lo > m_last)
      return 0;
    const float x0 = m_data.GetX(lo - 1);
    const float x1 = m_data.GetX(lo);
    const float y0 = m_data.GetY(m_trace, lo - 1);
    const float y1 = m_data.GetY(m_trace, lo);
    return float(InterpolateBetween(x0, y0, x1, y1, x));
  }

private:
  const CSpectrumData& m_data;
  int m_trace;
  int m_first = 0;
  int m_last = -1;
  bool m_rising = false;
};
