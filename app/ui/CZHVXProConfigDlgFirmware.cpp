// The firmware update through the servo's bootloader (timer 10).
#include "CZHVXProConfigDlg.h"

void CZHVXProConfigDlg::OnFirmwareUpdate() {}

void CZHVXProConfigDlg::StepFirmwareWriter() {}
