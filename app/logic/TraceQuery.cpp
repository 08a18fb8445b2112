#include "TraceQuery.h"

#include "CLocale.h"
#include "CParser.h"
#include "EvaluationBudget.h"

#include <cmath>
#include <cwchar>

namespace {
constexpr const wchar_t* kUnitMarker = L"<UNIT:";
// Line ends and tabs separate too: they are no part of a line the servo could answer.
constexpr const wchar_t* kTraceLineSeparators = L" /*+-^)<>\r\n\t";
constexpr const wchar_t* kErrorReadout = L"Error";

// The plotted value is the read-out's number read back, so the plot shows what the read-out says.
double SixDigits(double value, CString& text)
{
  text.Format(L"%g", value);
  return _wtof(text);
}
} // namespace

SPreparedTraceQuery PrepareTraceQuery(const CString& query, int id)
{
  SPreparedTraceQuery prepared{query, CString()};
  CString idText;
  idText.Format(L"%d", id);
  prepared.text.Replace(L"<ID>", idText);
  const int marker = prepared.text.Find(kUnitMarker);
  if (marker <= 0)
    return prepared;
  const int unitStart = marker + CString(kUnitMarker).GetLength();
  const int close = prepared.text.Find(L'>', marker);
  if (close < 0)
    return prepared;
  prepared.unit = prepared.text.Mid(unitStart, close - unitStart);
  prepared.text.Replace(CString(kUnitMarker) + prepared.unit + L">", L"");
  return prepared;
}

std::vector<STraceQueryLine> TraceQueryLines(const CString& text)
{
  std::vector<STraceQueryLine> lines;
  const int length = text.GetLength();
  for (int start = 0; start < length;) {
    int end = start;
    while (end < length && !std::wcschr(kTraceLineSeparators, text[end]))
      ++end;
    if (end > start && text[start] == L'#')
      lines.push_back({start, text.Mid(start, end - start)});
    start = end + 1;
  }
  return lines;
}

STraceSample SampleTraceQuery(const CString& query, int id, const TraceLineSender& send)
{
  STraceSample sample;
  sample.readout = kErrorReadout;
  const SPreparedTraceQuery prepared = PrepareTraceQuery(query, id);
  // Each value goes where its own line stands, and nowhere else: "#5QD" is also the start of
  // "#5QDT". In brackets, so that a negative value keeps its sign under "^" or after "-".
  CString text;
  int copied = 0;
  bool failed = false;
  for (const STraceQueryLine& line : TraceQueryLines(prepared.text)) {
    const std::optional<CString> value = send(line.text);
    if (!value) {
      failed = true;
      continue;
    }
    text += prepared.text.Mid(copied, line.position - copied);
    text += L"(" + *value + L")";
    copied = line.position + line.text.GetLength();
  }
  if (failed)
    return sample;
  text += prepared.text.Mid(copied);

  CParser parser;
  parser.SetExpression(std::string(CStringA(text).GetString()));
  const CEvaluationStopwatch stopwatch;
  const bool evaluated = parser.Evaluate();
  sample.evaluationMs = stopwatch.ElapsedMs();
  sample.overBudget = sample.evaluationMs > kMaxEvaluationMs;
  if (!evaluated || sample.overBudget)
    return sample;
  CString number;
  sample.value = SixDigits(parser.GetResult(), number);
  sample.plotted = std::isfinite(sample.value);
  sample.readout = number + prepared.unit;
  return sample;
}
