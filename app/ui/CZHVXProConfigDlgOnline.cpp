// The on-line version check and the compatibility table behind the Firmware Update and Help
// buttons' pictures.
#include "CZHVXProConfigDlg.h"

// No table yet: the buttons keep their off-line look.
bool CZHVXProConfigDlg::CheckOnlineForNewVersion()
{
  return false;
}

void CZHVXProConfigDlg::UpdateFirmwareButtonImage() {}
