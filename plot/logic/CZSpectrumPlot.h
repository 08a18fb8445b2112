#pragma once
// The plot window without the window: its settings, the trace list with the copies it owns, the
// notifications to its parent, the axis limits, the layout of a paint and the pixel geometry of
// everything a paint draws. CZSpectrumWnd puts a window around it; tests drive it directly.
#include "AxisPageValues.h"
#include "PlotGeometry.h"
#include "PlotInteraction.h"
#include "PlotMenuModel.h"
#include "PlotNotifications.h"
#include "TraceScan.h"

#include <CList.h>
#include <CString.h>
#include <WinTypes.h>
#include <ZSpectrumData/SSpectrumMarker.h>

#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CArchive;
class CSpectrumData;

class CZSpectrumPlot {
public:
  using CTraceList = CList<CSpectrumData*, CSpectrumData*>;
  using CMarkerList = CList<SSpectrumMarker, const SSpectrumMarker&>;

  CZSpectrumPlot();
  virtual ~CZSpectrumPlot();
  CZSpectrumPlot(const CZSpectrumPlot&) = delete;
  CZSpectrumPlot& operator=(const CZSpectrumPlot&) = delete;

  // The receiver of the notifications (the parent window); none is set at construction.
  void SetNotificationSink(IPlotNotificationSink* sink) { m_notificationSink = sink; }
  bool HasNotificationSink() const { return m_notificationSink != nullptr; }

  // --- trace list. The head is the active trace. A trace added without keep-copy stays the
  // caller's, who keeps it alive while it is listed; with keep-copy the plot owns a copy.
  virtual void RemoveTraces(const wchar_t* type, float xPos, float yPos);
  virtual void RemoveTracesAt(float xPos, float yPos);
  // "all" matches every trace; traces named "Hold" survive unless the name is "Hold", or "all"
  // without keepHold.
  virtual void RemoveTrace(CString name, bool keepHold);
  virtual void RemoveAllTraces(bool keepHold);
  virtual void ClearTraceList(bool unused);
  // Returns the number of traces afterwards. An unnamed data set is named "no name", also the
  // caller's own object when a copy is kept.
  virtual int AddTrace(CSpectrumData* data, bool replaceSameName, bool keepCopy);
  virtual BOOL BringTraceToFront(CString name);
  virtual void SetActiveArrayIndex(int index);
  virtual bool HasData() const;
  // An empty name gives the active trace; otherwise the first trace of that name, or null.
  CSpectrumData* FindTrace(CString name) const;
  CSpectrumData* GetActiveTrace() const { return m_traces.IsEmpty() ? nullptr : m_traces.GetHead(); }
  const CTraceList& GetTraceList() const { return m_traces; }
  int GetTraceCount() const { return int(m_traces.GetCount()); }
  bool IsOwnedCopy(const CSpectrumData* data) const;
  // A paint keeps the limits and x order of each trace until its window, size or end points
  // change. Whoever changes points in place otherwise (a masked point, a value set in the
  // middle) calls this before the next paint; null means every trace.
  void TraceDataChanged(const CSpectrumData* data = nullptr) { m_scans.Forget(data); }

  // --- limits and steps
  // The axis limits for the next paint. Stored limits that are not fixed are updated; with no
  // trace, or an active trace without points, nothing changes.
  virtual void CalcLimits(float& xMin, float& xMax, float& yMin, float& yMax);
  // The X range the active trace shares with the traces that join it; false when there is none.
  bool GetCommonXRange(float& xMin, float& xMax);
  float PixelToX(int x, int y) const;
  float SnapToDataX(int x, int y) const;
  int GetIndexAtPoint(int x, int y) const;

  // --- layout of a paint
  virtual void CalcYLabelWidth(IPlotTextMeasure& measure);
  virtual void CalcLayout();
  // Fills the X and Y grid value lists from the limits and scales of the last paint.
  void CalcGridValues();
  // Limits, text sizes, steps, rectangles, scales and grid values of a paint of the area. band,
  // when given, is the part of the area the plot is cut from. False when there is no trace: the
  // paint then shows only the background and the empty-plot text.
  bool PrepareFrame(IPlotTextMeasure& measure, const RECT& area, const RECT* band);

  // --- what a prepared paint draws
  bool ShouldDrawTraces() const { return m_frameDrawsTraces; }
  RECT GetInnerPlotRect() const { return DeflatedRect(m_plotRect, 3, 3); }
  // Bottom left, up, right, down, back to the start.
  std::vector<POINT> FrameOutline() const;
  std::vector<SPlotText> PlotAreaTexts(IPlotTextMeasure& measure) const; // title, Z legend, info
  std::vector<SPlotSegment> TickMarks() const;
  std::vector<SPlotSegment> XGridLines() const;
  std::vector<SPlotSegment> YGridLines() const;
  std::vector<SPlotText> XAxisTexts(IPlotTextMeasure& measure) const;
  std::vector<SPlotText> YAxisTexts(IPlotTextMeasure& measure) const;
  std::vector<SPlotSegment> WindowMarkerLines() const;
  bool ZeroLine(SPlotSegment& line) const;
  // Tail to head, so that the active trace is drawn last, on top.
  std::vector<CSpectrumData*> TracesInDrawingOrder() const;
  void BuildTraceGeometry(CSpectrumData& trace, STraceGeometry& geometry) const;
  // The inner plot area with its last column and row, where X max and Y min fall: a trace flat
  // at the bottom of the range stays visible.
  // Empty where the window leaves no inner area (too small for its font or frame).
  RECT GetTraceClipRect() const
  {
    if (!HasTraceArea())
      return MakeRect(m_plotRect.left, m_plotRect.top, m_plotRect.left, m_plotRect.top);
    return MakeRect(m_plotRect.left + 3, m_plotRect.top + 3, m_plotRect.right - 2, m_plotRect.bottom - 2);
  }
  // Whether the plot rectangle of the last paint holds at least one pixel inside its 3-pixel rim.
  bool HasTraceArea() const { return RectWidth(m_plotRect) > 6 && RectHeight(m_plotRect) > 6; }
  RECT GetMarkerClipRect() const { return DeflatedRect(m_plotRect, 1, 1); }

  // Pixel of a value with the scales of the last paint (truncated, as the window always had it).
  int XToPixel(float x) const;
  int YToPixel(float y) const;
  float XPixelOf(float x) const;

  // --- markers of the window itself
  CMarkerList& GetMarkerList() { return m_markers; }
  void UpdateMarker(CString label, float position, float width, COLORREF colour, BYTE shown, BYTE secondFlag,
                    int tag);

  // --- mouse and keys. The window turns its events into these calls, which change the
  // interaction state, notify the parent and invalidate; they draw nothing themselves.
  void LButtonDown(UINT flags, POINT point);
  void MouseMove(UINT flags, POINT point);
  void LButtonUp(UINT flags, POINT point);
  // False when only the default handling runs (no trace, or keys the wheel has no mode for).
  bool MouseWheel(UINT flags, int delta);
  // Ctrl: automatic X limits again; Ctrl+Shift: automatic Y limits. False without Ctrl.
  bool LButtonDblClk(UINT flags);
  // The cursor the key shows at once, or None when the key shows none.
  EPlotMouseCursor KeyDown(EPlotKey key, bool controlDown, bool shiftDown);
  EPlotMouseCursor KeyUp(EPlotKey key);
  // The cursor of the interaction state, which UpdateMouseCursor sets.
  EPlotMouseCursor MouseCursorShape() const;
  // The cursor lines, value boxes and zoom band over the picture of the last paint.
  SCursorOverlay CursorOverlay(IPlotTextMeasure& measure) const;
  void SetCursorIndex(int index) { m_cursorIndex = index; }
  POINT GetCrosshairPoint() const { return m_crosshair; }
  const RECT& GetZoomRect() const { return m_zoomRect; } // left/top the start, right/bottom the end
  bool IsZooming() const { return m_zooming; }
  bool IsMarkerHovered() const { return m_markerHovered; }
  bool IsMarkerDragging() const { return m_markerDragging; }

  // --- settings. Each stores its value; none redraws.
  void SetTitle(CString title) { m_title = title; }
  CString GetTitle() const { return m_title; }
  void SetEmptyPlotText(CString text) { m_emptyPlotText = text; }
  CString GetEmptyPlotText() const { return m_emptyPlotText; }
  void SetXLabel(CString label) { m_xLabel = label; }
  CString GetXLabel() const { return m_xLabel; }
  void SetYLabel(CString label) { m_yLabel = label; }
  CString GetYLabel() const { return m_yLabel; }
  void SetXMin(float value);
  void SetXMax(float value);
  void SetXMaxAuto(bool automatic) { m_xMaxFixed = !automatic; }
  void SetXSpan(float span);
  void SetYMin(float value);
  void SetYMax(float value);
  void SetXMinAuto(bool automatic) { m_xMinFixed = !automatic; }
  void SetYMinAuto(bool automatic) { m_yMinFixed = !automatic; }
  void SetYMaxAuto(bool automatic) { m_yMaxFixed = !automatic; }
  float GetXMin() const { return m_xMin; }
  float GetXMax() const { return m_xMax; }
  float GetYMin() const { return m_yMin; }
  float GetYMax() const { return m_yMax; }
  bool IsXMinFixed() const { return m_xMinFixed; }
  bool IsXMaxFixed() const { return m_xMaxFixed; }
  bool IsYMinFixed() const { return m_yMinFixed; }
  bool IsYMaxFixed() const { return m_yMaxFixed; }
  float GetXSpan() const { return m_xSpan; }
  bool IsXSpanOn() const { return m_xSpanOn; }
  // A floor or ceiling that is no finite number is refused: the one before stays.
  void SetXMaxFloor(float floor, bool on)
  {
    if (!std::isfinite(floor))
      return;
    m_xMaxFloor = floor;
    m_xMaxFloorOn = on;
  }
  void SetYMinCeiling(float ceiling, bool on)
  {
    if (!std::isfinite(ceiling))
      return;
    m_yMinCeiling = ceiling;
    m_yMinCeilingOn = on;
  }
  void SetXRounding(float step, bool on)
  {
    m_xRoundingStep = step;
    m_roundXToStep = on;
  }
  void SetYRounding(float step, bool on)
  {
    m_yRoundingStep = step;
    m_roundYToStep = on;
  }
  void SetLimitsFromAllTraces(bool all) { m_limitsFromAllTraces = all; }
  void SetScaleOverlapped(bool on, float centreWavelength)
  {
    m_scaleOverlapped = on;
    m_centreWavelength = centreWavelength;
  }
  void SetLogY(bool logY) { m_logY = logY; }
  bool GetLogY() const { return m_logY; }
  void SetAutoScaleAll(bool on) { m_autoScaleAll = on; }
  void SetMatchOrigin(bool on) { m_matchOrigin = on; }
  void SetShowXGrid(bool on) { m_showXGrid = on; }
  void SetShowYGrid(bool on) { m_showYGrid = on; }
  void SetShowXTitle(bool on) { m_showXTitle = on; }
  void SetShowYTitle(bool on) { m_showYTitle = on; }
  void SetShowXTicks(bool on) { m_showXTicks = on; }
  void SetShowYTicks(bool on) { m_showYTicks = on; }
  void SetShowXTickLabels(bool on) { m_showXTickLabels = on; }
  void SetShowYTickLabels(bool on) { m_showYTickLabels = on; }
  void SetShowInfo(bool on) { m_showInfo = on; }
  void SetXTitleInline(bool on) { m_xTitleInline = on; }
  // The layout switches that the settings archive carries.
  void SetTitleSwitches(bool xTitle, bool useWindowXLabel, bool yTitle, bool useWindowYLabel,
                        bool yTitleBesideLabels)
  {
    m_xTitleSwitch = xTitle;
    m_useWindowXLabel = useWindowXLabel;
    m_yTitleSwitch = yTitle;
    m_useWindowYLabel = useWindowYLabel;
    m_yTitleBesideLabels = yTitleBesideLabels;
  }
  void SetColours(COLORREF background, COLORREF plot)
  {
    m_backColour = background;
    m_plotColour = plot;
  }
  COLORREF GetBackgroundColour() const { return m_backColour; }
  COLORREF GetPlotColour() const { return m_plotColour; }
  bool AllowCut(bool allow)
  {
    m_allowCut = allow;
    return allow;
  }
  void AllowHold(bool allow) { m_allowHold = allow; }
  void AllowMasking(bool allow) { m_allowMasking = allow; }
  void AllowPaste(bool allow) { m_allowPaste = allow; }
  void AllowSettings(bool allow) { m_allowSettings = allow; }
  bool IsCutAllowed() const { return m_allowCut; }
  bool IsHoldAllowed() const { return m_allowHold; }
  bool IsMaskingAllowed() const { return m_allowMasking; }
  bool IsPasteAllowed() const { return m_allowPaste; }
  bool IsSettingsAllowed() const { return m_allowSettings; }
  // 0 or less gives 12 points; never below 6.
  void SetFontSize(int points);
  int GetFontSize() const { return m_fontSize; }

  // --- context-menu commands. Each tells the parent which command ran; the redraw at once that
  // masking wants is the window's. Those that need a trace or a cursor point do nothing without
  // one and return false.
  bool IsHoldPresent() const { return m_holdPresent; }
  SPlotMenuState MenuState(bool canPaste) const;
  // An owned copy of the active trace named "Hold", replacing an earlier one.
  bool HoldActiveTrace();
  bool ClearHold();
  // Masking is switched on with the first masked point.
  bool MaskCursorPoint();
  bool UnMaskCursorPoint();
  bool SwitchMasking();
  // The Settings sheet's pages, filled from the plot and taken back after OK. A limit whose
  // automatic box is ticked keeps its value until the next limit computation replaces it.
  void GetAxisPageValues(SXAxisPageValues& x, SYAxisPageValues& y);
  void ApplyAxisPageValues(const SXAxisPageValues& x, const SYAxisPageValues& y);

  // --- archives. Storing writes settings version 4 and the owned copies; loading takes settings
  // versions 1 to 4 and traces version 1. A damaged archive throws CArchiveException and leaves
  // the plot as it was.
  virtual void SerializeSettings(CArchive& ar);
  virtual void SerializeTraces(CArchive& ar);

  // --- state of the last paint
  const RECT& GetPlotRect() const { return m_plotRect; }
  const RECT& GetXLabelRect() const { return m_xLabelRect; }
  const RECT& GetYLabelRect() const { return m_yLabelRect; }
  float GetXPixelsPerUnit() const { return m_xPixelsPerUnit; }
  float GetYPixelsPerUnit() const { return m_yPixelsPerUnit; }
  int GetXOriginPixel() const { return m_xOriginPixel; }
  int GetYOriginPixel() const { return m_yOriginPixel; }
  float GetXGridStep() const { return m_xGridStep; }
  float GetYGridStep() const { return m_yGridStep; }
  int GetXGridSpacing() const { return m_xGridSpacing; }
  int GetYGridSpacing() const { return m_yGridSpacing; }
  const CList<float, float>& GetXTickValues() const { return m_xTickValues; }
  const CList<float, float>& GetYTickValues() const { return m_yTickValues; }
  // The limits the last paint drew with: the stored limits, rounded when rounding is on.
  float GetDrawnXMin() const { return m_drawnXMin; }
  float GetDrawnXMax() const { return m_drawnXMax; }
  float GetDrawnYMin() const { return m_drawnYMin; }
  float GetDrawnYMax() const { return m_drawnYMax; }
  int GetCursorIndex() const { return m_cursorIndex; }

protected:
  // The parent's part of the notifications; nothing happens without a sink.
  void PostToParent(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);
  // What the window adds: its control id, its invalidation and its array slider.
  virtual int GetControlId() const { return 0; }
  virtual void InvalidatePlot(bool /*erase*/) {}
  virtual void UpdateArraySlider() {}
  // Only what lies over the picture changed: the cursor, its boxes or the zoom band.
  virtual void InvalidateOverlay() {}
  // Repaints at once where the window can; otherwise as soon as it may.
  virtual void RedrawNow() { InvalidatePlot(true); }
  virtual void TakeFocus() {}

  // The first trace with points becomes the active trace when the active one has none. Returns
  // the active trace, or null when there is none or it has no points.
  CSpectrumData* PromoteTraceWithPoints();
  bool JoinsLimits(CSpectrumData* trace) const;
  // Joins and has points to join with.
  bool WidensLimits(CSpectrumData* trace) const;
  void TakeOutOfList(POSITION pos);
  // Deletes an owned copy once no node of the trace list holds it any more.
  void ReleaseIfUnlisted(CSpectrumData* data);
  bool IsXWindowFixed() const { return m_xMinFixed || m_xMaxFixed; }
  // The limits of the data set within the fixed X window, or of all of it when no X limit is
  // fixed.
  const STraceScan& LimitScan(CSpectrumData& trace);
  // Limits and x order of the whole data set, from the last pass over its points.
  const STraceScan& ScanOf(CSpectrumData& trace) const;
  // The point of the data set nearest to x, in whatever order its x values come: a search where
  // they rise, a pass over the points otherwise.
  int NearestPoint(CSpectrumData& trace, float x) const;
  CString XTitleText() const;
  // A short stroke pointing at each found peak of the data set's current array entry.
  void AddPeakStrokes(CSpectrumData& trace, STraceGeometry& geometry) const;
  // geometry.points and runStarts from the trace's points.
  void BuildTracePath(CSpectrumData& trace, STraceGeometry& geometry) const;
  // The x of each found peak under the X axis, in the trace's colour on a background box.
  void AddPeakLabels(CSpectrumData& active, IPlotTextMeasure& measure, std::vector<SPlotText>& texts) const;
  // A box of that width moved back between the plot's left and right edges.
  LONG LeftInsidePlot(LONG left, LONG width) const;
  CString YTitleText() const;

  // The window's properties
  bool m_logY = false;
  bool m_showXTitle = true;
  bool m_showYTitle = true;
  bool m_scaleOverlapped = false;
  int m_fullRange = 1;
  float m_xPixelsPerUnit = 1.0f;
  float m_yPixelsPerUnit = 1.0f;
  // The same scales in double, as the paint maps with them: over a span near the float range, or
  // one of a few floats, the float scale would round to 0 or overflow.
  double m_xPixelScale = 1.0, m_yPixelScale = -1.0;
  float m_xMin = 0, m_xMax = 0, m_yMin = 0, m_yMax = 0;
  int m_xOriginPixel = 0;
  int m_yOriginPixel = 0;
  float m_centreWavelength = 0;
  float m_wavelengthRange = 0;
  CTraceList m_traces;
  CTraceList m_ownedCopies;
  CMarkerList m_markers;
  CMarkerList m_secondMarkers;
  IPlotNotificationSink* m_notificationSink = nullptr;
  int m_cursorIndex = -1;
  RECT m_plotRect{};
  RECT m_xLabelRect{};
  RECT m_yLabelRect{};
  CString m_emptyPlotText;
  CString m_title;
  bool m_xMinFixed = false, m_xMaxFixed = false, m_yMinFixed = false, m_yMaxFixed = false;
  float m_xRoundingStep = 0, m_yRoundingStep = 0;
  float m_xMaxFloor = 0, m_yMinCeiling = 0;
  float m_xSpan = 0;
  bool m_roundXToStep = false, m_roundYToStep = false, m_xMaxFloorOn = false, m_yMinCeilingOn = false;
  bool m_xSpanOn = false;
  bool m_holdPresent = false;
  bool m_allowSettings = true, m_allowHold = true, m_allowPaste = false, m_allowCut = false;
  bool m_autoScaleAll = false;
  bool m_matchOrigin = false;
  int m_fontSize = 0;
  bool m_showXGrid = false, m_showXTickLabels = false, m_showYTickLabels = false, m_showYGrid = true;
  CList<float, float> m_xTickValues;
  CList<float, float> m_yTickValues;
  bool m_xTitleInline = true;
  int m_xGridSpacing = 60;
  int m_yGridSpacing = 40;
  COLORREF m_backColour = 0xFFFFFF;
  COLORREF m_plotColour = 0xFFFFFF;
  CString m_xLabel;
  CString m_yLabel;
  bool m_xTitleSwitch = true, m_useWindowXLabel = false;
  bool m_yTitleSwitch = true, m_useWindowYLabel = false, m_yTitleBesideLabels = false;
  bool m_xTitlePresent = false, m_yTitlePresent = false;
  bool m_showInfo = false;
  bool m_showXTicks = false, m_showYTicks = false;
  bool m_allowMasking = true;
  bool m_limitsFromAllTraces = true;
  // Stored and restored by the settings archive; nothing else reads them.
  bool m_reservedSwitch1 = false, m_reservedSwitch2 = false, m_reservedSwitch3 = false;
  bool m_reservedSwitch4 = true, m_reservedSwitch5 = false, m_reservedSwitch6 = false;

  // What the paint stores for the grid computation and the label drawing
  float m_xGridStep = 0, m_yGridStep = 0;
  float m_xLabelScaling = 1.0f;
  float m_xLabelOffset = 0; // changed by nothing, as it always was
  bool m_keepXTickStep = false, m_keepYTickStep = false;
  float m_drawnXMin = 0, m_drawnXMax = 0, m_drawnYMin = 0, m_drawnYMax = 0;
  bool m_frameDrawsTraces = false;

  // Interaction state
  POINT m_dragStart{-1, -1};
  RECT m_zoomRect{-1, -1, -1, -1};
  bool m_zooming = false;
  POINT m_crosshair{-1, -1};
  bool m_markerHovered = false;
  bool m_markerDragging = false;
  POSITION m_hoveredMarker = nullptr;
  bool m_mouseInPlot = false;
  bool m_ctrlHeld = false, m_ctrlShiftHeld = false, m_shiftHeld = false;

private:
  void NotifyTracesChanged();
  void HoverMarkers(POINT point);
  void ZoomDrag(POINT point);
  void TrackCursor(POINT point);
  // The hovered marker, while its node is still in the window's marker list.
  SSpectrumMarker* HoveredMarker();
  // A copy of the hovered marker at the column's x, put into the list and handed to the parent.
  void MoveHoveredMarker(int x, bool dropped);
  void CycleTraces(bool forward);
  void ZoomX(bool in);
  void ZoomY(bool in);
  void StepArrayIndex(bool forward);
  int CursorColumn() const;
  int CursorRow() const;
  // Every trace at that position, and of that type when one is given, leaves the list with a
  // notification of its own.
  void RemoveTracesAtPosition(float xPos, float yPos, const CString* type);

  // While AddTrace replaces traces of the same name, the data set being added is not deleted
  // even when it is one of the owned copies.
  const CSpectrumData* m_beingAdded = nullptr;
  // The listed traces by name, in list order, while the traces archive loads: replacing by name
  // then finds its matches without a walk over the list for each of thousands of adds. Names can
  // change at any time outside the load, so otherwise there is none and the list is walked.
  std::optional<std::unordered_map<std::wstring, std::vector<POSITION>>> m_nameIndex;
  void IndexTraceNames();
  mutable CTraceScanCache m_scans;

  // The active trace draws with its own Y scale and offset: not a non-finite one, and not one
  // that this plot gave it while it was another trace's overlay (the values written are kept here
  // to tell them from the data set's own).
  void SettleActiveScale(CSpectrumData& active);
  void SetOverlayScale(CSpectrumData& trace, float scale, float offset);
  // The range of the values a paint draws for the trace (DrawnY) in its limit scan, in double;
  // false when it draws none.
  bool DrawnYRange(CSpectrumData& trace, const STraceScan& source, double& lo, double& hi);
  std::unordered_map<const CSpectrumData*, std::pair<float, float>> m_overlayScales;
};

// Inline: a paint maps a few values for each of a trace's points.
// In double: x - X min of limits near the float range passes it.
inline float CZSpectrumPlot::XPixelOf(float x) const
{
  return HeldPixelValue((double(x) - m_drawnXMin) * m_xPixelScale + m_xOriginPixel);
}

inline int CZSpectrumPlot::XToPixel(float x) const
{
  return SnappedPixelOf(XPixelOf(x));
}

inline int CZSpectrumPlot::YToPixel(float y) const
{
  return SnappedPixelOf(HeldPixelValue((double(y) - m_drawnYMin) * m_yPixelScale + m_yOriginPixel));
}
