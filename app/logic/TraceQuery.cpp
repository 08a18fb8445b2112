#include "TraceQuery.h"

#include "CLocale.h"
#include "CParser.h"

#include <cmath>

namespace {
constexpr const wchar_t* kUnitMarker = L"<UNIT:";
constexpr const wchar_t* kTraceLineSeparators = L" /*+-^)<>";
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

std::vector<CString> TraceQueryLines(const CString& text)
{
  std::vector<CString> lines;
  int position = 0;
  for (CString token = text.Tokenize(kTraceLineSeparators, position); position >= 0;
       token = text.Tokenize(kTraceLineSeparators, position))
    if (token.Left(1) == L"#")
      lines.push_back(token);
  return lines;
}

STraceSample SampleTraceQuery(const CString& query, int id, const TraceLineSender& send)
{
  STraceSample sample;
  sample.readout = kErrorReadout;
  const SPreparedTraceQuery prepared = PrepareTraceQuery(query, id);
  CString text = prepared.text;
  bool failed = false;
  for (const CString& line : TraceQueryLines(prepared.text)) {
    const std::optional<CString> value = send(line);
    if (!value) {
      failed = true;
      continue;
    }
    text.Replace(line, *value);
  }
  if (failed)
    return sample;

  CParser parser;
  parser.SetExpression(std::string(CStringA(text).GetString()));
  if (!parser.Evaluate())
    return sample;
  CString number;
  sample.value = SixDigits(parser.GetResult(), number);
  sample.plotted = std::isfinite(sample.value);
  sample.readout = number + prepared.unit;
  return sample;
}
