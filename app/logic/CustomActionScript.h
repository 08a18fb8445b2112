#pragma once
// A custom action's script made ready to run, without the port: placeholders filled in, every
// "[...]" replaced by its whole-number value and the lines split into what to send and how long
// to wait. A script that cannot run as written is refused whole, before anything is sent.
#include "CString.h"
#include "WinTypes.h"

#include <vector>

// The longest "WAIT" one line may ask for: the window does not answer while it waits.
inline constexpr DWORD kMaxActionWaitMs = 60000;

// Whether the script needs the servo's origin offset: "OFFSET" anywhere, case-sensitive.
bool NeedsOriginOffset(const CString& command);

struct SActionStep {
  bool wait = false; // a "WAIT" line: waitMs; otherwise line is sent as it is
  DWORD waitMs = 0;
  CString line;
};

struct SActionScript {
  std::vector<SActionStep> steps;
  CString error; // why the script was refused; empty when it may run
};

// "<ID>", "<POS>" and "<OFFSET>" take the id and the texts, every "[...]" its value truncated
// towards zero (an expression that does not evaluate takes the value of the bracket before it, or
// 0), and the text is split at "\r" and "\n" into steps, empty lines skipped. Refused: a "[" with
// no "]" after it, a bracket whose value is no finite number within int's range, and a "WAIT"
// that is not a whole number of 0 to kMaxActionWaitMs milliseconds.
SActionScript ExpandActionScript(const CString& command, int id, const CString& positionText,
                                 const CString& offsetText);
