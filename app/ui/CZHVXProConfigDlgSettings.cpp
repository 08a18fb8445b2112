// Loading and saving the trace and action definitions as a settings file.
#include "CZHVXProConfigDlg.h"

void CZHVXProConfigDlg::OnLoadSettings() {}

void CZHVXProConfigDlg::OnSaveSettings() {}
