#include "ServoSelection.h"

bool IsNewControlBoard(int firmwareNumber, bool eepromError, bool serialAnswered, const CString& serial)
{
  if (firmwareNumber <= 792 || eepromError || !serialAnswered || serial.IsEmpty())
    return false;
  return serial.Right(8) == L"-0000001" || serial.GetLength() != 16;
}

bool NeedsModelSelection(int firmwareNumber, int modelId)
{
  return (firmwareNumber < 794 && modelId == 3) || modelId < 0;
}

CString MainWindowTitle(int major, int minor, int revision, int build)
{
  CString title;
  title.Format(L"Brantor HVX PRO Config - Version %d Release %d Build %d for Firmware v%d ", major, minor,
               revision, build);
  return title;
}
