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

// The texts that "<POS>" and "<OFFSET>" stand for; empty when not read.
struct SActionServoValues {
  CString position; // 1/100 degree, from the newest status poll
  CString offset;   // from the newest origin-offset query
};

// The newest values read from one servo over the present connection. They belong to that servo
// only: choosing another, or a value read from another, forgets them, so an action never sends
// one servo's position to another. Nor do they outlive the connection: the servo behind the same
// id may have been moved, swapped or re-powered meanwhile, so Connect, Disconnect and a lost link
// Forget them.
class CRememberedServoValues {
public:
  void Select(int id);
  void Forget();
  void SetPosition(int id, const CString& text);
  void SetOffset(int id, const CString& text);
  // Empty texts for any servo but the one the values were read from.
  SActionServoValues ValuesOf(int id) const;

private:
  int m_id = -1;
  SActionServoValues m_values;
};

struct SActionScript {
  std::vector<SActionStep> steps;
  CString error; // why the script was refused; empty when it may run
  // Its brackets took more than kMaxEvaluationMs to evaluate: the script is refused (error says
  // so), since it would take as long again at every run.
  bool overBudget = false;
};

// "<ID>", "<POS>" and "<OFFSET>" take the id and the servo's values, every "[...]" its value
// truncated towards zero, and the text is split at "\r" and "\n" into steps, empty lines skipped.
// Refused: "<POS>" or "<OFFSET>" without a value, a "[" with no "]" after it, a bracket that does
// not evaluate or whose value is no finite number within int's range, and a "WAIT" that is not a
// whole number of 0 to kMaxActionWaitMs milliseconds, and brackets that took more than
// kMaxEvaluationMs to evaluate together.
SActionScript ExpandActionScript(const CString& command, int id, const SActionServoValues& values);
