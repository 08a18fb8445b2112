#pragma once
// A histogram: a data set of one trace whose x values are the bin positions and whose y values the
// counts. The bin size is not archived.
#include "CSpectrumData.h"

class ZSPECTRUMDATA_API CHistogram : public CSpectrumData {
public:
  CHistogram(const wchar_t* name, int bins);
  ~CHistogram() override;

  // Bin k is at first + k x binSize (summed in float), every count 0. Returns 1.
  int SetLimitsFromFirstBin(float first, float binSize);
  float GetBinSize() const;
  // Adds count to the bin nearest the value, when the value lies within half the resolution of
  // the bins' positions; a value with no finite bin counts nowhere. Returns 0.
  int AddCount(float value, int count);
  // The count of the bin whose interval [x, x + width) holds the value; 0 outside every bin.
  int GetCount(float value) const;
  int GetMaxCount() const;
  float GetRangeMax() const;  // the upper edge of the last bin
  float GetFullRange() const; // the span of all bins, the last bin's width included

private:
  float m_binSize = 0;
};
