#pragma once
// The read-out as the program's dialogs use it: a display text of its own, and setters that
// repaint only what changed.
#include "CIsiLcdDisplay.h"

class CZLCDDisplay : public CIsiLcdDisplay {
public:
  CZLCDDisplay();

  void SetValue(double value) override;
  virtual void SetText(const CString& text);
  virtual void SetShowSign(BOOL showSign);
  virtual void SetSegmentColour(COLORREF lit, COLORREF unlit, COLORREF highlight);
  virtual void SetDigits(int digits, int decimals, BOOL redraw);
  COLORREF GetSegmentColour() const { return m_litColour; }
  const CString& GetText() const { return m_displayText; }

protected:
  void PaintContent(wxGraphicsContext& graphics, RECT* rect) override;

private:
  CString m_displayText;
};
