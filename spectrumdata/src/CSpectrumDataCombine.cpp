// Adding, subtracting, dividing and calibrating data sets against each other.
#include "ZSpectrumData/CSpectrumData.h"

#include "TraceInterpolator.h"

#include <optional>

namespace {

// When the output is also an input, the input is read from a copy so that no point is read
// after it has been written.
const CSpectrumData& ReadSource(CSpectrumData* source, CSpectrumData* out, std::optional<CSpectrumData>& copy)
{
  if (source != out)
    return *source;
  copy.emplace(*source);
  copy->SetName(L"temp");
  return *copy;
}

} // namespace

int CSpectrumData::AddSpectra(CSpectrumData* a, CSpectrumData* b, CSpectrumData* out)
{
  if (!a || !b || !out)
    return 0;
  if (out->m_indexRange != a->m_indexRange ||
      (b->m_arrayIndexRange != 1 && b->m_arrayIndexRange != a->m_arrayIndexRange))
    return 0;
  std::optional<CSpectrumData> aCopy, bCopy;
  const CSpectrumData& src = ReadSource(a, out, aCopy);
  const CSpectrumData& other = ReadSource(b, out, bCopy);
  const bool sameTraces = other.m_arrayIndexRange == src.m_arrayIndexRange;
  for (int t = src.m_firstArrayIndex; t <= src.m_lastArrayIndex; ++t) {
    const TraceInterpolator bAt(other, sameTraces ? t : -1);
    for (int j = src.m_firstIndex; j <= src.m_lastIndex; ++j) {
      const int k = out->m_firstIndex + (j - src.m_firstIndex);
      const float x = src.GetX(j);
      out->SetY(t, k, src.GetY(t, j) + bAt(x));
      out->SetX(k, x);
    }
  }
  return 1;
}

int CSpectrumData::AddSpectrum(CSpectrumData* b)
{
  return AddSpectra(this, b, this);
}

int CSpectrumData::SubtractSpectrum(CSpectrumData* b)
{
  if (!b)
    return 0;
  CSpectrumData negative(*b);
  negative.SetName(L"temp");
  // Every trace is negated, not only the current one (which is all MultY reaches): the addition
  // reads b's trace for each trace of this one's trace window when b has as many.
  if (negative.m_y)
    for (size_t i = 0, n = size_t(negative.m_vectorSize) * size_t(negative.m_arraySize); i < n; ++i)
      negative.m_y[i] = -negative.m_y[i];
  return AddSpectra(this, &negative, this);
}

int CSpectrumData::DivideByReference(CSpectrumData* a, CSpectrumData* ref, CSpectrumData* out)
{
  if (!a || !ref || !out)
    return 0;
  // Every point of a is written to out.
  if (out->m_indexRange < a->m_indexRange)
    return 0;
  std::optional<CSpectrumData> aCopy, refCopy;
  const CSpectrumData& src = ReadSource(a, out, aCopy);
  const CSpectrumData& reference = ReadSource(ref, out, refCopy);
  const bool sameGrid = src.m_indexRange == reference.m_indexRange &&
                        src.GetX(src.m_firstIndex) == reference.GetX(reference.m_firstIndex) &&
                        src.GetX(src.m_lastIndex) == reference.GetX(reference.m_lastIndex);
  const TraceInterpolator refAt(reference);
  for (int i = src.m_firstIndex; i <= src.m_lastIndex; ++i) {
    const int k = out->m_firstIndex + (i - src.m_firstIndex);
    const float x = src.GetX(i);
    // On the same grid, point i of a meets the point at the same place in ref's own window.
    const float r = sameGrid ? reference.GetY(reference.m_firstIndex + (i - src.m_firstIndex)) : refAt(x);
    out->SetY(k, r == 0 ? 0.0f : src.GetY(i) / r);
    out->SetX(k, x);
  }
  out->SetXUnits(src.m_xUnits);
  return 1;
}

int CSpectrumData::DivideByReference(CSpectrumData* ref)
{
  if (!ref || !ref->m_valid)
    return 0;
  CSpectrumData copy(*this);
  DivideByReference(&copy, ref, &copy);
  *this = copy;
  return 1;
}

int CSpectrumData::Calibrate(CSpectrumData* src, CSpectrumData* calib, CSpectrumData* dst)
{
  if (!src || !calib || !dst || src->m_indexRange != dst->m_indexRange)
    return 0;
  std::optional<CSpectrumData> srcCopy, calibCopy;
  const CSpectrumData& source = ReadSource(src, dst, srcCopy);
  const CSpectrumData& curve = ReadSource(calib, dst, calibCopy);
  const TraceInterpolator calibAt(curve);
  for (int i = source.m_firstIndex; i <= source.m_lastIndex; ++i) {
    const int k = dst->m_firstIndex + (i - source.m_firstIndex);
    const float x = source.GetX(i);
    dst->SetY(k, calibAt(x) * source.GetY(i));
    dst->SetX(k, x);
  }
  dst->SetXUnits(source.m_xUnits);
  dst->SetYUnits(source.m_yUnits);
  return 1;
}
