#pragma once
// What the status poll shows: the texts, colours and scroll periods of the position, status and
// error read-outs, the blinking RESET and DEFAULT captions, and which timer does what.
#include "CString.h"
#include "WinTypes.h"

inline constexpr COLORREF kStatusColour = 0x969600;
inline constexpr COLORREF kSafeModeColour = 0x00C8C8;
inline constexpr COLORREF kErrorColour = 0x0000C8;
inline constexpr COLORREF kNoErrorColour = 0x00C800;
inline constexpr UINT kStatusPollPeriodMs = 300;
inline constexpr UINT kTracePeriodMs = 500;
inline constexpr UINT kFirmwareWriterPeriodMs = 50;

// Timers of the main dialog, by the numbers they run under.
inline constexpr UINT_PTR kStatusPollTimer = 0;
inline constexpr UINT_PTR kFirstTraceTimer = 1;
inline constexpr UINT_PTR kLastTraceTimer = 8;
inline constexpr UINT_PTR kFirmwareWriterTimer = 10;
inline constexpr UINT_PTR kCalibrationTimer = 11;

enum class ETimerRole { StatusPoll, Trace, FirmwareWriter, CalibrationSweep, None };
// Only the dialog's own timer numbers have a role; any other number does nothing.
ETimerRole TimerRole(UINT_PTR timerId);

// "+%6.2f" / "-%6.2f" of the position in degrees; the plus sign only above 0 (-1234 gives "- 12.34",
// 0 gives "-  0.00").
CString PositionReadoutText(const CString& valueText);

struct SReadout {
  CString text;
  COLORREF colour = kStatusColour;
  UINT stepPeriod = 0; // ms per scroll step, 0 = still
};
// The motion status "Q": 1 to 5 plain, 7 safe mode, 8 error, anything else an empty text.
SReadout MotionStatusReadout(int value);

struct SErrorReadout : SReadout {
  bool eepromError = false;
};
// The error flags "QEF": "No Error" in green for 0, otherwise the texts of the set bits joined by
// " - " in red; the EEPROM bits set eepromError.
SErrorReadout ErrorFlagsReadout(int flags);

// The text the status read-out shows instead of polling while a firmware update or a calibration
// runs (empty when neither does), and its scroll period.
CString BusyStatusText(bool firmwareUpdate, bool calibrating, bool verifying);
UINT BusyStatusStepPeriod(bool firmwareUpdate);

// One tick of a caption that blinks while blink is set: empty becomes word, anything else empty.
// When not blinking an empty caption comes back as word.
CString NextBlinkCaption(const CString& caption, const wchar_t* word, bool blink);
