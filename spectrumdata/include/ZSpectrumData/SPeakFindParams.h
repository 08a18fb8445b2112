#pragma once
// The parameters of the peak search. The first member is also the second dimension of the data
// set's peak table.
#include "ZSpectrumDataApi.h"

class CArchive;

struct ZSPECTRUMDATA_API SPeakFindParams {
  SPeakFindParams() = default;
  SPeakFindParams(const SPeakFindParams&) = default;
  SPeakFindParams& operator=(const SPeakFindParams& other);

  // int 1, then the seven members; a record that does not start with 1 is left unread.
  void Serialize(CArchive& ar);

  int m_peaksPerTrace = 0; // 0 disables the search
  float m_xFrom = 0;
  float m_xTo = 0;
  float m_thresholdFraction = 0; // a peak counts above base + fraction x (max - base)
  float m_smoothingWidth = 0;    // x width; 0 or less for none
  float m_baseLevel = 0;
  int m_useBaseLevel = 0; // nonzero: base = m_baseLevel, else the smallest y searched
};

// Older archives hold this record as 28 raw bytes.
static_assert(sizeof(SPeakFindParams) == 28);
