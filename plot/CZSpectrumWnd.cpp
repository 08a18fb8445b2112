#include "CZSpectrumWnd.h"

#include <wx/dcclient.h>

wxBEGIN_EVENT_TABLE(CZSpectrumWnd, wxWindow) EVT_PAINT(CZSpectrumWnd::OnPaint) wxEND_EVENT_TABLE()

    CZSpectrumWnd::CZSpectrumWnd() = default;

CZSpectrumWnd::~CZSpectrumWnd()
{
  // Nothing may reach the parent from a window that is going away; the sink is a member, gone
  // before the plot's own destructor clears the trace list.
  SetNotificationSink(nullptr);
}

bool CZSpectrumWnd::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                           long style)
{
  // The paint covers every pixel from the cached bitmap; an erase first would only flicker.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxWindow::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE))
    return false;
  m_created = true;
  SetNotificationSink(parent ? &m_parentNotifier : nullptr);
  BindMenuCommands();
  BindMouseAndKeys();
  return true;
}

BOOL CZSpectrumWnd::CreateInPlaceOf(UINT placeholderId, wxWindow* parent, long style, long exStyle)
{
  if (!parent)
    return FALSE;
  // Found before the new window exists, which will carry the same id.
  wxWindow* placeholder = parent->FindWindow(int(placeholderId));
  if (!Create(parent, wxWindowID(placeholderId), wxPoint(0, 0), wxSize(0, 0), style | exStyle))
    return FALSE;
  if (placeholder && placeholder != this) {
    const wxPoint origin = parent->ScreenToClient(placeholder->GetScreenPosition());
    SetSize(wxRect(origin, placeholder->GetSize()));
    MoveAfterInTabOrder(placeholder);
    SetHelpText(placeholder->GetHelpText());
    placeholder->Destroy();
  }
  Show();
  SetFontSize(11);
  SetPlotFont(nullptr);
  return TRUE;
}

void CZSpectrumWnd::SetPlotFont(const wxFont* font)
{
  std::unique_ptr<wxFont> created;
  if (font && font->IsOk()) {
    m_fontSize = font->GetPointSize();
    created = std::make_unique<wxFont>(*font);
  } else {
    // The Windows face of this font has no counterpart here; the system's sans face stands in.
    created =
        std::make_unique<wxFont>(wxFontInfo(m_fontSize > 0 ? m_fontSize : 12).Family(wxFONTFAMILY_SWISS));
  }
  m_plotFont = created->IsOk() ? std::move(created) : nullptr;
  ++m_fontGeneration;
  if (m_plotFont)
    m_fontSize = m_plotFont->GetPointSize();
}

void CZSpectrumWnd::InvalidatePlot(bool erase)
{
  m_fullPaintPending = true;
  if (m_created)
    Refresh(erase);
}

void CZSpectrumWnd::InvalidateOverlay()
{
  m_overlayPending = true;
  const bool pictureHolds = !m_fullPaintPending && m_plotBitmap.IsOk() && m_pictureStamp == PictureStamp() &&
                            (!m_created || (m_plotBitmap.GetWidth() == GetClientSize().x &&
                                            m_plotBitmap.GetHeight() == GetClientSize().y));
  if (!pictureHolds) {
    // Points added while the cursor moved: the whole picture is painted again.
    if (m_created)
      Refresh(false);
    return;
  }
  // Where the overlay lay and where it lies now; the rest of the screen keeps the picture.
  const SOverlayArea now =
      m_traces.IsEmpty() ? SOverlayArea() : OverlayAreaOf(CursorOverlay(m_overlayMeasure), m_overlayMeasure);
  for (const SOverlayArea* area : {static_cast<const SOverlayArea*>(&m_overlayShown), &now})
    for (int i = 0; i < area->count; ++i) {
      const RECT& r = area->rects[size_t(i)];
      const wxRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
      m_overlayDirty.Union(rect);
      if (m_created)
        RefreshRect(rect, false);
    }
}

void CZSpectrumWnd::OnPaint(wxPaintEvent&)
{
  wxPaintDC dc(this);
  if (!m_plotFont)
    SetPlotFont(nullptr);
  const wxSize size = GetClientSize();
  const bool pictureChanged = m_pictureStamp != PictureStamp();
  const bool pictureHolds = m_overlayPending && !m_fullPaintPending && m_plotBitmap.IsOk() &&
                            m_plotBitmap.GetWidth() == size.x && m_plotBitmap.GetHeight() == size.y &&
                            !pictureChanged;
  m_overlayPending = m_fullPaintPending = false;
  const wxRegion& update = GetUpdateRegion();
  const bool wholeWindow = update.Contains(wxRect(size)) == wxInRegion;
  if (pictureHolds) {
    RepaintRegion(dc, update);
    // The overlay moved after its place was invalidated (a cursor set without a move): the part the
    // toolkit clipped away comes in the next paint.
    for (int i = 0; i < m_overlayShown.count; ++i) {
      const RECT& r = m_overlayShown.rects[size_t(i)];
      // The toolkit's region ends at the window's edge, which a widened strip may pass.
      const wxRect rect = wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top).Intersect(wxRect(size));
      if (!wholeWindow && !rect.IsEmpty() && update.Contains(rect) != wxInRegion) {
        m_overlayPending = true;
        RefreshRect(rect, false);
      }
    }
  } else {
    Draw(dc, nullptr);
    // Only a few strips reached the screen of a picture that has changed since.
    if (pictureChanged && !wholeWindow) {
      m_overlayPending = true;
      Refresh(false);
    }
  }
  m_overlayDirty.Clear();
  UpdateMouseCursor();
}

void CZSpectrumWnd::RepaintOverlay(wxDC& dc)
{
  if (!m_overlayDirty.IsEmpty())
    RepaintRegion(dc, m_overlayDirty);
  m_overlayDirty.Clear();
}

void CZSpectrumWnd::RepaintRegion(wxDC& dc, const wxRegion& region)
{
  dc.SetDeviceClippingRegion(region);
  dc.DrawBitmap(m_plotBitmap, 0, 0);
  DrawCursor(dc);
  dc.DestroyClippingRegion();
}

void CZSpectrumWnd::ParentNotifier::PostNotification(UINT message, WPARAM wParam, LPARAM lParam)
{
  wxWindow* parent = m_window.GetParent();
  if (!parent)
    return;
  // No event object: a queued event may outlive the plot window, as a posted message could.
  wxQueueEvent(parent->GetEventHandler(),
               new CZSpectrumEvent(wxEventType(message), m_window.GetId(), wParam, lParam));
}

LRESULT CZSpectrumWnd::ParentNotifier::SendNotification(UINT message, WPARAM wParam, LPARAM lParam)
{
  wxWindow* parent = m_window.GetParent();
  if (!parent)
    return 0;
  CZSpectrumEvent event(wxEventType(message), m_window.GetId(), wParam, lParam);
  event.SetEventObject(&m_window);
  parent->GetEventHandler()->ProcessEvent(event);
  return event.GetResult();
}
