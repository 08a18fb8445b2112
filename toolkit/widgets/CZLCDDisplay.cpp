#include "CZLCDDisplay.h"

CZLCDDisplay::CZLCDDisplay()
{
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    MarkDirty();
    event.Skip();
    Refresh(false);
  });
}

void CZLCDDisplay::SetText(const CString& text)
{
  m_displayText = text;
  // The sign cell comes and goes with text mode, so switching it redraws the background.
  if (!m_textMode)
    SetTextMode(TRUE);
  // Held at once, so that a caller comparing the window text sees the new one before a paint.
  SetWindowText(text);
  if (GetHandle())
    Refresh(false);
}

void CZLCDDisplay::SetValue(double value)
{
  if (m_textMode)
    SetTextMode(FALSE);
  m_value = value;
  if (GetHandle()) {
    Refresh(true);
    Refresh(false);
  }
}

void CZLCDDisplay::SetShowSign(BOOL showSign)
{
  if ((showSign != FALSE) == (m_showSign != FALSE))
    return;
  m_showSign = showSign;
  MarkDirty();
  if (GetHandle())
    Refresh(true);
}

void CZLCDDisplay::SetSegmentColour(COLORREF lit, COLORREF unlit, COLORREF highlight)
{
  if (lit == m_litColour && unlit == m_unlitColour && highlight == m_highlightColour)
    return;
  m_litColour = lit;
  m_unlitColour = unlit;
  m_highlightColour = highlight;
  MarkDirty();
  if (GetHandle())
    Refresh(true);
}

void CZLCDDisplay::SetDigits(int digits, int decimals, BOOL redraw)
{
  if (digits == m_digits && decimals == m_decimals)
    return;
  m_digits = digits;
  m_decimals = decimals;
  if (redraw && GetHandle()) {
    MarkDirty();
    Refresh(true);
  }
}

void CZLCDDisplay::PaintContent(wxGraphicsContext& graphics, RECT* rect)
{
  if (m_textMode)
    SetWindowText(m_displayText);
  CIsiLcdDisplay::PaintContent(graphics, rect);
}
