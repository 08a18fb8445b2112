#pragma once
// A liquid-crystal read-out: a row of character cells drawn as seven-segment digits,
// sixteen-segment characters or a dot matrix from a bitmap font, with the unlit segments faintly
// visible, a bevelled border, a glass highlight, blinking (timer 1) and a scrolling ticker
// (timer 2). It shows a number formatted from its value, or its window text in text mode.
#include "CGdiBorder.h"
#include "CIsiCompBase.h"
#include "CString.h"
#include "DotMatrixFont.h"
#include "LcdGeometry.h"
#include "LcdText.h"
#include "WindowTimers.h"

#include <wx/image.h>

class CIsiLcdDisplay : public CIsiCompBase {
public:
  static constexpr UINT_PTR kBlinkTimer = 1;
  static constexpr UINT_PTR kStepTimer = 2;

  CIsiLcdDisplay();
  ~CIsiLcdDisplay() override;

  virtual void CopySettings(const CIsiLcdDisplay& other);
  virtual void SetValue(double value);
  virtual double GetValue() const;
  virtual bool Create(const CString& text, long style, const RECT& rect, wxWindow* parent, UINT id);
  virtual CString GetDescription() const { return CString(); }
  virtual BOOL AcceptsValue(double /*value*/) const { return TRUE; }

  void SetTextMode(BOOL textMode);
  void SetScaleFactor(float scale);
  void SetDisplayMode(int mode);
  void SetStepPeriod(UINT milliseconds);
  void SetBlinkPeriod(UINT milliseconds);
  void SetHexMode(BOOL hexMode);
  // Cuts the dot-matrix font from a bitmap resource (or an image); false, and no font, when the
  // bitmap is missing or unfit.
  bool LoadDotMatrixFont(UINT bitmapId);
  bool LoadDotMatrixFont(const wxImage& bitmap);
  CGdiBorder& GetBorder() { return m_border; }

  BOOL GetTextMode() const { return m_textMode; }
  int GetDisplayMode() const { return m_displayMode; }
  UINT GetStepPeriod() const { return m_stepPeriod; }
  UINT GetBlinkPeriod() const { return m_blinkPeriod; }
  BOOL GetBlinkPhase() const { return m_blinkPhase; }
  int GetStepCounter() const { return m_stepCounter; }
  const SDotMatrixFont& GetDotMatrixFont() const { return m_font; }
  CWindowTimers& GetTimers() { return m_timers; }

  // Where the last background paint put the cells: their number, each cell's rectangle and the
  // geometry inside a cell, and the pixel at the middle of a segment (table column) of a cell.
  int GetCellCount() const { return m_cellCount; }
  RECT GetCellRect(int cell) const;
  const SLcdGeometry& GetGeometry() const { return m_geometry; }
  wxPoint GetSegmentCentre(int cell, int column) const;
  wxPoint GetDotCentre(int cell, int x, int y) const;

protected:
  BOOL PaintBackground(wxGraphicsContext& graphics, RECT* rect) override;
  void PaintContent(wxGraphicsContext& graphics, RECT* rect) override;
  void OnCreate() override;
  void OnTimer(UINT_PTR id);

  SLcdTextSettings TextSettings() const;
  // The cell count, storing the raised digits and decimals.
  int UpdateCellCount();
  COLORREF UnlitColour() const;
  COLORREF HighlightColour() const;
  void BuildShapes(wxGraphicsContext& graphics);
  void FillShape(wxGraphicsContext& graphics, ELcdShape shape, SLcdPoint at, COLORREF colour, bool shine);
  void DrawUnlitCell(wxGraphicsContext& graphics, int cell);
  void DrawLitCell(wxGraphicsContext& graphics, const SLcdCell& cell);
  void DrawGlare(wxGraphicsContext& graphics, const RECT& rect);
  void CellTransform(wxGraphicsContext& graphics, int cell);

  double m_minimum = 0;
  double m_maximum = 100;
  double m_value = 50;
  int m_digits = 4;
  int m_decimals = 0;
  BYTE m_glareAlpha = 100;
  int m_glareCornerDiameter = 5;
  COLORREF m_backColour = 0;
  BOOL m_transparent = FALSE;
  int m_displayMode = 0;
  UINT m_blinkPeriod = 0;
  BOOL m_blinkPhase = TRUE;
  BOOL m_hexMode = FALSE;
  BOOL m_textMode = FALSE;
  BOOL m_showUnlit = TRUE;
  BOOL m_showSign = FALSE;
  BOOL m_cellsVisible = TRUE;
  UINT m_stepPeriod = 0;
  int m_stepCounter = 0;
  float m_scaleFactor = 1.0f;
  COLORREF m_litColour = RGB(150, 0, 0);
  COLORREF m_unlitColour = 0;
  COLORREF m_highlightColour = 0;
  SLcdGeometry m_geometry;
  SDotMatrixFont m_font;
  // One outline and one inner outline (for the shine) per shape kind, and how far the inner
  // outline reaches from its centre (the radius of the shine's gradient).
  static constexpr int kShapeKinds = 7;
  wxGraphicsPath m_shapes[2 * kShapeKinds];
  float m_shineRadius[kShapeKinds] = {};
  bool m_shapesBuilt = false;
  CGdiBorder m_border;

private:
  CWindowTimers m_timers;
  RECT m_inside;
  int m_cellCount = 1;
  int m_cellWidth = 0;
};
