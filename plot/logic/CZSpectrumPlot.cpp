#include "CZSpectrumPlot.h"

#include <ZSpectrumData/CSpectrumData.h>

namespace {
const wchar_t* const kHoldName = L"Hold";
const wchar_t* const kAllName = L"all";
} // namespace

CZSpectrumPlot::CZSpectrumPlot() = default;

CZSpectrumPlot::~CZSpectrumPlot()
{
  // Not through the virtual slot: a derived class is already gone here.
  CZSpectrumPlot::ClearTraceList(false);
}

void CZSpectrumPlot::PostToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (m_notificationSink)
    m_notificationSink->PostNotification(message, wParam, lParam);
}

LRESULT CZSpectrumPlot::SendToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
  return m_notificationSink ? m_notificationSink->SendNotification(message, wParam, lParam) : 0;
}

void CZSpectrumPlot::NotifyTracesChanged()
{
  PostToParent(WM_SPECTRUM_TRACES_CHANGED, 0, 0);
  UpdateArraySlider();
}

bool CZSpectrumPlot::IsOwnedCopy(const CSpectrumData* data) const
{
  for (POSITION pos = m_ownedCopies.GetHeadPosition(); pos;)
    if (m_ownedCopies.GetNext(pos) == data)
      return true;
  return false;
}

void CZSpectrumPlot::TakeOutOfList(POSITION pos)
{
  CSpectrumData* data = m_traces.GetAt(pos);
  m_traces.RemoveAt(pos);
  m_scans.Forget(data);
  if (!m_traces.Find(data))
    m_overlayScales.erase(data);
  ReleaseIfUnlisted(data);
}

void CZSpectrumPlot::ReleaseIfUnlisted(CSpectrumData* data)
{
  if (data == m_beingAdded || m_traces.Find(data))
    return;
  POSITION owned = m_ownedCopies.Find(data);
  if (!owned)
    return;
  m_ownedCopies.RemoveAt(owned);
  delete data;
}

int CZSpectrumPlot::AddTrace(CSpectrumData* data, bool replaceSameName, bool keepCopy)
{
  if (!data)
    return GetTraceCount();
  if (data->GetName().IsEmpty())
    data->SetName(L"no name");
  if (keepCopy) {
    data = new CSpectrumData(data);
    m_ownedCopies.AddHead(data);
  }
  // A data set added again may have been changed in any way while it was out of the list.
  m_scans.Forget(data);

  // The first call recalculates the data set's limits.
  if (!m_xMaxFixed)
    m_xMax = data->GetXMax(true);
  if (!m_xMinFixed)
    m_xMin = data->GetXMin(false);
  if (!m_yMinFixed)
    m_yMin = data->GetYMin(false);
  if (!m_yMaxFixed)
    m_yMax = data->GetYMax(false);

  if (replaceSameName) {
    // The data set may itself be listed already, even as one of the owned copies: it leaves its
    // old place and comes back at the tail, it is never deleted.
    const CSpectrumData* outer = m_beingAdded;
    m_beingAdded = data;
    RemoveTrace(data->GetName(), true);
    m_beingAdded = outer;
  }
  const POSITION added = m_traces.AddTail(data);
  if (m_nameIndex)
    (*m_nameIndex)[data->GetName().Str()].push_back(added);
  InvalidatePlot(!replaceSameName);
  NotifyTracesChanged();
  return GetTraceCount();
}

void CZSpectrumPlot::IndexTraceNames()
{
  m_nameIndex.emplace();
  for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
    const POSITION here = pos;
    (*m_nameIndex)[m_traces.GetNext(pos)->GetName().Str()].push_back(here);
  }
}

void CZSpectrumPlot::RemoveTrace(CString name, bool keepHold)
{
  const bool all = name == kAllName;
  const bool hold = name == kHoldName;
  if (m_nameIndex && !all) {
    // Any name but "all" takes out every trace it matches, "Hold" too.
    const auto found = m_nameIndex->find(name.Str());
    if (found == m_nameIndex->end())
      return;
    const std::vector<POSITION> matches = std::move(found->second);
    m_nameIndex->erase(found);
    for (POSITION pos : matches) {
      TakeOutOfList(pos);
      NotifyTracesChanged();
    }
    return;
  }
  for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
    POSITION here = pos;
    CSpectrumData* data = m_traces.GetNext(pos);
    const CString traceName = data->GetName();
    if (!all && traceName.Compare(name) != 0)
      continue;
    const bool remove = hold || (all && !keepHold) || traceName != kHoldName;
    if (remove)
      TakeOutOfList(here);
    NotifyTracesChanged();
  }
  if (m_nameIndex)
    IndexTraceNames();
}

void CZSpectrumPlot::RemoveAllTraces(bool keepHold)
{
  RemoveTrace(kAllName, keepHold);
}

void CZSpectrumPlot::RemoveTracesAtPosition(float xPos, float yPos, const CString* type)
{
  for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
    POSITION here = pos;
    CSpectrumData* data = m_traces.GetNext(pos);
    if (data->GetXPos() == xPos && data->GetYPos() == yPos &&
        (!type || data->GetSpectrumType().Compare(*type) == 0)) {
      TakeOutOfList(here);
      NotifyTracesChanged();
    }
  }
}

void CZSpectrumPlot::RemoveTracesAt(float xPos, float yPos)
{
  RemoveTracesAtPosition(xPos, yPos, nullptr);
}

void CZSpectrumPlot::RemoveTraces(const wchar_t* type, float xPos, float yPos)
{
  const CString wanted(type);
  RemoveTracesAtPosition(xPos, yPos, &wanted);
}

void CZSpectrumPlot::ClearTraceList(bool)
{
  while (!m_traces.IsEmpty()) {
    CSpectrumData* data = m_traces.RemoveHead();
    ReleaseIfUnlisted(data);
  }
  // Copies that were never listed (none are made that way) would otherwise leak.
  while (!m_ownedCopies.IsEmpty())
    delete m_ownedCopies.RemoveHead();
  m_scans.Forget();
  m_overlayScales.clear();
  InvalidatePlot(true);
}

BOOL CZSpectrumPlot::BringTraceToFront(CString name)
{
  BOOL moved = FALSE;
  for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
    POSITION here = pos;
    CSpectrumData* data = m_traces.GetNext(pos);
    if (data->GetName().Compare(name) == 0) {
      m_traces.RemoveAt(here);
      m_traces.AddHead(data);
      moved = TRUE;
    }
  }
  return moved;
}

CSpectrumData* CZSpectrumPlot::FindTrace(CString name) const
{
  if (name.IsEmpty())
    return GetActiveTrace();
  for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
    CSpectrumData* data = m_traces.GetNext(pos);
    if (data->GetName().Compare(name) == 0)
      return data;
  }
  return nullptr;
}

void CZSpectrumPlot::SetActiveArrayIndex(int index)
{
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return;
  const int before = active->GetArrayIndex();
  active->SetArrayIndex(index);
  if (active->GetArrayIndex() != before)
    PostToParent(WM_SPECTRUM_TRACES_CHANGED, 0, 0);
}

bool CZSpectrumPlot::HasData() const
{
  if (m_showYTitle)
    return true;
  const CSpectrumData* active = GetActiveTrace();
  return active && active->GetArraySize() > 0;
}

void CZSpectrumPlot::UpdateMarker(CString label, float position, float width, COLORREF colour, BYTE shown,
                                  BYTE secondFlag, int tag)
{
  for (POSITION pos = m_markers.GetHeadPosition(); pos;) {
    SSpectrumMarker& marker = m_markers.GetNext(pos);
    if (marker.m_label.Compare(label) != 0)
      continue;
    marker.m_position = position;
    marker.m_width = width;
    marker.m_colour = colour;
    marker.m_shown = shown;
    marker.m_secondFlag = secondFlag;
    marker.m_tag = tag;
  }
}

void CZSpectrumPlot::SetXMin(float value)
{
  m_xMin = value;
  m_xMinFixed = true;
  PostToParent(WM_SPECTRUM_LIMITS_CHANGED, WPARAM(GetControlId()), 0);
}

void CZSpectrumPlot::SetXMax(float value)
{
  m_xMax = value;
  m_xMaxFixed = true;
}

void CZSpectrumPlot::SetXSpan(float span)
{
  // A span that is no finite number is not taken: the span is off, as for 0.
  m_xSpanOn = std::isfinite(span) && span > 0;
  m_xSpan = std::isfinite(span) ? span : 0.0f;
}

void CZSpectrumPlot::SetYMin(float value)
{
  m_yMin = value;
  m_yMinFixed = true;
  PostToParent(WM_SPECTRUM_LIMITS_CHANGED, WPARAM(GetControlId()), 1);
}

void CZSpectrumPlot::SetYMax(float value)
{
  m_yMax = value;
  m_yMaxFixed = true;
  PostToParent(WM_SPECTRUM_LIMITS_CHANGED, WPARAM(GetControlId()), 1);
}

void CZSpectrumPlot::SetFontSize(int points)
{
  m_fontSize = points <= 0 ? 12 : points;
  if (m_fontSize < 6)
    m_fontSize = 6;
}
