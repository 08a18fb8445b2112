// The plot window's mouse and key handlers: each turns its event into the plot's interaction
// calls and sets the mouse cursor; the plot changes its state and invalidates, nothing is drawn
// here.
#include "CZSpectrumWnd.h"

namespace {
UINT MouseFlags(const wxMouseEvent& event)
{
  UINT flags = 0;
  if (event.LeftIsDown())
    flags |= MK_LBUTTON;
  if (event.ControlDown())
    flags |= MK_CONTROL;
  if (event.ShiftDown())
    flags |= MK_SHIFT;
  return flags;
}

POINT PointOf(const wxMouseEvent& event)
{
  return POINT{event.GetX(), event.GetY()};
}

EPlotKey KeyOf(const wxKeyEvent& event)
{
  switch (event.GetKeyCode()) {
  case WXK_CONTROL:
    return EPlotKey::Control;
  case WXK_SHIFT:
    return EPlotKey::Shift;
  default:
    return EPlotKey::Other;
  }
}
} // namespace

void CZSpectrumWnd::BindMouseAndKeys()
{
  m_markerCursor = wxCursor(wxCURSOR_SIZEWE);
  m_arrowCursor = wxCursor(wxCURSOR_ARROW);
  m_zoomCursor = wxCursor(wxCURSOR_MAGNIFIER);
  m_yZoomCursor = wxCursor(wxCURSOR_SIZENS);
  Bind(wxEVT_LEFT_DOWN, &CZSpectrumWnd::OnLButtonDown, this);
  Bind(wxEVT_MOTION, &CZSpectrumWnd::OnMouseMove, this);
  Bind(wxEVT_LEFT_UP, &CZSpectrumWnd::OnLButtonUp, this);
  Bind(wxEVT_MOUSEWHEEL, &CZSpectrumWnd::OnMouseWheel, this);
  Bind(wxEVT_LEFT_DCLICK, &CZSpectrumWnd::OnLButtonDblClk, this);
  Bind(wxEVT_KEY_DOWN, &CZSpectrumWnd::OnKeyDown, this);
  Bind(wxEVT_KEY_UP, &CZSpectrumWnd::OnKeyUp, this);
}

void CZSpectrumWnd::TakeFocus()
{
  if (m_created)
    SetFocus();
}

void CZSpectrumWnd::OnLButtonDown(wxMouseEvent& event)
{
  LButtonDown(MouseFlags(event) | MK_LBUTTON, PointOf(event));
  event.Skip();
}

void CZSpectrumWnd::OnMouseMove(wxMouseEvent& event)
{
  MouseMove(MouseFlags(event), PointOf(event));
  UpdateMouseCursor();
  event.Skip();
}

void CZSpectrumWnd::OnLButtonUp(wxMouseEvent& event)
{
  // The button is no longer down once it is released, whatever the toolkit's state says.
  LButtonUp(MouseFlags(event) & ~MK_LBUTTON, PointOf(event));
  event.Skip();
}

void CZSpectrumWnd::OnMouseWheel(wxMouseEvent& event)
{
  if (!MouseWheel(MouseFlags(event), event.GetWheelRotation()))
    event.Skip();
}

void CZSpectrumWnd::OnLButtonDblClk(wxMouseEvent& event)
{
  LButtonDblClk(MouseFlags(event));
  event.Skip();
}

void CZSpectrumWnd::OnKeyDown(wxKeyEvent& event)
{
  ShowCursor(KeyDown(KeyOf(event), event.ControlDown(), event.ShiftDown()));
  event.Skip();
}

void CZSpectrumWnd::OnKeyUp(wxKeyEvent& event)
{
  ShowCursor(KeyUp(KeyOf(event)));
  event.Skip();
}

void CZSpectrumWnd::UpdateMouseCursor()
{
  ShowCursor(MouseCursorShape());
}

void CZSpectrumWnd::ShowCursor(EPlotMouseCursor shape)
{
  const wxCursor* cursor = nullptr;
  switch (shape) {
  case EPlotMouseCursor::Arrow:
    cursor = &m_arrowCursor;
    break;
  case EPlotMouseCursor::Marker:
    cursor = &m_markerCursor;
    break;
  case EPlotMouseCursor::Zoom:
    cursor = &m_zoomCursor;
    break;
  case EPlotMouseCursor::YZoom:
    cursor = &m_yZoomCursor;
    break;
  case EPlotMouseCursor::None:
    break;
  }
  if (m_created && cursor && cursor->IsOk())
    SetCursor(*cursor);
}
