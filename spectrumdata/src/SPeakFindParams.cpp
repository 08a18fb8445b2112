#include "ZSpectrumData/SPeakFindParams.h"

#include <CArchive.h>

SPeakFindParams& SPeakFindParams::operator=(const SPeakFindParams& other)
{
  m_peaksPerTrace = other.m_peaksPerTrace;
  m_xFrom = other.m_xFrom;
  m_xTo = other.m_xTo;
  m_thresholdFraction = other.m_thresholdFraction;
  m_smoothingWidth = other.m_smoothingWidth;
  m_baseLevel = other.m_baseLevel;
  m_useBaseLevel = other.m_useBaseLevel;
  return *this;
}

void SPeakFindParams::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << int(1) << m_peaksPerTrace << m_xFrom << m_xTo << m_thresholdFraction << m_smoothingWidth
       << m_baseLevel << m_useBaseLevel;
    return;
  }
  int version = 0;
  ar >> version;
  if (version != 1)
    return;
  ar >> m_peaksPerTrace >> m_xFrom >> m_xTo >> m_thresholdFraction >> m_smoothingWidth >> m_baseLevel >>
      m_useBaseLevel;
}
