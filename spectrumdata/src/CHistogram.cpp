#include "ZSpectrumData/CHistogram.h"

#include <algorithm>
#include <climits>

namespace {

// The bin number of a position, when it is one an int can hold: an infinite or NaN quotient (a
// bin width of 0, an infinite value) has none.
bool BinOf(double position, int& bin)
{
  if (!(position >= double(INT_MIN) && position < double(INT_MAX)))
    return false;
  bin = int(position); // towards zero, then down for the negative quotients: floor
  if (double(bin) > position)
    --bin;
  return true;
}

// A count read back as an int: truncated, held inside the int range, 0 for NaN (a histogram loaded
// from an archive holds whatever floats it held).
int CountOf(float value)
{
  if (!(value == value))
    return 0;
  if (value >= float(INT_MAX))
    return INT_MAX;
  if (value <= float(INT_MIN))
    return INT_MIN;
  return int(value);
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

// Called once per value, so it reads the arrays itself, under the rules GetX, GetY and SetY keep.
int CHistogram::AddCount(float value, int count)
{
  const int n = m_indexRange;
  if (!m_valid || n <= 0 || !m_x || !m_y || unsigned(m_arrayIndex) >= unsigned(m_arraySize))
    return 0;
  const float tolerance = m_resolution / 2;
  const float x0 = 0 <= m_lastIndex && 0 < m_vectorSize ? m_x[0] : 0.0f;
  const float xLast = n - 1 <= m_lastIndex && n - 1 < m_vectorSize ? m_x[size_t(n - 1)] : 0.0f;
  if (!(value >= x0 - tolerance && value <= xLast + tolerance))
    return 0;
  // The quotient in float, as the bin positions are; the half is added in double. Only a bin
  // inside the window counts, which also keeps an infinite or NaN quotient from becoming an int.
  const double position = double((value - x0) / m_binSize) + 0.5;
  const int first = std::max(m_firstIndex, 0);
  const int last = std::min(m_lastIndex, m_vectorSize - 1);
  if (!(position >= double(first) && position < double(last) + 1.0))
    return 0;
  const int k = int(position); // not negative: truncation is floor
  m_y[size_t(m_arrayIndex) * size_t(m_vectorSize) + size_t(k)] += float(count);
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
  return CountOf(GetY(k)); // a bin past the last reads 0
}

int CHistogram::GetMaxCount() const
{
  const int n = GetIndexRange();
  float most = 0;
  for (int k = 0; k < n; ++k)
    most = std::max(most, GetY(k));
  return CountOf(most);
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
