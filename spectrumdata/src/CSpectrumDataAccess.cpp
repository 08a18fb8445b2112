// Element access, bulk copies, the index and trace windows and the plain accessors. Every guard
// here is what the rest of the library relies on: out of range reads 0 and writes nothing.
#include "ZSpectrumData/CSpectrumData.h"

#include <CLocale.h>

#include <algorithm>
#include <cwchar>

bool CSpectrumData::IsTrace(int trace) const
{
  return trace >= 0 && trace < m_arraySize;
}

bool CSpectrumData::HasPoints() const
{
  return m_valid && m_indexRange != 0;
}

float CSpectrumData::YAt(int trace, int i) const
{
  return m_y[size_t(trace) * size_t(m_vectorSize) + size_t(i)];
}

// A point that the setters may write: inside first..last and inside the arrays.
bool CSpectrumData::IsWritable(int i) const
{
  return HasPoints() && i >= m_firstIndex && i <= m_lastIndex && i >= 0 && i < m_vectorSize;
}

// --- points

float CSpectrumData::GetX(int i) const
{
  if (!HasPoints() || !m_x || i < 0 || i > m_lastIndex || i >= m_vectorSize)
    return 0;
  return m_x[size_t(i)];
}

void CSpectrumData::SetX(int i, float x)
{
  if (m_x && IsWritable(i))
    m_x[size_t(i)] = x;
}

float CSpectrumData::GetY(int i) const
{
  return GetY(m_arrayIndex, i);
}

float CSpectrumData::GetY(int trace, int i) const
{
  if (!m_valid || !m_y || !IsTrace(trace) || i >= m_vectorSize)
    return 0;
  i = std::max(i, m_firstIndex);
  i = std::min(i, m_lastIndex);
  if (i < 0 || i >= m_vectorSize)
    return 0;
  return YAt(trace, i);
}

void CSpectrumData::SetY(int i, float y)
{
  SetY(m_arrayIndex, i, y);
}

void CSpectrumData::SetY(int trace, int i, float y)
{
  if (m_y && IsTrace(trace) && IsWritable(i))
    m_y[size_t(trace) * size_t(m_vectorSize) + size_t(i)] = y;
}

float CSpectrumData::GetZ(int trace) const
{
  if (trace < m_firstArrayIndex || trace > m_lastArrayIndex)
    trace = m_arrayIndex;
  if (!m_z || !IsTrace(trace))
    return 0;
  return m_z[size_t(trace)];
}

void CSpectrumData::SetZ(int trace, float z)
{
  if (m_valid && m_z && IsTrace(trace))
    m_z[size_t(trace)] = z;
}

void CSpectrumData::Mask(int i, bool masked)
{
  if (m_mask && IsWritable(i))
    m_mask[size_t(i)] = masked ? 1 : 0;
}

bool CSpectrumData::IsMasked(int i) const
{
  if (!HasPoints() || !m_mask || i < 0 || i > m_lastIndex || i >= m_vectorSize)
    return false;
  return m_mask[size_t(i)] != 0;
}

void CSpectrumData::EnableMask(bool enable)
{
  m_maskEnabled = enable;
}

bool CSpectrumData::MaskEnabled() const
{
  return m_maskEnabled;
}

// --- bulk copies

namespace {

template <typename T> void CopyToX(CSpectrumData& data, const T* source)
{
  if (!source)
    return;
  for (int i = data.GetFirstIndex(), k = 0; i <= data.GetLastIndex(); ++i, ++k)
    data.SetX(i, float(source[k]));
}

// Element k of target is row[first + k], with 0 where GetX or GetY would read 0: no row (no
// points, or no such trace) or an index outside the row. The copy reads the row itself: through
// the exported accessors every value costs a call and its checks, several times the copy.
template <typename T> void CopyFromRow(T* target, const float* row, int first, int last, int size)
{
  if (!target)
    return;
  for (int i = first, k = 0; i <= last; ++i, ++k)
    target[k] = row && i >= 0 && i < size ? T(row[size_t(i)]) : T(0);
}

template <typename T> void CopyToY(CSpectrumData& data, const T* source, int trace)
{
  if (!source)
    return;
  for (int i = data.GetFirstIndex(), k = 0; i <= data.GetLastIndex(); ++i, ++k)
    data.SetY(trace, i, float(source[k]));
}

template <typename T> void CopyToZ(CSpectrumData& data, const T* source)
{
  if (!source)
    return;
  for (int j = data.GetFirstArrayIndex(), k = 0; j <= data.GetLastArrayIndex(); ++j, ++k)
    data.SetZ(j, float(source[k]));
}

template <typename T> void CopyFromZ(const CSpectrumData& data, T* target)
{
  if (!target)
    return;
  for (int j = data.GetFirstArrayIndex(), k = 0; j <= data.GetLastArrayIndex(); ++j, ++k)
    target[k] = T(data.GetZ(j));
}

} // namespace

// GetX reads 0 outside 0..last, which first..last never leaves; SetY and GetY check the trace, the
// lower bound included.
void CSpectrumData::SetXData(const float* data)
{
  CopyToX(*this, data);
}
void CSpectrumData::SetXData(const double* data)
{
  CopyToX(*this, data);
}
void CSpectrumData::GetXData(float* data) const
{
  CopyFromRow(data, HasPoints() ? m_x.get() : nullptr, m_firstIndex, m_lastIndex, m_vectorSize);
}
void CSpectrumData::GetXData(double* data) const
{
  CopyFromRow(data, HasPoints() ? m_x.get() : nullptr, m_firstIndex, m_lastIndex, m_vectorSize);
}
void CSpectrumData::SetYData(const float* data, int trace)
{
  CopyToY(*this, data, trace);
}
void CSpectrumData::SetYData(const double* data, int trace)
{
  CopyToY(*this, data, trace);
}
// The row of the trace is where GetY reads, or none where GetY reads 0 throughout.
void CSpectrumData::GetYData(float* data, int trace) const
{
  const float* row =
      m_valid && m_y && IsTrace(trace) ? m_y.get() + size_t(trace) * size_t(m_vectorSize) : nullptr;
  CopyFromRow(data, row, m_firstIndex, m_lastIndex, m_vectorSize);
}
void CSpectrumData::GetYData(double* data, int trace) const
{
  const float* row =
      m_valid && m_y && IsTrace(trace) ? m_y.get() + size_t(trace) * size_t(m_vectorSize) : nullptr;
  CopyFromRow(data, row, m_firstIndex, m_lastIndex, m_vectorSize);
}
void CSpectrumData::SetZData(const float* data)
{
  CopyToZ(*this, data);
}
void CSpectrumData::SetZData(const double* data)
{
  CopyToZ(*this, data);
}
void CSpectrumData::GetZData(float* data) const
{
  CopyFromZ(*this, data);
}
void CSpectrumData::GetZData(double* data) const
{
  CopyFromZ(*this, data);
}

// --- windows

int CSpectrumData::GetFirstIndex() const
{
  return m_firstIndex;
}
int CSpectrumData::GetLastIndex() const
{
  return m_lastIndex;
}
int CSpectrumData::GetIndexRange() const
{
  return m_indexRange;
}

void CSpectrumData::SetFirstIndex(int i)
{
  if (m_vectorSize > 0 && i >= 0 && i <= m_vectorSize - 1) {
    m_firstIndex = i;
    m_indexRange = m_lastIndex - i + 1;
  }
}

void CSpectrumData::SetFirstIndex(float x)
{
  SetFirstIndex(GetIndex(x));
}

void CSpectrumData::SetLastIndex(int i)
{
  if (i >= 0 && i <= m_vectorSize - 1) {
    m_lastIndex = i;
    m_indexRange = i - m_firstIndex + 1;
  }
}

void CSpectrumData::SetLastIndex(float x)
{
  SetLastIndex(GetIndex(x));
}

int CSpectrumData::GetFirstArrayIndex() const
{
  return m_firstArrayIndex;
}
int CSpectrumData::GetLastArrayIndex() const
{
  return m_lastArrayIndex;
}
int CSpectrumData::GetArrayIndexRange() const
{
  return m_arrayIndexRange;
}

void CSpectrumData::SetFirstArrayIndex(int k)
{
  m_firstArrayIndex = std::clamp(k, 0, m_arraySize - 1);
}

void CSpectrumData::SetLastArrayIndex(int k)
{
  m_lastArrayIndex = std::clamp(k, 0, m_arraySize - 1);
}

int CSpectrumData::GetArrayIndex() const
{
  return m_arrayIndex;
}

void CSpectrumData::SetArrayIndex(int k)
{
  // The trace window may be inverted by the two setters above; the upper end wins then.
  k = std::max(k, m_firstArrayIndex);
  k = std::min(k, m_lastArrayIndex);
  m_arrayIndex = std::clamp(k, 0, m_arraySize - 1);
}

int CSpectrumData::GetVectorSize() const
{
  return m_vectorSize;
}
int CSpectrumData::GetArraySize() const
{
  return m_arraySize;
}
BOOL CSpectrumData::IsValid() const
{
  return m_valid;
}

// --- plain accessors

CString CSpectrumData::GetName() const
{
  return m_name;
}
void CSpectrumData::SetName(const wchar_t* name)
{
  m_name = name;
}
CString CSpectrumData::GetSpectrumType() const
{
  return m_spectrumType;
}
void CSpectrumData::SetSpectrumType(const wchar_t* type)
{
  m_spectrumType = type;
}
CString CSpectrumData::GetXLabel() const
{
  return m_xLabel;
}
void CSpectrumData::SetXLabel(const wchar_t* label)
{
  m_xLabel = label;
}
CString CSpectrumData::GetYLabel() const
{
  return m_yLabel;
}
void CSpectrumData::SetYLabel(const wchar_t* label)
{
  m_yLabel = label;
}
CString CSpectrumData::GetZLabel() const
{
  return m_zLabel;
}
void CSpectrumData::SetZLabel(const wchar_t* label)
{
  m_zLabel = label;
}
CString CSpectrumData::GetXUnits() const
{
  return m_xUnits;
}
void CSpectrumData::SetXUnits(const wchar_t* units)
{
  m_xUnits = units;
}
CString CSpectrumData::GetYUnits() const
{
  return m_yUnits;
}
void CSpectrumData::SetYUnits(const wchar_t* units)
{
  m_yUnits = units;
}
CString CSpectrumData::GetZUnits() const
{
  return m_zUnits;
}
void CSpectrumData::SetZUnits(const wchar_t* units)
{
  m_zUnits = units;
}
CString CSpectrumData::GetInfoText() const
{
  return m_infoText;
}
void CSpectrumData::SetInfoText(const wchar_t* text)
{
  m_infoText = text;
}
COLORREF CSpectrumData::GetTraceColour() const
{
  return m_colour;
}
void CSpectrumData::SetTraceColour(COLORREF colour)
{
  m_colour = colour;
}
int CSpectrumData::GetTraceLineWidth() const
{
  return m_lineWidth;
}
void CSpectrumData::SetTraceLineWidth(int width)
{
  m_lineWidth = width;
}
int CSpectrumData::GetTraceLineStyle() const
{
  return m_lineStyle;
}
void CSpectrumData::SetTraceLineStyle(int style)
{
  m_lineStyle = style;
}
float CSpectrumData::GetXPos() const
{
  return m_xPos;
}
void CSpectrumData::SetXPos(float x)
{
  m_xPos = x;
}
float CSpectrumData::GetYPos() const
{
  return m_yPos;
}
void CSpectrumData::SetYPos(float y)
{
  m_yPos = y;
}
float CSpectrumData::GetYOffset() const
{
  return m_yOffset;
}
void CSpectrumData::SetYOffset(float offset)
{
  m_yOffset = offset;
}
float CSpectrumData::GetYScale() const
{
  return m_yScale;
}

void CSpectrumData::SetYScale(float scale)
{
  if (scale != 0)
    m_yScale = scale;
}

float CSpectrumData::GetXLabelValue(int i) const
{
  return m_xLabelOffset + m_xLabelScaling * GetX(i);
}
float CSpectrumData::GetYLabelValue(int i) const
{
  return m_yLabelOffset + m_yLabelScaling * GetY(i);
}
float CSpectrumData::GetXLabelValueScaling() const
{
  return m_xLabelScaling;
}
float CSpectrumData::GetYLabelValueScaling() const
{
  return m_yLabelScaling;
}

void CSpectrumData::SetXLabelValueScaling(float scaling, float offset)
{
  m_xLabelOffset = offset;
  if (scaling != 0)
    m_xLabelScaling = scaling;
}

void CSpectrumData::SetYLabelValueScaling(float scaling, float offset)
{
  m_yLabelOffset = offset;
  if (scaling != 0)
    m_yLabelScaling = scaling;
}

float CSpectrumData::GetResolution() const
{
  return m_resolution;
}

float CSpectrumData::GetResolution(wchar_t* text) const
{
  if (text) {
    CString value;
    value.Format(L"%g", m_resolution);
    std::wcscpy(text, value.GetString()); // a non-negative float in %g needs at most 12 characters
  }
  return m_resolution;
}

void CSpectrumData::SetResolution(float resolution)
{
  m_resolution = resolution > 0 ? resolution : 0.0f;
}

void CSpectrumData::SetResolution(const wchar_t* text)
{
  SetResolution(text ? float(_wtof(text)) : 0.0f);
}

int CSpectrumData::IsAbsoluteIntensity() const
{
  return m_absoluteIntensity;
}
void CSpectrumData::SetAbsoluteIntensityFlag(int)
{
  m_absoluteIntensity = 1;
}
float CSpectrumData::GetFrequencySpectrumNoiseProbability() const
{
  return m_noiseProbability;
}

SSpectrumViewLimits CSpectrumData::GetViewLimits() const
{
  return m_viewLimits;
}
void CSpectrumData::SetViewLimits(SSpectrumViewLimits limits)
{
  m_viewLimits = limits;
}
