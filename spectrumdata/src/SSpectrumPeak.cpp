#include "ZSpectrumData/SSpectrumPeak.h"

#include <cstring>

SSpectrumPeak& SSpectrumPeak::operator=(const SSpectrumPeak& other)
{
  if (this == &other)
    return *this;
  m_wavelength = other.m_wavelength;
  m_leftHalfWidth = other.m_leftHalfWidth;
  m_rightHalfWidth = other.m_rightHalfWidth;
  m_fullWidth = other.m_fullWidth;
  m_intensity = other.m_intensity;
  m_value6 = other.m_value6;
  m_leftHalfX = other.m_leftHalfX;
  m_rightHalfX = other.m_rightHalfX;
  m_value9 = other.m_value9;
  m_value10 = other.m_value10;
  // Bytes after the terminator stay as they were, as a C-string copy leaves them.
  size_t length = strnlen(other.m_label, LabelSize - 1);
  std::memcpy(m_label, other.m_label, length);
  m_label[length] = '\0';
  return *this;
}
