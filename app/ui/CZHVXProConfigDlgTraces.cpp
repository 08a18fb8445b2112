// The live traces: the eight trace boxes with their 500 ms samplers, the pause button and the
// plot's time set-up. A sample's work (placeholders, query lines, expression) is SampleTraceQuery.
#include "AppImages.h"
#include "CCustomTraceQueryEditorDlg.h"
#include "CZHVXProConfigDlg.h"
#include "CZSpectrumWnd.h"
#include "EvaluationBudget.h"
#include "MainDialogIds.h"
#include "MessageBoxTypes.h"
#include "ServoReply.h"
#include "StatusReadouts.h"
#include "TraceQuery.h"

#include "WinTime.h"

#include <wx/stattext.h>
#include <wx/tglbtn.h>

namespace {
constexpr const wchar_t* kTimeLabel = L"Time (sec)";
constexpr float kFirstXWindow = 30.0f;
constexpr float kXSpan = 1200.0f;
constexpr COLORREF kPlotBackground = 0x393939;
} // namespace

void CZHVXProConfigDlg::SetupPlot()
{
  // Cleared the first time it shows time after it showed something else (calibration results).
  if (m_plot->GetXLabel() != kTimeLabel)
    m_plot->RemoveAllTraces(true);
  m_plot->SetTitle(L"");
  m_plot->SetXMax(kFirstXWindow);
  m_plot->SetXSpan(kXSpan);
  m_plot->SetXLabel(kTimeLabel);
  m_plot->SetShowXGrid(true);
  m_plot->SetShowYGrid(true);
  m_plot->SetAutoScaleAll(true);
  m_plot->SetShowYTitle(true);
  m_plot->SetXTitleInline(false);
  m_plot->SetShowXTicks(true);
  m_plot->SetShowXTickLabels(true);
  m_plot->SetShowYTicks(true);
  m_plot->SetShowYTickLabels(true);
  m_plot->SetShowXTitle(true);
  m_plot->SetColours(kPlotBackground, kPlotBackground);
  m_plot->AllowSettings(false);
  m_plot->AllowHold(false);
  m_plot->AllowMasking(false);
  m_plot->AllowPaste(true);
  m_plot->AllowCut(true);
}

void CZHVXProConfigDlg::OnTraceToggle(int trace)
{
  SetupPlot();
  const BOOL kept = m_traceOn[trace];
  UpdateData(true);
  if (m_ctrlDown) {
    m_traceOn[trace] = kept;
    m_ctrlDown = 0;
    EditTrace(trace);
  } else if (!IsServoSelected()) {
    // Unchecked again; a sampler left running from before would go on sampling nothing.
    m_traceOn[trace] = FALSE;
    SwitchTrace(trace, false);
  } else {
    SwitchTrace(trace, m_traceOn[trace] != FALSE);
  }
  UpdateControls();
}

void CZHVXProConfigDlg::SwitchTrace(int trace, bool on)
{
  const CString title = ButtonCaption(kTraceBoxIds[trace]);
  const UINT_PTR timer = kFirstTraceTimer + UINT_PTR(trace);
  if (on) {
    TraceServo(m_currentId);
    m_traceData[trace].SetName(title);
    m_traceData[trace].SetYLabel(title);
    m_plot->AddTrace(&m_traceData[trace], true, false);
    m_plot->BringTraceToFront(title);
    SetTimer(timer, kTracePeriodMs);
    m_timeBase.Start(GetTickCount());
  } else {
    KillTimer(timer);
    m_plot->RemoveTrace(title, true);
  }
  m_plot->Refresh(true);
  m_plot->Update();
}

void CZHVXProConfigDlg::EditTrace(int trace)
{
  CCustomTraceQueryEditorDlg editor;
  if (!EditScript(editor, m_profile.traceTitle[trace], m_profile.traceCommand[trace], kTraceBoxIds[trace]))
    return;
  RenameRunningTrace(trace);
  WriteProfile();
}

// The plot finds a running trace by its name when it is switched off: a new title must reach the
// data set, or the trace would stay in the plot for good.
void CZHVXProConfigDlg::RenameRunningTrace(int trace)
{
  if (!m_traceOn[trace])
    return;
  m_traceData[trace].SetName(m_profile.traceTitle[trace]);
  m_traceData[trace].SetYLabel(m_profile.traceTitle[trace]);
}

void CZHVXProConfigDlg::OnTracePause()
{
  SetupPlot();
  UpdateData(true);
  if (m_pause)
    m_timeBase.Pause(GetTickCount());
  else
    m_timeBase.Resume(GetTickCount());
  SetPauseImage();
  UpdateControls();
}

void CZHVXProConfigDlg::SetPauseImage()
{
  const wxBitmap image = LoadAppBitmap(m_pause ? kResumeImage : kPauseImage);
  auto* button = dynamic_cast<wxAnyButton*>(FindWindow(IDC_PAUSE));
  if (image.IsOk() && button)
    button->SetBitmap(image);
}

std::optional<CString> CZHVXProConfigDlg::SendTraceQueryLine(const CString& line)
{
  if (m_port.Transact(line) != CHVXProControlPort::StatusSuccess)
    return std::nullopt;
  return ServoReplyValueText(m_port.GetLastCommand(), m_port.GetLastReply());
}

void CZHVXProConfigDlg::SampleTrace(int trace)
{
  // Without a servo there is nothing to ask: "#-1QD" would be sent and read as a value.
  if (m_pause || !IsServoSelected())
    return;
  const STraceSample sample =
      SampleTraceQuery(m_profile.traceCommand[trace], m_currentId,
                       [this](const CString& line) { return SendTraceQueryLine(line); });
  if (sample.overBudget) {
    // It would take as long at every tick and hold the window: the trace is switched off, and the
    // log says which one it was.
    ShowTraceReadout(trace, sample.readout);
    m_traceOn[trace] = FALSE;
    if (auto* box = dynamic_cast<wxToggleButton*>(FindWindow(kTraceBoxIds[trace])))
      box->SetValue(false);
    SwitchTrace(trace, false);
    CString line;
    line.Format(L"The trace \"%s\" was stopped: its expression took %u ms to evaluate, more than %u ms.",
                ButtonCaption(kTraceBoxIds[trace]).GetString(), unsigned(sample.evaluationMs),
                unsigned(kMaxEvaluationMs));
    LogLine(line);
    UpdateControls();
    return;
  }
  if (sample.plotted) {
    const double x = m_timeBase.SampleX(GetTickCount());
    m_traceData[trace].AddPoint(float(x), float(sample.value), 0);
    // The first 30 s stay in view as a whole; after that the axis follows the newest sample.
    if (x > kFirstXWindow)
      m_plot->SetXMaxAuto(true);
    else
      m_plot->SetXMax(kFirstXWindow);
  }
  ShowTraceReadout(trace, sample.readout);
  if (sample.plotted) {
    m_plot->Refresh(true);
    m_plot->Update();
  }
}

void CZHVXProConfigDlg::ShowTraceReadout(int trace, const CString& text)
{
  m_traceReadoutText[trace] = text;
  if (auto* readout = dynamic_cast<wxStaticText*>(FindWindow(kTraceReadoutIds[trace]));
      readout && readout->GetLabel() != text.GetString())
    readout->SetLabel(text.GetString());
}
