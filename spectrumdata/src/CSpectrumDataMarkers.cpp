#include "ZSpectrumData/CSpectrumData.h"

namespace {

bool HasLabel(const SSpectrumMarker& marker, const wchar_t* label)
{
  return marker.m_label == (label ? label : L"");
}

} // namespace

void CSpectrumData::AddVerticalMarker(const wchar_t* label, float position, float width, COLORREF colour,
                                      bool shown)
{
  SSpectrumMarker marker;
  marker.m_label = label;
  marker.m_position = position;
  marker.m_width = width;
  marker.m_colour = colour;
  marker.m_shown = shown ? 1 : 0;
  m_verticalMarkers.AddTail(marker);
}

SSpectrumMarker CSpectrumData::GetVerticalMarker(const wchar_t* label) const
{
  for (POSITION pos = m_verticalMarkers.GetHeadPosition(); pos;) {
    const SSpectrumMarker& marker = m_verticalMarkers.GetNext(pos);
    if (HasLabel(marker, label))
      return marker;
  }
  return SSpectrumMarker();
}

SSpectrumMarker CSpectrumData::RemoveVerticalMarker(const wchar_t* label)
{
  SSpectrumMarker removed;
  for (POSITION pos = m_verticalMarkers.GetHeadPosition(); pos;) {
    POSITION at = pos;
    const SSpectrumMarker& marker = m_verticalMarkers.GetNext(pos);
    if (HasLabel(marker, label)) {
      removed = marker;
      m_verticalMarkers.RemoveAt(at);
    }
  }
  return removed;
}

void CSpectrumData::ClearVerticalMarkers()
{
  m_verticalMarkers.RemoveAll();
}

CSpectrumMarkerList& CSpectrumData::GetVerticalMarkerList()
{
  return m_verticalMarkers;
}
