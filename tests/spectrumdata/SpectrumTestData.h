#pragma once
// Small data sets for the spectrum library's tests.
#include <ZSpectrumData/CSpectrumData.h>

#include <vector>

// The members a test must reach although no operation shows them (the layout test is a friend of
// the data set under this name).
struct CSpectrumDataLayout {
  static void Check(const CSpectrumData& d); // the member offsets
  static CStringList& StringList(CSpectrumData& d) { return d.m_stringList; }
  static const CSpectrumDataRegion* Region(const CSpectrumData& d) { return d.m_region.get(); }
  // Record k of a trace's part of the peak table, which must exist.
  static SSpectrumPeak& Peak(CSpectrumData& d, int trace, int k)
  {
    return d.m_peaks[size_t(trace) * size_t(d.m_peakFindParams.m_peaksPerTrace) + size_t(k)];
  }
};

// points x traces, x = i and y of trace t = 100 t + i, z of trace t = 10 t.
inline void FillGrid(CSpectrumData& data)
{
  for (int t = 0; t < data.GetArraySize(); ++t) {
    data.SetZ(t, 10.0f * float(t));
    for (int i = 0; i < data.GetVectorSize(); ++i)
      data.SetY(t, i, 100.0f * float(t) + float(i));
  }
  for (int i = 0; i < data.GetVectorSize(); ++i)
    data.SetX(i, float(i));
}

// The stored values of one trace, read whatever the window: the window is opened for the read.
inline std::vector<float> TraceValues(const CSpectrumData& data, int trace)
{
  CSpectrumData copy(data);
  copy.SetFirstIndex(0);
  copy.SetLastIndex(copy.GetVectorSize() - 1);
  std::vector<float> values;
  for (int i = 0; i < copy.GetVectorSize(); ++i)
    values.push_back(copy.GetY(trace, i));
  return values;
}

inline std::vector<float> XValues(const CSpectrumData& data)
{
  std::vector<float> values;
  for (int i = data.GetFirstIndex(); i <= data.GetLastIndex(); ++i)
    values.push_back(data.GetX(i));
  return values;
}
