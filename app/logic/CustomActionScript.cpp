#include "CustomActionScript.h"

#include "CParser.h"
#include "EvaluationBudget.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <optional>

namespace {
CString Refusal(const CString& reason)
{
  return L"The custom action was not run: " + reason;
}

// The whole value of one bracket, or the reason it has none: an expression that does not
// evaluate, or a value that is no finite number within int's range.
CString BracketValue(CParser& parser, const CString& expression, int& value)
{
  parser.SetExpression(std::string(CStringA(expression).GetString()));
  if (!parser.Evaluate())
    return L"[" + expression + L"] cannot be evaluated.";
  const double result = std::trunc(parser.GetResult());
  if (!std::isfinite(result) || result < double(std::numeric_limits<int>::min()) ||
      result > double(std::numeric_limits<int>::max()))
    return L"[" + expression + L"] gives no whole number.";
  value = int(result);
  return CString();
}

// Every "[...]" replaced by its value; the error text when one cannot be, or when they took more
// than kMaxEvaluationMs together (overBudget is set then).
CString SolveBrackets(CString& text, bool& overBudget)
{
  CParser parser;
  std::optional<CEvaluationStopwatch> stopwatch;
  for (;;) {
    const int open = text.Find(L'[');
    if (open < 0)
      return CString();
    const int close = text.Find(L']', open);
    if (close < 0)
      return Refusal(L"a \"[\" has no \"]\" after it.");
    const CString expression = text.Mid(open + 1, close - open - 1);
    if (!stopwatch)
      stopwatch.emplace();
    int value = 0;
    const CString reason = BracketValue(parser, expression, value);
    if (const DWORD ms = stopwatch->ElapsedMs(); ms > kMaxEvaluationMs) {
      overBudget = true;
      CString slow;
      slow.Format(L"its expressions took %u ms to evaluate, more than %u ms.", unsigned(ms),
                  unsigned(kMaxEvaluationMs));
      return Refusal(slow);
    }
    if (!reason.IsEmpty())
      return Refusal(reason);
    CString valueText;
    valueText.Format(L"%d", value);
    text.Replace(L"[" + expression + L"]", valueText);
  }
}

// A placeholder the script uses whose value was never read from this servo.
CString MissingValue(const CString& command, int id, const SActionServoValues& values)
{
  CString reason;
  if (command.Find(L"<POS>") >= 0 && values.position.IsEmpty())
    reason.Format(L"the position of servo %d is not known yet.", id);
  else if (command.Find(L"<OFFSET>") >= 0 && values.offset.IsEmpty())
    reason.Format(L"the origin offset of servo %d could not be read.", id);
  return reason.IsEmpty() ? reason : Refusal(reason);
}

// The milliseconds of a "WAIT" line: the rest of the line, blanks first allowed.
bool WaitMilliseconds(const CString& line, DWORD& ms)
{
  CString rest = line.Mid(4);
  rest.TrimLeft(L" \t");
  wchar_t* end = nullptr;
  errno = 0;
  const long long value = std::wcstoll(rest.GetString(), &end, 10);
  // No number at all reads as 0, as it always has.
  if (end == rest.GetString()) {
    ms = 0;
    return true;
  }
  if (errno == ERANGE || value < 0 || value > kMaxActionWaitMs)
    return false;
  ms = DWORD(value);
  return true;
}
} // namespace

bool NeedsOriginOffset(const CString& command)
{
  return command.Find(L"OFFSET") >= 0;
}

void CRememberedServoValues::Select(int id)
{
  if (id == m_id)
    return;
  m_id = id;
  m_values = {};
}

void CRememberedServoValues::Forget()
{
  m_id = -1;
  m_values = {};
}

void CRememberedServoValues::SetPosition(int id, const CString& text)
{
  Select(id);
  m_values.position = text;
}

void CRememberedServoValues::SetOffset(int id, const CString& text)
{
  Select(id);
  m_values.offset = text;
}

SActionServoValues CRememberedServoValues::ValuesOf(int id) const
{
  return id == m_id ? m_values : SActionServoValues();
}

SActionScript ExpandActionScript(const CString& command, int id, const SActionServoValues& values)
{
  SActionScript script;
  script.error = MissingValue(command, id, values);
  if (!script.error.IsEmpty())
    return script;
  CString text = command;
  CString idText;
  idText.Format(L"%d", id);
  text.Replace(L"<ID>", idText);
  text.Replace(L"<POS>", values.position);
  text.Replace(L"<OFFSET>", values.offset);
  script.error = SolveBrackets(text, script.overBudget);
  if (!script.error.IsEmpty())
    return script;

  int position = 0;
  for (CString line = text.Tokenize(L"\r\n", position); position >= 0;
       line = text.Tokenize(L"\r\n", position)) {
    SActionStep step;
    step.line = line;
    if (line.Left(4) == L"WAIT") {
      step.wait = true;
      if (!WaitMilliseconds(line, step.waitMs)) {
        CString reason;
        reason.Format(L"\"%s\" is no wait of 0 to %u ms.", line.GetString(), unsigned(kMaxActionWaitMs));
        script.error = Refusal(reason);
        script.steps.clear();
        return script;
      }
    }
    script.steps.push_back(step);
  }
  return script;
}
