// Construction, copies and the operations that change the sizes of a data set.
#include "ZSpectrumData/CSpectrumData.h"

#include "SpectrumArrays.h"

#include <algorithm>
#include <climits>

CSpectrumData::CSpectrumData()
{
  Init(0, 1);
}

CSpectrumData::CSpectrumData(const wchar_t* name, int points, int traces)
{
  Init(points, traces);
  SetName(name);
}

CSpectrumData::CSpectrumData(CSpectrumData* other)
{
  Init(0, 1);
  if (other)
    *this = *other;
}

CSpectrumData::CSpectrumData(const CSpectrumData& other) : CObject()
{
  Init(0, 1);
  *this = other;
}

CSpectrumData::~CSpectrumData()
{
  m_valid = 0;
}

void CSpectrumData::Init(int points, int traces)
{
  // A negative count is taken as none; no traces is one trace, for the trace window as well.
  const int n = std::max(points, 0);
  const int t = std::max(traces, 1);
  // The arrays are allocated before anything changes, so that a failed allocation leaves the
  // object as it was.
  auto x = ZeroArray<float>(size_t(n));
  auto y = ZeroArray<float>(size_t(n) * size_t(t));
  auto mask = ZeroArray<BYTE>(size_t(n));
  auto z = ZeroArray<float>(size_t(t));
  m_region.reset();
  m_peaks.reset();
  m_x = std::move(x);
  m_y = std::move(y);
  m_mask = std::move(mask);
  m_z = std::move(z);

  m_lineWidth = 1;
  m_cieDominantWavelength = 0;
  m_cieY = 0;
  m_cieX = 0;
  m_cieLuminance = 0;
  m_cieIntensity = 0;
  m_lineStyle = 0;
  m_valid = n > 0;
  m_colour = 0;
  m_vectorSize = n;
  m_pointCapacity = n;
  m_arraySize = t;
  m_xPos = 0;
  m_yPos = 0;
  m_indexRange = n;
  m_firstIndex = 0;
  m_lastIndex = n > 0 ? n - 1 : 0;
  m_firstArrayIndex = 0;
  m_lastArrayIndex = t - 1;
  m_arrayIndexRange = t;
  m_xMin = 0;
  m_yOffset = 0;
  m_yScale = 1;
  m_yRange = 0;
  m_yMin = 0;
  m_yMax = 0;
  for (CString* text :
       {&m_xLabel, &m_yLabel, &m_xUnits, &m_yUnits, &m_zLabel, &m_zUnits, &m_name, &m_spectrumType})
    text->Empty();
  m_resolution = 0;
  m_noiseProbability = 0;
  m_indexOfMaxY = 0;
  m_traceOfMaxY = 0;
  m_indexOfMinY = 0;
  m_traceOfMinY = 0;
  m_viewLimits = SSpectrumViewLimits();
  m_absoluteIntensity = 0;
  m_xLabelOffset = 0;
  m_xLabelScaling = 1;
  m_yLabelOffset = 0;
  m_yLabelScaling = 1;
  m_peakFindParams = SPeakFindParams();
  if (n > 0)
    m_region = std::make_unique<CSpectrumDataRegion>(this);
  m_maskEnabled = false;
  m_arrayIndex = 0;
  m_infoText.Empty();
}

// The index and trace windows, the current trace and where the extremes were found.
void CSpectrumData::CopyWindows(const CSpectrumData& other)
{
  m_firstIndex = other.m_firstIndex;
  m_firstArrayIndex = other.m_firstArrayIndex;
  m_arrayIndex = other.m_arrayIndex;
  m_indexOfMaxY = other.m_indexOfMaxY;
  m_traceOfMaxY = other.m_traceOfMaxY;
  m_indexOfMinY = other.m_indexOfMinY;
  m_traceOfMinY = other.m_traceOfMinY;
  m_indexRange = other.m_indexRange;
  m_arrayIndexRange = other.m_arrayIndexRange;
  m_lastIndex = other.m_lastIndex;
  m_lastArrayIndex = other.m_lastArrayIndex;
}

void CSpectrumData::CopyColourValues(const CSpectrumData& other)
{
  m_cieDominantWavelength = other.m_cieDominantWavelength;
  m_cieY = other.m_cieY;
  m_cieX = other.m_cieX;
  m_cieLuminance = other.m_cieLuminance;
  m_cieIntensity = other.m_cieIntensity;
}

CSpectrumData& CSpectrumData::operator=(const CSpectrumData& other)
{
  if (this == &other)
    return *this; // freeing the arrays first would free what is to be copied
  // Every copy is made before anything changes, so that a failed allocation leaves this object
  // as it was.
  const size_t n = size_t(other.m_vectorSize);
  const size_t t = size_t(other.m_arraySize);
  auto x = CopyArrayOf(other.m_x.get(), n);
  auto y = CopyArrayOf(other.m_y.get(), n * t);
  auto mask = CopyArrayOf(other.m_mask.get(), n);
  auto z = CopyArrayOf(other.m_z.get(), t);
  const size_t records = other.m_peaks ? other.PeakRecordCount() : 0;
  std::unique_ptr<SSpectrumPeak[]> peaks;
  if (records > 0 && records == PeakRecordCount() && m_peaks)
    peaks = std::move(m_peaks); // the table is only reallocated when its size differs
  else if (records > 0)
    peaks = ZeroArray<SSpectrumPeak>(records);
  CopyInto(peaks.get(), other.m_peaks.get(), records);

  m_absoluteIntensity = other.m_absoluteIntensity;
  m_maskEnabled = other.m_maskEnabled;
  CopyColourValues(other);
  m_xLabel = other.m_xLabel;
  m_yLabel = other.m_yLabel;
  m_xUnits = other.m_xUnits;
  m_yUnits = other.m_yUnits;
  m_zLabel = other.m_zLabel;
  m_zUnits = other.m_zUnits;
  m_vectorSize = other.m_vectorSize;
  m_pointCapacity = other.m_vectorSize;
  m_arraySize = other.m_arraySize;
  m_x = std::move(x);
  m_y = std::move(y);
  m_mask = std::move(mask);
  m_z = std::move(z);
  m_name = other.m_name;
  CopyWindows(other);
  m_lineStyle = other.m_lineStyle;
  m_lineWidth = other.m_lineWidth;
  m_noiseProbability = other.m_noiseProbability;
  m_peakFindParams = other.m_peakFindParams;
  m_peaks = std::move(peaks);

  m_region.reset();
  if (other.m_region) {
    m_region = std::make_unique<CSpectrumDataRegion>(this);
    m_region->SetFirstIndex(std::max(other.m_region->GetFirstIndex(), m_firstIndex));
    m_region->SetLastIndex(std::min(other.m_region->GetLastIndex(), m_lastIndex));
  }

  m_resolution = other.m_resolution;
  m_spectrumType = other.m_spectrumType;
  m_colour = other.m_colour;
  m_valid = other.m_valid;
  m_viewLimits = other.m_viewLimits;
  m_xLabelOffset = other.m_xLabelOffset;
  m_xLabelScaling = other.m_xLabelScaling;
  m_xMin = other.m_xMin;
  m_xPos = other.m_xPos;
  m_yLabelOffset = other.m_yLabelOffset;
  m_yLabelScaling = other.m_yLabelScaling;
  m_yMax = other.m_yMax;
  m_yMin = other.m_yMin;
  m_yOffset = other.m_yOffset;
  m_yPos = other.m_yPos;
  m_yRange = other.m_yRange;
  m_yScale = other.m_yScale;
  m_stringList.RemoveAll();
  m_stringList.AddTail(&other.m_stringList);
  m_verticalMarkers.RemoveAll();
  m_verticalMarkers.AddTail(&other.m_verticalMarkers);
  return *this;
}

void CSpectrumData::CopyArray(const CSpectrumData& other)
{
  if (this == &other)
    return;
  const size_t n = size_t(other.m_vectorSize);
  const size_t t = size_t(other.m_arraySize);
  if (m_arraySize != other.m_arraySize || m_vectorSize != other.m_vectorSize || (n > 0 && !m_x)) {
    auto x = ZeroArray<float>(n);
    auto y = ZeroArray<float>(n * t);
    auto mask = ZeroArray<BYTE>(n);
    auto z = ZeroArray<float>(t);
    // The peaks are not the numbers: the table only follows the number of traces, keeping the
    // records of the traces both sizes share.
    const int oldArraySize = m_arraySize;
    auto peaks = std::move(m_peaks);
    RemoveAllData();
    // The arrays are made at the source's sizes, and the sizes must say so.
    m_x = std::move(x);
    m_y = std::move(y);
    m_mask = std::move(mask);
    m_z = std::move(z);
    m_vectorSize = other.m_vectorSize;
    m_pointCapacity = other.m_vectorSize;
    m_arraySize = other.m_arraySize;
    m_peaks = std::move(peaks);
    ResizePeakTable(oldArraySize, m_arraySize);
  }

  m_absoluteIntensity = other.m_absoluteIntensity;
  m_maskEnabled = other.m_maskEnabled;
  CopyColourValues(other);
  CopyWindows(other);
  m_xMin = other.m_xMin;
  m_yMax = other.m_yMax;
  m_yMin = other.m_yMin;
  m_yOffset = other.m_yOffset;
  m_yRange = other.m_yRange;
  m_yScale = other.m_yScale;
  CopyInto(m_x.get(), other.m_x.get(), n);
  CopyInto(m_y.get(), other.m_y.get(), n * t);
  CopyInto(m_mask.get(), other.m_mask.get(), n);
  CopyInto(m_z.get(), other.m_z.get(), t);
  m_valid = m_vectorSize > 0;
}

void CSpectrumData::RemoveAllData()
{
  const int oldArraySize = m_arraySize;
  m_x.reset();
  m_y.reset();
  m_mask.reset();
  m_pointCapacity = 0;
  if (m_z)
    m_z = ZeroArray<float>(1);
  m_arrayIndex = 0;
  m_arraySize = 1;
  m_arrayIndexRange = 1;
  m_firstArrayIndex = 0;
  m_lastArrayIndex = 0;
  m_cieDominantWavelength = 0;
  m_cieY = 0;
  m_cieX = 0;
  m_cieLuminance = 0;
  m_cieIntensity = 0;
  m_firstIndex = 0;
  m_lastIndex = 0;
  m_indexRange = 0;
  m_indexOfMaxY = 0;
  m_indexOfMinY = 0;
  m_valid = 0;
  m_vectorSize = 0;
  m_yRange = 0;
  m_yMax = 0;
  m_yMin = 0;
  m_xMin = 0;
  ResizePeakTable(oldArraySize, 1);
}

void CSpectrumData::Resize(int points, int traces)
{
  if (points < 0 || traces < 0)
    return;
  const int t = traces == 0 ? m_arraySize : traces;
  const int n = points;
  if (n == m_vectorSize && t == m_arraySize)
    return;
  if (n == 0) {
    RemoveAllData();
    return;
  }
  const size_t oldN = size_t(m_vectorSize);
  const size_t keepN = std::min(size_t(n), oldN);
  const size_t keepT = size_t(std::min(t, m_arraySize));
  // Every new array is made before any old one is given up.
  std::unique_ptr<float[]> x, z;
  std::unique_ptr<BYTE[]> mask;
  if (n != m_vectorSize || !m_x) {
    x = ZeroArray<float>(size_t(n));
    CopyInto(x.get(), m_x.get(), keepN);
  }
  if (n != m_vectorSize || !m_mask) {
    mask = ZeroArray<BYTE>(size_t(n));
    CopyInto(mask.get(), m_mask.get(), keepN);
  }
  if (t != m_arraySize || !m_z) {
    z = ZeroArray<float>(size_t(t));
    CopyInto(z.get(), m_z.get(), keepT);
  }
  auto y = ZeroArray<float>(size_t(n) * size_t(t));
  if (m_y)
    for (size_t k = 0; k < keepT; ++k)
      CopyInto(y.get() + k * size_t(n), m_y.get() + k * oldN, keepN);
  if (x)
    m_x = std::move(x);
  if (mask)
    m_mask = std::move(mask);
  if (z)
    m_z = std::move(z);
  m_y = std::move(y);

  const int oldArraySize = m_arraySize;
  m_arraySize = t;
  m_vectorSize = n;
  m_pointCapacity = n;
  m_firstIndex = 0;
  m_lastIndex = n - 1;
  m_indexRange = n;
  m_firstArrayIndex = 0;
  m_lastArrayIndex = t - 1;
  m_arrayIndexRange = t;
  m_arrayIndex = 0;
  m_indexOfMaxY = 0;
  m_traceOfMaxY = 0;
  m_indexOfMinY = 0;
  m_traceOfMinY = 0;
  m_valid = 1;
  ResizePeakTable(oldArraySize, t);
}

void CSpectrumData::CropTo(int start, int end)
{
  end = std::min(end, m_vectorSize - 1);
  if (start < 0 || end < start)
    return;
  if (start == 0 && end == m_vectorSize - 1)
    return;
  const size_t count = size_t(end - start + 1);
  const size_t oldN = size_t(m_vectorSize);
  auto x = ZeroArray<float>(count);
  auto mask = ZeroArray<BYTE>(count);
  auto y = ZeroArray<float>(count * size_t(m_arraySize));
  if (m_x)
    CopyInto(x.get(), m_x.get() + start, count);
  if (m_mask)
    CopyInto(mask.get(), m_mask.get() + start, count);
  if (m_y) {
    const int firstTrace = std::max(m_firstArrayIndex, 0);
    const int lastTrace = std::min(m_lastArrayIndex, m_arraySize - 1);
    for (int k = firstTrace; k <= lastTrace; ++k)
      CopyInto(y.get() + size_t(k) * count, m_y.get() + size_t(k) * oldN + size_t(start), count);
  }
  m_x = std::move(x);
  m_mask = std::move(mask);
  m_y = std::move(y);
  m_vectorSize = int(count);
  m_pointCapacity = int(count);
  m_indexRange = int(count);
  m_firstIndex = 0;
  m_lastIndex = int(count) - 1;
  m_indexOfMaxY = std::max(m_indexOfMaxY - start, 0);
  m_indexOfMinY = std::max(m_indexOfMinY - start, 0);
}

void CSpectrumData::CropTo(float x1, float x2)
{
  CropTo(GetIndex(x1), GetIndex(x2));
}

void CSpectrumData::Pad(int before, int after)
{
  if (before != after || before < 0)
    return;
  CropTo(m_firstIndex, m_lastIndex);
  const long long count = m_vectorSize;
  const long long total = count + 2LL * before;
  if (total <= 0 || total > INT_MAX)
    return;
  const size_t n = size_t(total);
  const size_t lead = size_t(before);
  auto x = ZeroArray<float>(n);
  auto mask = ZeroArray<BYTE>(n);
  auto y = ZeroArray<float>(n * size_t(m_arraySize));
  CopyInto(x.get() + lead, m_x.get(), size_t(count));
  CopyInto(mask.get() + lead, m_mask.get(), size_t(count));
  if (m_y)
    for (size_t k = 0; k < size_t(m_arraySize); ++k)
      CopyInto(y.get() + k * n + lead, m_y.get() + k * size_t(count), size_t(count));
  m_x = std::move(x);
  m_mask = std::move(mask);
  m_y = std::move(y);
  m_indexOfMaxY += before;
  m_indexOfMinY += before;
  m_vectorSize = int(total);
  m_pointCapacity = int(total);
  m_indexRange = int(total);
  m_firstIndex = 0;
  m_lastIndex = int(total) - 1;
}

// The vector size grows by 128 points at a time, as callers and stored files see it, but the
// arrays beneath grow by half their size: n calls copy O(n) points in all, not O(n^2 / 128).
// With several traces y is laid out at the vector size's stride, so each growth moves them all.
bool CSpectrumData::GrowForPoint(int last)
{
  if (m_vectorSize > INT_MAX - 128)
    return false;
  const size_t oldN = size_t(m_vectorSize);
  const size_t n = oldN + 128;
  const bool arrays = m_x && m_y && m_mask;
  if (arrays && m_arraySize == 1 && size_t(m_pointCapacity) >= n) {
    // The room is there; the block it opens reads as zeros, as a fresh block would, and the
    // points last + 1 .. old vector size - 1 are dropped, as a copy up to last drops them.
    const size_t from = std::min(size_t(last + 1), oldN);
    std::fill(m_x.get() + from, m_x.get() + n, 0.0f);
    std::fill(m_y.get() + from, m_y.get() + n, 0.0f);
    std::fill(m_mask.get() + from, m_mask.get() + n, BYTE(0));
    m_vectorSize = int(n);
    m_valid = 1;
    return true;
  }
  const size_t traces = size_t(m_arraySize);
  size_t room = n;
  if (traces == 1)
    room = std::min(std::max(n, oldN + oldN / 2), size_t(INT_MAX));
  auto newX = ZeroArray<float>(room);
  auto newY = ZeroArray<float>(traces == 1 ? room : n * traces);
  auto newMask = ZeroArray<BYTE>(room);
  if (arrays && last >= 0) {
    const size_t keep = std::min(size_t(last) + 1, oldN);
    CopyInto(newX.get(), m_x.get(), keep);
    CopyInto(newMask.get(), m_mask.get(), keep);
    // Every trace moves to the new stride, not only the one that receives the point.
    for (size_t k = 0; k < traces; ++k)
      CopyInto(newY.get() + k * n, m_y.get() + k * oldN, keep);
  }
  m_x = std::move(newX);
  m_y = std::move(newY);
  m_mask = std::move(newMask);
  m_vectorSize = int(n);
  m_pointCapacity = int(room);
  m_valid = 1;
  return true;
}

int CSpectrumData::AddPoint(float x, float y, int /*trace: the point always goes to trace 0*/)
{
  int last = m_indexRange == 0 ? -1 : m_lastIndex;
  if ((last + 1 >= m_vectorSize || !m_x || !m_y || !m_mask) && !GrowForPoint(last))
    return 0;
  last = last + 1;
  m_lastIndex = last;
  if (last >= 0 && last <= m_vectorSize - 1)
    m_indexRange = last - m_firstIndex + 1;
  SetX(last, x);
  SetY(0, last, y);
  Mask(last, false);
  return 1;
}

void CSpectrumData::RemoveArrayTrace(int k)
{
  if (k < 0 || k > m_lastArrayIndex || k >= m_arraySize || m_arraySize <= 1)
    return;
  const size_t n = size_t(m_vectorSize);
  // Whole traces move, and every one after k, so that no trace is left half old and half new.
  for (int from = k + 1; from < m_arraySize; ++from) {
    if (m_y)
      CopyInto(m_y.get() + size_t(from - 1) * n, m_y.get() + size_t(from) * n, n);
    if (m_z)
      m_z[size_t(from - 1)] = m_z[size_t(from)];
  }
  RemovePeakTrace(k);
  --m_arraySize;
  m_arrayIndexRange = std::max(m_arrayIndexRange - 1, 1);
  m_lastArrayIndex = std::clamp(m_lastArrayIndex - 1, 0, m_arraySize - 1);
  m_firstArrayIndex = std::clamp(m_firstArrayIndex, 0, m_lastArrayIndex);
  m_arrayIndex = std::clamp(m_arrayIndex, 0, m_arraySize - 1);
}
