#include "ZSpectrumData/CSpectrumDataRegion.h"

#include "ZSpectrumData/CSpectrumData.h"

CSpectrumDataRegion::CSpectrumDataRegion(CSpectrumData* data)
    : m_firstIndex(data ? data->GetFirstIndex() : 0), m_lastIndex(data ? data->GetLastIndex() : 0),
      m_data(data)
{}

CSpectrumDataRegion::~CSpectrumDataRegion() = default;

int CSpectrumDataRegion::GetFirstIndex() const
{
  return m_firstIndex;
}

int CSpectrumDataRegion::GetLastIndex() const
{
  return m_lastIndex;
}

int CSpectrumDataRegion::SetFirstIndex(int index)
{
  if (m_data && index < m_data->GetFirstIndex()) {
    m_firstIndex = m_data->GetFirstIndex();
    return 0;
  }
  m_firstIndex = index;
  return 1;
}

int CSpectrumDataRegion::SetLastIndex(int index)
{
  if (m_data && index > m_data->GetLastIndex()) {
    m_lastIndex = m_data->GetLastIndex();
    return 0;
  }
  m_lastIndex = index;
  return 1;
}

float CSpectrumDataRegion::GetArea() const
{
  if (!m_data || (long long)m_lastIndex - m_firstIndex < 2)
    return 0;
  float area = 0;
  for (int i = m_firstIndex; i < m_lastIndex; ++i) {
    // Float sums and differences, a double product, rounded to float before it is added.
    float ySum = m_data->GetY(i) + m_data->GetY(i + 1);
    float xStep = m_data->GetX(i + 1) - m_data->GetX(i);
    area += float(double(ySum) * 0.5 * double(xStep));
  }
  return area;
}
