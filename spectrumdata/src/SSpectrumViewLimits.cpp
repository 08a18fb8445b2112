#include "ZSpectrumData/SSpectrumViewLimits.h"

#include <CArchive.h>

SSpectrumViewLimits& SSpectrumViewLimits::operator=(const SSpectrumViewLimits& other)
{
  m_xMin = other.m_xMin;
  m_yMin = other.m_yMin;
  m_xMax = other.m_xMax;
  m_yMax = other.m_yMax;
  m_user1 = other.m_user1;
  m_user2 = other.m_user2;
  return *this;
}

void SSpectrumViewLimits::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << int(1) << m_xMin << m_yMin << m_xMax << m_yMax << m_user1 << m_user2;
    return;
  }
  int version = 0;
  ar >> version;
  if (version != 1)
    return;
  ar >> m_xMin >> m_yMin >> m_xMax >> m_yMax >> m_user1 >> m_user2;
}
