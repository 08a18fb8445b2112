#include "PlotClipboardText.h"

#include "CZSpectrumPlot.h"

#include <CLocale.h>
#include <ZSpectrumData/CSpectrumData.h>

#include <cwctype>
#include <vector>

namespace {
bool IsNumericColumn(const CString& column)
{
  for (int i = 0; i < column.GetLength(); ++i) {
    const wchar_t c = column[i];
    if (std::iswdigit(c) || c == L'-' || c == L'.' || c == L'e' || c == L'E')
      continue;
    if (c == L'+' && i > 0 && (column[i - 1] == L'e' || column[i - 1] == L'E'))
      continue;
    return false;
  }
  return true;
}

bool IsDigitAt(const CString& text, int i)
{
  return i < text.GetLength() && std::iswdigit(text[i]);
}

// The non-empty pieces of the text between any of the delimiters.
std::vector<CString> Tokens(const CString& text, const wchar_t* delimiters)
{
  std::vector<CString> tokens;
  int pos = 0;
  for (CString token = text.Tokenize(delimiters, pos); pos >= 0; token = text.Tokenize(delimiters, pos))
    tokens.push_back(token);
  return tokens;
}

float FirstColumnValue(const CString& line)
{
  int pos = 0;
  return float(_wtof(line.Tokenize(L"\t", pos)));
}

CString HeaderPart(const CString& label, const CString& units, const wchar_t* withUnits)
{
  return units.IsEmpty() ? label : CString(FormatW(withUnits, label, units));
}

void ReadHeader(const CString& header, CSpectrumData& data)
{
  int pos = 0;
  const wchar_t first = header.IsEmpty() ? L'\0' : header[0];
  if (first != L'\t' && first != L'\n' && first != L'\r') {
    data.SetXLabel(header.Tokenize(L"\t(", pos));
    if (pos >= 0 && header.Find(L")\t", pos) >= 0)
      data.SetXUnits(header.Tokenize(L")", pos));
    if (pos < 0 || pos >= header.GetLength())
      return;
  }
  data.SetYLabel(header.Tokenize(L"\t\r\n(", pos));
  if (pos >= 0 && header.Find(L')', pos) >= 0)
    data.SetYUnits(header.Tokenize(L")", pos));
}
} // namespace

CString PlotCopyText(const CZSpectrumPlot& plot)
{
  const CSpectrumData* active = plot.GetActiveTrace();
  if (!active)
    return CString();
  CString text = active->GetDataAsText();
  if (active->GetXLabel().IsEmpty())
    text.Replace(L"X Values", plot.GetXLabel());
  if (active->GetYLabel().IsEmpty())
    text.Replace(L"Y Values", plot.GetYLabel());
  return text;
}

CString PlotCopyAllText(const CZSpectrumPlot& plot)
{
  if (plot.GetTraceCount() < 2)
    return PlotCopyText(plot);
  const CZSpectrumPlot::CTraceList& list = plot.GetTraceList();
  const CSpectrumData& active = *list.GetHead();
  std::vector<const CSpectrumData*> others;
  POSITION pos = list.GetHeadPosition();
  list.GetNext(pos);
  while (pos)
    others.push_back(list.GetNext(pos));

  CString text;
  if (!active.GetName().IsEmpty()) {
    text = L"\t" + active.GetName();
    for (const CSpectrumData* trace : others) {
      CString name = trace->GetName();
      name.Replace(L"Paste: ", L"");
      text += L"\t" + name;
    }
    text += L"\n";
  }
  text += HeaderPart(active.GetXLabel(), active.GetXUnits(), L"%s(%s)") + L"\t" +
          HeaderPart(active.GetYLabel(), active.GetYUnits(), L"%s(%s)");
  for (const CSpectrumData* trace : others)
    text += L"\t" + HeaderPart(trace->GetYLabel(), trace->GetYUnits(), L"%s(%s)");
  text += L"\n";

  std::wstring rows;
  for (int i = active.GetFirstIndex(); i <= active.GetLastIndex(); ++i) {
    const float x = active.GetX(i);
    rows += FormatW(L"%g\t%g", double(x), double(active.GetY(i)));
    for (const CSpectrumData* trace : others)
      rows += FormatW(L"\t%g", double(trace->GetY(x, false)));
    rows += L'\n';
  }
  return text + CString(std::move(rows));
}

bool CutActiveTrace(CZSpectrumPlot& plot, const std::function<bool(const CString&)>& copy)
{
  const CSpectrumData* active = plot.GetActiveTrace();
  if (!active || !copy(PlotCopyText(plot)))
    return false;
  plot.RemoveTrace(active->GetName(), true);
  return true;
}

bool IsNumericLine(const CString& line)
{
  if (line.IsEmpty() || line[0] == L'\t' || line[0] == L'\n' || line[0] == L'\r')
    return false;
  if (line.Find(L'\t') < 0)
    return false;
  int pos = 0;
  const CString x = line.Tokenize(L"\t", pos);
  const CString y = line.Tokenize(L"\t\r\n", pos);
  if (y.IsEmpty())
    return false;
  return IsNumericColumn(x) && IsNumericColumn(y);
}

bool CanPasteText(const CString& text)
{
  const std::vector<CString> lines = Tokens(text, L"\n");
  if (lines.size() < 4 || !IsNumericLine(lines[2]) || !IsNumericLine(lines[3]))
    return false;
  int pos = 0;
  const CString x = lines[2].Tokenize(L"\t", pos);
  const CString y = lines[2].Tokenize(L"\t\r\n", pos);
  if (!IsDigitAt(x, 0) || !(IsDigitAt(y, 0) || IsDigitAt(y, 1)))
    return false;
  return FirstColumnValue(lines[3]) > FirstColumnValue(lines[2]);
}

void ReadPastedText(const CString& text, CSpectrumData& data, CString& name)
{
  name.Empty();
  const std::vector<CString> lines = Tokens(text, L"\r\n");
  size_t first = 0;
  if (!lines.empty() && !IsNumericLine(lines[0])) {
    if (lines.size() > 1 && IsNumericLine(lines[1])) {
      ReadHeader(lines[0], data);
      first = 1;
    } else {
      int pos = 0;
      name = lines[0].Tokenize(L"\t\r\n", pos);
      if (lines.size() > 1)
        ReadHeader(lines[1], data);
      first = 2;
    }
  }
  for (size_t i = first; i < lines.size(); ++i) {
    int pos = 0;
    const CString x = lines[i].Tokenize(L"\t", pos);
    const CString y = lines[i].Tokenize(L"\t", pos);
    data.AddPoint(float(_wtof(x)), float(_wtof(y)), 0);
  }
}

bool PasteTextAsTrace(CZSpectrumPlot& plot, const CString& text)
{
  CSpectrumData data;
  CString name;
  ReadPastedText(text, data, name);
  // The vector size is the data set's capacity, which grows in blocks: count the points.
  if (data.GetIndexRange() <= 1)
    return false;
  CString traceName = name.IsEmpty() ? CString(L"Paste: 1") : L"Paste: " + name;
  COLORREF colour = 0x6432C8;
  for (int n = 2; plot.FindTrace(traceName); ++n) {
    traceName =
        name.IsEmpty() ? CString(FormatW(L"Paste: %d", n)) : CString(FormatW(L"Paste: %s %d", name, n));
    colour = RGB(200, BYTE(((n + 1) * 50) % 256), 100);
  }
  data.SetName(traceName);
  data.SetTraceColour(colour);
  plot.AddTrace(&data, true, true);
  return true;
}
