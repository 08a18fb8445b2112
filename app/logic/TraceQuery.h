#pragma once
// One sample of a live trace, without the port: the trace query's placeholders filled in, its
// query lines found, the servo's values spliced in, and the expression evaluated into the point to
// plot and the text of the trace's read-out.
#include "CString.h"
#include "WinTypes.h"

#include <functional>
#include <optional>
#include <vector>

// The query with every "<ID>" replaced by the id and the unit marker taken out. The unit is the
// text of the first "<UNIT:...>"; a query that starts with the marker keeps it, and a marker
// without its ">" gives no unit and stays in the text.
struct SPreparedTraceQuery {
  CString text;
  CString unit;
};
SPreparedTraceQuery PrepareTraceQuery(const CString& query, int id);

// The query lines of a prepared text, left to right: every token that begins with "#", tokens
// being separated by blanks, tabs, line ends and "/*+-^)<>". "(" and "," separate nothing, so
// "(#5QD" is no line. A line written twice is listed twice.
struct STraceQueryLine {
  int position = 0; // where the line starts in the text
  CString text;
};
std::vector<STraceQueryLine> TraceQueryLines(const CString& text);

// The servo's value text for a query line, or nothing when the line failed.
using TraceLineSender = std::function<std::optional<CString>(const CString& line)>;

struct STraceSample {
  bool plotted = false; // a finite value came out: value is the point's y
  double value = 0.0;
  CString readout; // "35C", "Error", "inf"...
  // The expression took more than kMaxEvaluationMs: the trace must stop, since it would take as
  // long at every tick. evaluationMs says how long it took.
  bool overBudget = false;
  DWORD evaluationMs = 0;
};

// Sends each query line in turn, puts its value text in brackets in place of that one line (so
// "#5QD" never touches "#5QDT", and "-3" squared is 9), evaluates the text and formats the
// read-out with the unit. A failed line or an expression that does not evaluate gives the read-out
// "Error" and no point; a result that is not finite is shown but not plotted. So does an
// evaluation that took more than kMaxEvaluationMs, whatever its value.
STraceSample SampleTraceQuery(const CString& query, int id, const TraceLineSender& send);
