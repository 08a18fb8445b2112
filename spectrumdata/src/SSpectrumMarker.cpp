#include "ZSpectrumData/SSpectrumMarker.h"

#include <CArchive.h>

SSpectrumMarker::SSpectrumMarker()
    : m_shown(0), m_position(0), m_width(0), m_colour(0), m_secondFlag(0), m_tag(0)
{}

SSpectrumMarker& SSpectrumMarker::operator=(const SSpectrumMarker& other)
{
  m_shown = other.m_shown;
  m_position = other.m_position;
  m_width = other.m_width;
  m_colour = other.m_colour;
  m_label = other.m_label;
  m_secondFlag = other.m_secondFlag;
  m_tag = other.m_tag;
  return *this;
}

void SSpectrumMarker::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << int(1) << BYTE(m_shown ? 1 : 0) << UINT(m_colour) << m_position << m_width << m_label;
    return;
  }
  int version = 0;
  ar >> version;
  if (version != 1)
    return;
  UINT colour = 0;
  ar >> m_shown >> colour >> m_position >> m_width >> m_label;
  m_colour = colour;
}
