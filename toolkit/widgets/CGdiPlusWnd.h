#pragma once
// A window that paints without flicker in two layers: a background drawn once into a cached
// bitmap and drawn again only when the window is marked dirty, and a content layer drawn over a
// copy of it on every paint. The window's text is held here, not by the toolkit.
#include "CString.h"
#include "MemDC.h"
#include "WinTypes.h"

#include <cwchar>
#include <memory>

#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/window.h>

template <class TWnd = wxWindow> class CGdiPlusWnd : public TWnd {
public:
  CGdiPlusWnd()
  {
    this->SetBackgroundStyle(wxBG_STYLE_PAINT);
    this->Bind(wxEVT_PAINT, &CGdiPlusWnd::OnPaintEvent, this);
    this->Bind(wxEVT_SIZE, &CGdiPlusWnd::OnSizeOrMove, this);
    this->Bind(wxEVT_MOVE, &CGdiPlusWnd::OnSizeOrMove, this);
    this->Bind(wxEVT_ERASE_BACKGROUND, [](wxEraseEvent&) {});
  }

  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0, const wxString& name = wxPanelNameStr)
  {
    if (!TWnd::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE, name))
      return false;
    m_dirty = TRUE;
    OnCreate();
    return true;
  }

  // Draws the static part and may shrink the rectangle to the area left for the content.
  virtual BOOL PaintBackground(wxGraphicsContext& /*graphics*/, RECT* /*rect*/)
  {
    m_dirty = FALSE;
    return TRUE;
  }
  virtual void PaintContent(wxGraphicsContext& graphics, RECT* rect) = 0;

  // One paint on any context: the background layer when dirty, then the content over it.
  void Paint(wxDC& target)
  {
    const wxSize size = this->GetClientSize();
    const RECT client{0, 0, std::max(size.x, 1), std::max(size.y, 1)};
    if (m_dirty || !m_background.IsOk() || m_background.GetWidth() != client.right ||
        m_background.GetHeight() != client.bottom) {
      {
        MemDC memory(&target, client, true, &m_offscreen);
        std::unique_ptr<wxGraphicsContext> graphics(NewGraphics(memory));
        m_rect = client;
        if (graphics)
          PaintBackground(*graphics, &m_rect);
      }
      m_background = m_offscreen.GetSubBitmap(wxRect(0, 0, client.right, client.bottom));
      m_dirty = FALSE;
    }
    MemDC memory(&target, client, false, &m_offscreen);
    memory.DrawBitmap(m_background, 0, 0);
    std::unique_ptr<wxGraphicsContext> graphics(NewGraphics(memory));
    if (!graphics)
      return;
    if (m_rect.left != 0 || m_rect.top != 0)
      graphics->Translate(m_rect.left, m_rect.top);
    RECT rect = m_rect;
    PaintContent(*graphics, &rect);
  }

  // What the window would show now, painted into a bitmap of its client size.
  wxBitmap PaintToBitmap()
  {
    const wxSize size = this->GetClientSize();
    wxBitmap bitmap(std::max(size.x, 1), std::max(size.y, 1), 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(wxBrush(BackdropColour()));
      dc.Clear();
      Paint(dc);
    }
    return bitmap;
  }

  void SetWindowText(const CString& text)
  {
    if (text == m_text)
      return;
    m_text = text;
    if (m_redrawBackgroundOnText)
      m_dirty = TRUE;
    if (this->GetHandle())
      this->Refresh(true);
  }
  CString GetWindowText() const { return m_text; }
  // Copies the text into a buffer of `size` characters, cut to fit with its terminating zero;
  // returns the number of characters copied.
  int GetWindowText(wchar_t* buffer, int size) const
  {
    if (!buffer || size <= 0)
      return 0;
    const int count = std::min(m_text.GetLength(), size - 1);
    std::wmemcpy(buffer, m_text.GetString(), size_t(count));
    buffer[count] = L'\0';
    return count;
  }
  int GetWindowTextLength() const { return m_text.GetLength(); }
  void SetLabel(const wxString& label) override { SetWindowText(CString(label.wc_str())); }
  wxString GetLabel() const override { return wxString(m_text.GetString()); }

  void MarkDirty() { m_dirty = TRUE; }
  BOOL IsDirty() const { return m_dirty; }
  void SetRedrawBackgroundOnText(BOOL redraw) { m_redrawBackgroundOnText = redraw; }

protected:
  // The window exists now; derived classes start what lives with the window (timers).
  virtual void OnCreate() {}

  BOOL m_dirty = TRUE;
  RECT m_rect;

private:
  static wxGraphicsContext* NewGraphics(wxMemoryDC& dc)
  {
    wxGraphicsContext* graphics = wxGraphicsContext::Create(dc);
    if (graphics)
      graphics->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    return graphics;
  }

  wxColour BackdropColour() const
  {
    const wxWindow* parent = this->GetParent();
    return parent ? parent->GetBackgroundColour() : this->GetBackgroundColour();
  }

  void OnPaintEvent(wxPaintEvent&)
  {
    wxPaintDC dc(this);
    // What a transparent widget shows through where it draws nothing.
    dc.SetBackground(wxBrush(BackdropColour()));
    Paint(dc);
  }

  void OnSizeOrMove(wxEvent& event)
  {
    m_dirty = TRUE;
    event.Skip();
  }

  wxBitmap m_background;
  wxBitmap m_offscreen;
  CString m_text;
  BOOL m_redrawBackgroundOnText = FALSE;
};
