#pragma once
// The plot window: a child window that draws CSpectrumData traces against common axes. The plot's
// logic is CZSpectrumPlot; this class adds the window, the plot font, the notifications as wx
// events to the parent and the drawing with a wxDC.
//
// A paint builds the whole picture in a cached bitmap and copies it to the screen once; the
// cursor is drawn over the copy. Moving it repaints only the strips and boxes the overlay covered
// before and covers after, from the bitmap, with the overlay over them.
#include "CZSpectrumEvent.h"
#include "CZSpectrumPlot.h"
#include "KeptPicture.h"
#include "OverlayArea.h"

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/cursor.h>
#include <wx/font.h>
#include <wx/graphics.h>
#include <wx/region.h>
#include <wx/window.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class wxContextMenuEvent;
class wxDC;

class CZSpectrumWnd : public wxWindow, public CZSpectrumPlot {
public:
  // A caller's own entry in the context menu: its command goes to the target window.
  struct UserMenuItem {
    UINT commandId = 0;
    UINT stringId = 0;
    wxWindow* target = nullptr;
    BOOL checked = FALSE;
  };

  // No window yet: Create or CreateInPlaceOf makes it.
  CZSpectrumWnd();
  ~CZSpectrumWnd() override;

  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0);
  // Takes the place, size and tab position of the parent's placeholder control, whose id it takes
  // over, and destroys the placeholder; then the plot font at 11 points. style and exStyle are wx
  // window styles (a sunken border where the dialog asked for a client edge).
  BOOL CreateInPlaceOf(UINT placeholderId, wxWindow* parent, long style, long exStyle);

  // With a font: that font, and its size becomes the font size. With null: the default plot font
  // at the current font size.
  void SetPlotFont(const wxFont* font);
  // May be null; drawing then uses the DC's font.
  virtual wxFont* GetPlotFont() { return m_plotFont.get(); }

  // The whole paint into the cached bitmap, copied to dc at the area's top left. With a window the
  // area is the client area and rect (when given) the band the plot is cut from; without one, rect
  // is the area.
  virtual void Draw(wxDC& dc, const RECT* rect);
  virtual void DrawBackground(wxDC& dc, const RECT* rect);
  // The cursor lines, value boxes and zoom band over the copied picture. GTK has no XOR drawing:
  // every paint copies the cached picture and draws this over it again.
  virtual void DrawCursor(wxDC& dc);
  virtual void DrawYAxis(wxDC& dc);
  virtual void DrawXAxis(wxDC& dc);
  virtual void DrawTraces(wxDC& dc);

  // Sizes of the texts measured with one font.
  struct CTextSizes {
    long fontKey = -1;
    std::unordered_map<std::wstring, SIZE> sizes;
  };

  // The picture of the last paint.
  const wxBitmap& GetPlotBitmap() const { return m_plotBitmap; }

  // --- context menu and clipboard
  // The owner's own context-menu entries, shown after the built-in ones in list order; the window
  // itself never adds to them.
  CList<UserMenuItem, const UserMenuItem&>& GetUserMenuItems() { return m_userMenuItems; }
  // A chosen menu command: a user item's command is sent to its target first (unless that is this
  // window), then the window's own handling of the id runs.
  void OnCommand(UINT commandId);
  void OnEditCopy();
  // Copies, and only after a successful copy removes the active trace (a hold copy is spared).
  void OnEditCut();
  void OnEditPaste();
  void OnCopyAll();
  void OnSettings();
  void OnHold();
  void OnClearHold();
  void OnMask();
  void OnEnableMasking();
  void OnUnMask();
  // Whether the clipboard holds text that Paste takes.
  bool CanPaste();
  // What a cursor move costs: where the overlay lay before the moves since the last paint and where
  // it lies now, copied to dc from the picture of the last paint with the overlay over it. The
  // window's own paint does this for the region the toolkit hands it.
  void RepaintOverlay(wxDC& dc);

  // The mouse cursor of the interaction state; a cursor that could not be made is not set.
  void UpdateMouseCursor();

protected:
  int GetControlId() const override { return GetId(); }

  CList<UserMenuItem, const UserMenuItem&> m_userMenuItems;
  void InvalidatePlot(bool erase) override;
  // Shows the entries as a pop-up at the point (client coordinates) and returns the command id
  // chosen, 0 for none.
  virtual UINT TrackPopupMenu(const std::vector<SPlotMenuEntry>& entries, const wxPoint& point);
  void InvalidateOverlay() override;
  void TakeFocus() override;

private:
  // The notifications go to the parent window's event handler.
  class ParentNotifier : public IPlotNotificationSink {
  public:
    explicit ParentNotifier(CZSpectrumWnd& window) : m_window(window) {}
    void PostNotification(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendNotification(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    CZSpectrumWnd& m_window;
  };

  void OnPaint(wxPaintEvent& event);
  void BindMenuCommands();
  void OnContextMenu(wxContextMenuEvent& event);
  // A chosen menu command, held back while a Paste waits.
  void RunChosenCommand(UINT commandId);
  // False when the clipboard could not be opened or took no text (the latter is reported).
  bool CopyToClipboard(const CString& text);
  void RedrawNow() override;
  // The mouse and key handlers (CZSpectrumWndMouse.cpp), bound when the window is made.
  void BindMouseAndKeys();
  void OnLButtonDown(wxMouseEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnLButtonUp(wxMouseEvent& event);
  void OnMouseWheel(wxMouseEvent& event);
  void OnLButtonDblClk(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void ShowCursor(EPlotMouseCursor shape);
  // What the cached picture was painted from; a paint for the overlay alone repaints the whole
  // picture when this has changed since (points added while the cursor moved).
  size_t PictureStamp() const;
  void SelectPlotFont(wxDC& dc);
  // The picture copied to dc inside region, the overlay drawn over it there.
  void RepaintRegion(wxDC& dc, const wxRegion& region);
  // Ten times the advance of each printable ASCII character in one font, the line height, and
  // what an empty text measures.
  struct SCharWidths {
    long fontKey = -1;
    std::array<int, 95> tenfold{};
    int height = 0;
    SIZE empty{};
  };
  // The overlay's text sizes, summed from m_charWidths without a DC: a value box holds a new
  // number at every move, and laying each one out only to measure it cost as much as drawing it.
  class CharWidthMeasure : public IPlotTextMeasure {
  public:
    explicit CharWidthMeasure(CZSpectrumWnd& window) : m_window(window) {}
    SIZE MeasureText(const CString& text) override;

  private:
    CZSpectrumWnd& m_window;
  };
  // The widths are measured once per font on a bitmap of their own; a text of other characters is
  // measured whole there.
  SIZE MeasureWithOwnDc(const CString& text);
  // A brush that sets every other pixel in the colour, for dotted upright lines.
  const wxBrush& DotBrush(COLORREF colour);
  void DrawDottedLine(wxDC& dc, const SPlotSegment& segment);
  // The overlay's dotted lines, those of one colour next to each other.
  void DrawOverlayDots(wxDC& dc, const SPlotSegment* dots, size_t count);
  // A value box's text, placed by the overlay's own measures, straight through the graphics context.
  void DrawOverlayText(wxDC& dc, const SPlotText& text);
  // The DC's font in a colour, made once for the graphics context's renderer.
  const wxGraphicsFont& OverlayFont(wxGraphicsContext& gc, const wxFont& font, COLORREF colour);
  void DrawDottedLines(wxDC& dc, const std::vector<SPlotSegment>& segments);
  // An axis band with its labels, drawn from its kept picture while the labels stay the same.
  struct SBandPicture {
    wxBitmap bitmap;
    long fontKey = -1;
    COLORREF back = 0;
    RECT band{}, area{};
    std::vector<SPlotText> texts;
  };
  void DrawBand(wxDC& dc, SBandPicture& picture, const RECT& band, std::vector<SPlotText> texts,
                IPlotTextMeasure& measure);
  // What everything under the traces is drawn from: background, frame, texts, ticks, axis
  // labels and grid. A paint whose chrome equals the last one's writes back the kept picture of it
  // rather than filling, stroking and laying out all of it again.
  struct SChrome {
    RECT area{}, background{}, plotRect{}, xBand{}, yBand{};
    COLORREF back = 0, plot = 0;
    long fontKey = -1;
    bool xAxis = false, yAxis = false;
    std::vector<POINT> frame;
    std::vector<SPlotText> texts, xTexts, yTexts;
    std::vector<SPlotSegment> ticks, xGrid, yGrid;
  };
  SChrome ChromeOf(IPlotTextMeasure& measure, const RECT& area, const RECT* rect);
  static bool SameChrome(const SChrome& a, const SChrome& b);
  void DrawChrome(wxDC& dc, const SChrome& chrome, IPlotTextMeasure& measure, const RECT* rect);
  // Names the plot font at its size, for the kept text sizes and band pictures.
  long FontKey() const;
  // With the DC's pen, through the window's reused point buffer.
  void DrawPolyline(wxDC& dc, const POINT* points, size_t count);
  // The polylines of m_geometry's trace; a solid one-pixel line straight into the bitmap.
  void DrawTraceLine(wxDC& dc);
  RECT ClientArea() const;

  ParentNotifier m_parentNotifier{*this};
  std::unique_ptr<wxFont> m_plotFont;
  wxBitmap m_plotBitmap;
  std::vector<wxPoint> m_pointBuffer;
  STraceGeometry m_geometry;
  CTextSizes m_textSizes;
  std::map<COLORREF, wxBrush> m_dotBrushes;
  wxBrush m_backBrush; // under the value boxes
  std::map<COLORREF, wxGraphicsBrush> m_overlayDotBrushes;
  SBandPicture m_xBand, m_yBand;
  SChrome m_chrome;             // what the last paint drew under its traces
  CKeptPicture m_chromePicture; // that picture, once it came out the same twice
  long m_fontGeneration = 0;
  wxFont m_sizedFont;
  long m_sizedFontKey = -1;
  bool m_created = false;
  bool m_overlayPending = false, m_fullPaintPending = false;
  size_t m_pictureStamp = 0;
  SOverlayArea m_overlayShown; // as the last paint drew it
  wxRegion m_overlayDirty;     // what the moves since the last paint ask to repaint
  SCharWidths m_charWidths;
  CharWidthMeasure m_overlayMeasure{*this};
  std::map<COLORREF, wxGraphicsFont> m_overlayFonts; // the plot font in each colour
  long m_overlayFontKey = -1;
  wxCursor m_markerCursor, m_arrowCursor, m_zoomCursor, m_yZoomCursor;
  // While Paste waits for another program's text the window stays live, but a menu command chosen
  // meanwhile runs only after that Paste, not inside it.
  bool m_pasteWaits = false;
  std::vector<UINT> m_afterPaste;

  wxDECLARE_EVENT_TABLE();
};
