// Savitzky-Golay smoothing and differentiation.
#include "ZSpectrumData/CSpectrumData.h"

#include "SavitzkyGolay.h"

#include <algorithm>

void CSpectrumData::Smooth(int width)
{
  const int half = width / 2;
  if (half > 0)
    SGFilter(half, half, 0, 4);
}

void CSpectrumData::Smooth(float xWidth)
{
  if (!(xWidth > 0)) // also NaN, which would never stop the count below
    return;
  const float reach = 2 * xWidth;
  const float x0 = GetX(m_firstIndex);
  const int most = m_vectorSize / 2;
  int steps = 0;
  // The count stops at the last point of the window: past it lies unused capacity (zeros after
  // AddPoint), which would count as points inside the width, or the end of the arrays.
  while (steps < most && m_firstIndex + steps <= m_lastIndex) {
    const float d = GetX(m_firstIndex + steps) - x0;
    if (d >= reach || d < 0)
      break;
    ++steps;
  }
  if (steps / 2 > 0)
    SGFilter(steps / 2, steps / 2, 0, 4);
}

int CSpectrumData::SGFilter(int nl, int nr, int ld, int m)
{
  SavitzkyGolayFilter filter;
  if (!filter.Prepare(nl, nr, ld, m))
    return 0;
  if (!m_valid || !m_y || m_vectorSize <= 0)
    return 1;
  const int first = std::max(m_firstIndex, 0);
  const int last = std::min(m_lastIndex, m_vectorSize - 1);
  const int count = last - first + 1;
  if (count <= 0)
    return 1;
  if (filter.MethodFor(count) == SavitzkyGolayFilter::Method::Refused)
    return 0;
  const int firstTrace = std::max(m_firstArrayIndex, 0);
  const int lastTrace = std::min(m_lastArrayIndex, m_arraySize - 1);
  for (int t = firstTrace; t <= lastTrace; ++t)
    filter.Apply(m_y.get() + size_t(t) * size_t(m_vectorSize) + size_t(first), count);
  return 1;
}

bool CSpectrumData::Derivative(CSpectrumData* src, CSpectrumData* dst, int ld, int nl, int nr)
{
  if (!src || !dst || !src->m_valid || nl < 0 || nr < 0 || (long long)src->m_indexRange < (long long)nl + nr)
    return false;
  if (nl != nr) // Pad would not act, and the filter refuses the window anyway
    return false;
  CSpectrumData work(*src);
  work.Pad(nl, nr);
  // The added points repeat the nearest real point, so the window's ends are filtered against
  // plausible values; none of them stays inside the resulting window.
  const int n = work.m_vectorSize;
  const int firstReal = nl;
  const int lastReal = work.m_lastIndex - nr;
  if (lastReal < firstReal)
    return false;
  for (int i = 0; i < n; ++i) {
    if (i >= firstReal && i <= lastReal)
      continue;
    const int from = i < firstReal ? firstReal : lastReal;
    work.m_x[size_t(i)] = work.m_x[size_t(from)];
    for (int t = 0; t < work.m_arraySize; ++t)
      work.m_y[size_t(t) * size_t(n) + size_t(i)] = work.YAt(t, from);
  }
  if (!work.SGFilter(nl, nr, ld, 4))
    return false;
  work.SetFirstIndex(firstReal);
  work.SetLastIndex(lastReal);
  const CString name = src->m_name;
  *dst = work;
  if (dst != src)
    dst->SetName(name + L" (Derivative)");
  return true;
}

bool CSpectrumData::Derivative(int ld, int nl, int nr)
{
  return Derivative(this, this, ld, nl, nr);
}
