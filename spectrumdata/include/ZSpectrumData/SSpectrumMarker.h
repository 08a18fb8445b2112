#pragma once
// A vertical marker line on a data set. The plot window walks, draws and drags these in place in
// the list that CSpectrumData::GetVerticalMarkerList returns.
#include "ZSpectrumDataApi.h"

#include <CString.h>
#include <WinTypes.h>

class CArchive;

struct ZSPECTRUMDATA_API SSpectrumMarker {
  SSpectrumMarker();
  SSpectrumMarker(const SSpectrumMarker&) = default;
  SSpectrumMarker& operator=(const SSpectrumMarker& other);

  // int 1, shown, colour, position, width, label. A record that does not start with 1 is left
  // unread and the marker keeps its values. The second flag and the tag are not archived.
  void Serialize(CArchive& ar);

  BYTE m_shown;
  float m_position; // x units
  float m_width;    // x units; the plot window turns it into a pen width
  COLORREF m_colour;
  CString m_label; // the name the marker is found and removed by
  BYTE m_secondFlag;
  int m_tag;
};
