#pragma once
// A view that the caller saved on a data set.
#include "ZSpectrumDataApi.h"

class CArchive;

struct ZSPECTRUMDATA_API SSpectrumViewLimits {
  SSpectrumViewLimits() = default;
  SSpectrumViewLimits(const SSpectrumViewLimits&) = default;
  SSpectrumViewLimits& operator=(const SSpectrumViewLimits& other);

  // int 1, the four limits, the two ints; a record that does not start with 1 is left unread.
  void Serialize(CArchive& ar);

  float m_xMin = 0;
  float m_yMin = 0;
  float m_xMax = 0;
  float m_yMax = 0;
  int m_user1 = 0; // kept for the caller
  int m_user2 = 0;
};

// Older archives hold this record as 24 raw bytes.
static_assert(sizeof(SSpectrumViewLimits) == 24);
