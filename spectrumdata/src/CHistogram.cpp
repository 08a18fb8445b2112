#include "ZSpectrumData/CHistogram.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The bin number of a position, when it is one an int can hold: an infinite or NaN quotient (a
// bin width of 0, an infinite value) has none.
bool BinOf(double position, int& bin)
{
  const double k = std::floor(position);
  if (!(k >= double(INT_MIN) && k <= double(INT_MAX)))
    return false;
  bin = int(k);
  return true;
}

} // namespace

CHistogram::CHistogram(const wchar_t* name, int bins) : CSpectrumData(name, bins, 1) {}

CHistogram::~CHistogram() = default;

int CHistogram::SetLimitsFromFirstBin(float first, float binSize)
{
  m_binSize = binSize;
  const int n = GetIndexRange();
  float x = first;
  for (int k = 0; k < n; ++k) {
    SetX(k, x);
    SetY(k, 0);
    x += binSize;
  }
  return 1;
}

float CHistogram::GetBinSize() const
{
  return m_binSize;
}

int CHistogram::AddCount(float value, int count)
{
  const int n = GetIndexRange();
  if (n <= 0)
    return 0;
  const float tolerance = GetResolution() / 2;
  const float x0 = GetX(0);
  if (!(value >= x0 - tolerance && value <= GetX(n - 1) + tolerance))
    return 0;
  int k = 0;
  // The quotient in float, as the bin positions are; the half is added in double.
  if (!BinOf(double((value - x0) / m_binSize) + 0.5, k))
    return 0;
  if (k >= GetFirstIndex() && k <= GetLastIndex())
    SetY(k, GetY(k) + float(count));
  return 0;
}

int CHistogram::GetCount(float value) const
{
  const int n = GetIndexRange();
  const float x0 = GetX(0);
  const float width = GetX(1) - x0;
  if (value < x0 || value > GetX(n - 1) + width)
    return 0;
  int k = 0;
  if (!BinOf(double((value - x0) / width), k))
    return 0;
  return int(GetY(k)); // a bin past the last reads 0
}

int CHistogram::GetMaxCount() const
{
  const int n = GetIndexRange();
  float most = 0;
  for (int k = 0; k < n; ++k)
    most = std::max(most, GetY(k));
  return int(most);
}

float CHistogram::GetRangeMax() const
{
  const int n = GetIndexRange();
  return GetX(n - 1) + (GetX(1) - GetX(0));
}

float CHistogram::GetFullRange() const
{
  const int n = GetIndexRange();
  return (GetX(n - 1) - GetX(0)) + (GetX(1) - GetX(0));
}
