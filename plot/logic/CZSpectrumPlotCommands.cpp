#include "CZSpectrumPlot.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <memory>

namespace {
const wchar_t* const kHoldName = L"Hold";
constexpr COLORREF kHoldColour = RGB(100, 100, 200);
} // namespace

SPlotMenuState CZSpectrumPlot::MenuState(bool canPaste) const
{
  SPlotMenuState state;
  state.traceCount = GetTraceCount();
  state.holdPresent = m_holdPresent;
  state.hasCursorPoint = m_cursorIndex != -1;
  state.canPaste = canPaste;
  state.allowCut = m_allowCut;
  state.allowHold = m_allowHold;
  state.allowMasking = m_allowMasking;
  state.allowPaste = m_allowPaste;
  state.allowSettings = m_allowSettings;
  if (const CSpectrumData* active = GetActiveTrace()) {
    state.activeIsOwnedCopy = IsOwnedCopy(active);
    state.cursorPointMasked = state.hasCursorPoint && active->IsMasked(m_cursorIndex);
    state.maskEnabled = active->MaskEnabled();
  }
  return state;
}

bool CZSpectrumPlot::HoldActiveTrace()
{
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return false;
  auto hold = std::make_unique<CSpectrumData>(active);
  hold->SetName(kHoldName);
  hold->SetTraceColour(kHoldColour);
  AddTrace(hold.get(), true, true);
  m_holdPresent = true;
  PostToParent(WM_SPECTRUM_MENU_COMMAND, WPARAM(GetControlId()), ID_SPECTRUM_HOLD);
  return true;
}

bool CZSpectrumPlot::ClearHold()
{
  if (!m_holdPresent)
    return false;
  RemoveTrace(kHoldName, false);
  InvalidatePlot(false);
  m_holdPresent = false;
  PostToParent(WM_SPECTRUM_MENU_COMMAND, WPARAM(GetControlId()), ID_SPECTRUM_CLEAR_HOLD);
  return true;
}

bool CZSpectrumPlot::MaskCursorPoint()
{
  CSpectrumData* active = GetActiveTrace();
  if (!active || m_cursorIndex == -1)
    return false;
  active->Mask(m_cursorIndex, true);
  active->EnableMask(true);
  TraceDataChanged(active);
  PostToParent(WM_SPECTRUM_MENU_COMMAND, WPARAM(GetControlId()), ID_SPECTRUM_MASK);
  PostToParent(WM_SPECTRUM_MENU_COMMAND, WPARAM(GetControlId()), ID_SPECTRUM_ENABLE_MASKING);
  return true;
}

bool CZSpectrumPlot::UnMaskCursorPoint()
{
  CSpectrumData* active = GetActiveTrace();
  if (!active || m_cursorIndex == -1)
    return false;
  active->Mask(m_cursorIndex, false);
  TraceDataChanged(active);
  PostToParent(WM_SPECTRUM_MENU_COMMAND, WPARAM(GetControlId()), ID_SPECTRUM_UNMASK);
  return true;
}

bool CZSpectrumPlot::SwitchMasking()
{
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return false;
  active->EnableMask(!active->MaskEnabled());
  PostToParent(WM_SPECTRUM_MENU_COMMAND, WPARAM(GetControlId()), ID_SPECTRUM_ENABLE_MASKING);
  return true;
}

void CZSpectrumPlot::GetAxisPageValues(SXAxisPageValues& x, SYAxisPageValues& y)
{
  x.m_autoMin = !m_xMinFixed;
  x.m_min = m_xMin;
  x.m_max = m_xMax;
  x.m_autoMax = !m_xMaxFixed;
  x.m_showGrid = m_showXGrid;

  y.m_autoMin = !m_yMinFixed;
  y.m_min = m_yMin;
  y.m_max = m_yMax;
  y.m_autoMax = !m_yMaxFixed;
  y.m_autoScaleAll = m_autoScaleAll;
  y.m_matchOrigin = m_matchOrigin;
  y.m_showGrid = m_showYGrid;
  y.m_logScale = m_logY;
  y.m_fullRange = m_fullRange != 0;
  y.m_scaleOverlapped = m_scaleOverlapped;
  if (m_fullRange) {
    float xMin = 0, xMax = 0;
    y.m_centreWavelength = 0;
    y.m_wavelengthRange = 0;
    if (GetCommonXRange(xMin, xMax)) {
      y.m_centreWavelength = (xMin + xMax) * 0.5f;
      y.m_wavelengthRange = xMax - xMin;
    }
  } else {
    y.m_centreWavelength = m_centreWavelength;
    y.m_wavelengthRange = m_wavelengthRange;
  }
}

void CZSpectrumPlot::ApplyAxisPageValues(const SXAxisPageValues& x, const SYAxisPageValues& y)
{
  m_xMinFixed = !x.m_autoMin;
  if (m_xMinFixed)
    SetXMin(x.m_min);
  m_xMaxFixed = !x.m_autoMax;
  if (m_xMaxFixed)
    SetXMax(x.m_max);
  SetShowXGrid(x.m_showGrid == 1);

  m_yMinFixed = !y.m_autoMin;
  if (m_yMinFixed)
    SetYMin(y.m_min);
  m_yMaxFixed = !y.m_autoMax;
  if (m_yMaxFixed)
    SetYMax(y.m_max);
  SetShowYGrid(y.m_showGrid == 1);
  SetAutoScaleAll(y.m_autoScaleAll == 1);
  SetMatchOrigin(y.m_matchOrigin == 1);
  SetLogY(y.m_logScale == 1);
  m_centreWavelength = y.m_centreWavelength;
  m_wavelengthRange = y.m_wavelengthRange;
  m_scaleOverlapped = y.m_scaleOverlapped != 0;
  m_fullRange = y.m_fullRange != 0;
  InvalidatePlot(true);
}
