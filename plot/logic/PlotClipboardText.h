#pragma once
// The plot window's clipboard texts: tab-separated columns, one data row per point written with
// "%g" and '.' decimals whatever the locale, and the reading of such text (or of a spreadsheet's
// copy) back into a data set.
#include <CString.h>

#include <functional>
#include <string_view>

class CSpectrumData;
class CZSpectrumPlot;

// Copy: the active trace's own text form; an empty X or Y label of the trace gives way to the
// window's label of that axis. Empty without a trace.
CString PlotCopyText(const CZSpectrumPlot& plot);
// Copy All: the active trace's X and Y, then the Y of every further trace at the active trace's X.
// With one trace the text of Copy; empty without a trace.
CString PlotCopyAllText(const CZSpectrumPlot& plot);

// Cut: the active trace goes to the clipboard through copy, and only when copy succeeded is it
// removed (a hold copy is spared). False, and the plot unchanged, otherwise.
bool CutActiveTrace(CZSpectrumPlot& plot, const std::function<bool(const CString&)>& copy);

// Two numeric columns separated by a tab: digits, '-', '.', 'e' and 'E', and a '+' only right
// after the exponent mark (so that "%g" output such as 1e+06 reads back), or a failed reading
// written as "nan", "inf" or "infinity" (any case, maybe after a '-').
bool IsNumericLine(const CString& line);
// Whether Paste is offered: a name line and a header line, then at least two data rows whose
// first starts with a digit and whose X values rise. Lines are read as Paste reads them, and a
// column holding a failed reading ("nan", "inf", as copy writes them) is a number here as there.
// Only the first kPasteOfferLines lines are looked at, however long the text.
inline constexpr size_t kPasteOfferLines = 4;
bool CanPasteText(std::wstring_view text);

// Reads pasted text into an empty data set: an optional name line, an optional header line with
// labels and units in parentheses, then "x\ty" rows. name is empty when the text has none.
void ReadPastedText(const CString& text, CSpectrumData& data, CString& name);
// Adds pasted text as a new trace that the plot owns, at the tail of the list like every added
// trace, named "Paste: " with the name read (or a number) and made unique. False, and nothing added, for text
// with fewer than two points.
bool PasteTextAsTrace(CZSpectrumPlot& plot, const CString& text);
