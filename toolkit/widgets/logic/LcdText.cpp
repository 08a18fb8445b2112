#include "LcdText.h"

#include "LcdSegmentTables.h"

#include <algorithm>

int LcdCellCount(SLcdTextSettings& s)
{
  s.digits = std::max({s.digits, s.decimals, 1});
  int count = s.digits;
  if (IsSegmentMode(s.mode) && s.showSign && !s.textMode && !s.hexMode)
    ++count;
  return count;
}

CString LcdValueText(double value, const SLcdTextSettings& s, int cellCount)
{
  CString format, text;
  if (s.hexMode) {
    format.Format(L"%%0%dx", s.digits);
    text.Format(format.GetString(), int(value));
    return text;
  }
  int n = s.digits;
  // The sign cell holds the minus in front of the digits; without one the minus takes a cell of
  // the digits, and a wider number would push its last digit out of the read-out.
  if (IsSegmentMode(s.mode) && value < 0 && s.showSign)
    n += 1;
  if (!IsSegmentMode(s.mode) && value >= 0 && s.showSign)
    n -= 1;
  format.Format(L"%%0%d.%df", n, s.decimals);
  text.Format(format.GetString(), value);
  if (s.showSign && value >= 0)
    text = L"+" + text;
  text.Replace(L',', L'.');
  if (IsSegmentMode(s.mode) && text.Find(L'.') >= 0 && text.GetLength() < cellCount + 1) {
    const bool signed_ = text[0] == L'-' || text[0] == L'+';
    text.Insert(signed_ ? 1 : 0, L'0');
  }
  return text;
}

std::vector<SLcdCell> LcdCells(const CString& source, int mode, int cellCount, bool scrolling,
                               int& stepCounter)
{
  std::vector<SLcdCell> cells;
  CString text = source;
  if (scrolling) {
    text = CString(L' ', std::max(cellCount - 1, 0)) + text;
    if (stepCounter >= text.GetLength())
      stepCounter = 0;
  }
  const bool segments = IsSegmentMode(mode);
  for (int i = std::max(stepCounter, 0); i < text.GetLength() && int(cells.size()) < cellCount; ++i) {
    const wchar_t c = text[i];
    if (segments && (c == L'.' || c == L':'))
      continue;
    SLcdCell cell;
    cell.code = c;
    if (segments) {
      const wchar_t next = text[i + 1];
      cell.point = next == L'.';
      cell.colon = next == L':';
    }
    cells.push_back(cell);
  }
  cells.resize(size_t(std::max(cellCount, 0)));
  return cells;
}
