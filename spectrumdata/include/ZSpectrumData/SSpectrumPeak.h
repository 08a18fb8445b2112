#pragma once
// One found peak: ten floats and a narrow label. Older archives hold it as a raw 296-byte block,
// so the layout is fixed.
#include "ZSpectrumDataApi.h"

struct ZSPECTRUMDATA_API SSpectrumPeak {
  enum { LabelSize = 256 };

  SSpectrumPeak() = default;
  SSpectrumPeak(const SSpectrumPeak& other) { *this = other; }
  // Copies the floats, then the label up to its terminator; a label that has none (a raw record
  // from an old archive) is cut at LabelSize - 1.
  SSpectrumPeak& operator=(const SSpectrumPeak& other);

  float m_wavelength = 0; // x of the peak
  float m_leftHalfWidth = 0;
  float m_rightHalfWidth = 0;
  float m_fullWidth = 0;
  float m_intensity = 0;
  float m_value6 = 0;
  float m_leftHalfX = 0;
  float m_rightHalfX = 0;
  float m_value9 = 0;
  float m_value10 = 0;
  char m_label[LabelSize] = {};
};

static_assert(sizeof(SSpectrumPeak) == 296);
