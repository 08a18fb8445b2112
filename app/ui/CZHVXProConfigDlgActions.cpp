// The eight custom action buttons.
#include "CZHVXProConfigDlg.h"

void CZHVXProConfigDlg::RunCustomAction(int /*action*/) {}
