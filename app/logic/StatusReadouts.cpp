#include "StatusReadouts.h"

#include "CLocale.h"

#include <cmath>

ETimerRole TimerRole(UINT_PTR timerId)
{
  if (timerId == kStatusPollTimer)
    return ETimerRole::StatusPoll;
  if (timerId >= kFirstTraceTimer && timerId <= kLastTraceTimer)
    return ETimerRole::Trace;
  if (timerId == kFirmwareWriterTimer)
    return ETimerRole::FirmwareWriter;
  if (timerId == kCalibrationTimer)
    return ETimerRole::CalibrationSweep;
  return ETimerRole::None;
}

CString PositionReadoutText(const CString& valueText)
{
  const double degrees = std::fabs(_wtof(valueText) / 100.0);
  CString text;
  text.Format(_wtoi(valueText) > 0 ? L"+%6.2f" : L"-%6.2f", degrees);
  return text;
}

SReadout MotionStatusReadout(int value)
{
  SReadout r;
  switch (value) {
  case 1:
    r.text = L"Limp";
    break;
  case 2:
    r.text = L"Accelerating";
    break;
  case 3:
    r.text = L"Traveling";
    break;
  case 4:
    r.text = L"Decelerating";
    break;
  case 5:
    r.text = L"Holding";
    break;
  case 7:
    r.text = L"Safe Mode";
    r.colour = kSafeModeColour;
    break;
  case 8:
    r.text = L"Error";
    r.colour = kErrorColour;
    break;
  default:
    break;
  }
  r.stepPeriod = r.text.GetLength() > 12 ? 100 : 0;
  return r;
}

SErrorReadout ErrorFlagsReadout(int flags)
{
  SErrorReadout r;
  if (flags == 0) {
    r.text = L"No Error";
    r.colour = kNoErrorColour;
    return r;
  }
  struct Bit {
    int mask;
    const wchar_t* text;
    bool eeprom;
  };
  static const Bit bits[] = {
      {0x0010, L"Blocked - ", false},
      {0x0200, L"Negative Out Of Range - ", false},
      {0x0100, L"Positive Out Of Range - ", false},
      {0x0800, L"EEPROM Check Sum - ", true},
      {0x0400, L"EEPROM Header Data - ", true},
      {0x1000, L"EEPROM Map Version Not Supported - ", true},
      {0x0040, L"Acceleration Setting Exceeds Limit - ", false},
      {0x0080, L"Deceleration Setting Exceeds Limit - ", false},
      {0x0020, L"Speed Setting Exceeds Limit - ", false},
      {0x0002, L"MPU Temperature too High - ", false},
      {0x0008, L"Motor Driver Temperature Too High - ", false},
      {0x0004, L"Motor Temperature Too High - ", false},
      {0x0001, L"PCB Temperature Too High - ", false},
  };
  for (const Bit& bit : bits)
    if (flags & bit.mask) {
      r.text += bit.text;
      r.eepromError = r.eepromError || bit.eeprom;
    }
  r.text.TrimRight(L" -");
  r.colour = kErrorColour;
  r.stepPeriod = r.text.GetLength() > 20 ? 250 : 0;
  return r;
}

CString BusyStatusText(bool firmwareUpdate, bool calibrating, bool verifying)
{
  if (firmwareUpdate)
    return L"Firmware Update";
  if (calibrating)
    return verifying ? L"Verifying Calibration" : L"Calibrating";
  return CString();
}

UINT BusyStatusStepPeriod(bool firmwareUpdate) { return firmwareUpdate ? 250 : 100; }

CString NextBlinkCaption(const CString& caption, const wchar_t* word, bool blink)
{
  if (blink)
    return caption.IsEmpty() ? CString(word) : CString();
  return caption.IsEmpty() ? CString(word) : caption;
}
