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
  if (m_created)
    Refresh(false);
}

void CZSpectrumWnd::OnPaint(wxPaintEvent&)
{
  wxPaintDC dc(this);
  if (!m_plotFont)
    SetPlotFont(nullptr);
  const wxSize size = GetClientSize();
  const bool pictureHolds = m_overlayPending && !m_fullPaintPending && m_plotBitmap.IsOk() &&
                            m_plotBitmap.GetWidth() == size.x && m_plotBitmap.GetHeight() == size.y &&
                            m_pictureStamp == PictureStamp();
  m_overlayPending = m_fullPaintPending = false;
  if (pictureHolds) {
    RepaintOverlay(dc);
  } else {
    Draw(dc, nullptr);
  }
  UpdateMouseCursor();
}

void CZSpectrumWnd::RepaintOverlay(wxDC& dc)
{
  dc.DrawBitmap(m_plotBitmap, 0, 0);
  DrawCursor(dc);
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
