#include "MessageBoxRules.h"

#include <algorithm>

namespace {
int ButtonOfLetter(int keyCode)
{
  switch (keyCode) {
  case 'A':
    return IDABORT;
  case 'C':
    return IDCANCEL;
  case 'I':
    return IDIGNORE;
  case 'N':
    return IDNO;
  case 'O':
    return IDOK;
  case 'R':
    return IDRETRY;
  case 'Y':
    return IDYES;
  default:
    return 0;
  }
}

constexpr int kKeyReturn = 13;       // WXK_RETURN
constexpr int kKeyNumpadEnter = 370; // WXK_NUMPAD_ENTER
} // namespace

bool MessageBoxShowsButton(UINT type, int id)
{
  switch (type & MB_TYPEMASK) {
  case MB_OK:
    return id == IDOK;
  case MB_OKCANCEL:
    return id == IDOK || id == IDCANCEL;
  case MB_ABORTRETRYIGNORE:
    return id == IDABORT || id == IDRETRY || id == IDIGNORE;
  case MB_YESNOCANCEL:
    return id == IDYES || id == IDNO || id == IDCANCEL;
  case MB_YESNO:
    return id == IDYES || id == IDNO;
  case MB_RETRYCANCEL:
    return id == IDRETRY || id == IDCANCEL;
  case 7:
    return id == IDABORT || id == IDIGNORE;
  default:
    return false;
  }
}

std::vector<int> MessageBoxButtons(UINT type)
{
  std::vector<int> shown;
  for (int id : kMessageBoxButtonOrder)
    if (MessageBoxShowsButton(type, id))
      shown.push_back(id);
  return shown;
}

int MessageBoxDefaultButton(UINT type)
{
  // Windows answers Enter with the first button of the type's own order.
  switch (type & MB_TYPEMASK) {
  case MB_OK:
  case MB_OKCANCEL:
    return IDOK;
  case MB_ABORTRETRYIGNORE:
  case 7:
    return IDABORT;
  case MB_YESNOCANCEL:
  case MB_YESNO:
    return IDYES;
  case MB_RETRYCANCEL:
    return IDRETRY;
  default:
    return 0;
  }
}

int MessageBoxKeyButton(UINT type, const SMessageBoxKey& key)
{
  if (key.keyCode == kKeyReturn || key.keyCode == kKeyNumpadEnter) {
    if (key.focusedButton && MessageBoxShowsButton(type, key.focusedButton))
      return key.focusedButton;
    // A box without buttons has no close box either: Enter is its only way out, as a cancel.
    const int shownDefault = MessageBoxDefaultButton(type);
    return shownDefault ? shownDefault : IDCANCEL;
  }
  if (key.ctrl || key.alt)
    return 0;
  int letter = key.keyCode;
  if (letter >= 'a' && letter <= 'z')
    letter -= 'a' - 'A';
  const int id = ButtonOfLetter(letter);
  return MessageBoxShowsButton(type, id) ? id : 0;
}

int MessageBoxMaxTextWidth(bool showImage)
{
  return showImage ? 300 : 400;
}

SMessageBoxSize MessageBoxSize(const SMessageBoxMeasure& m)
{
  SMessageBoxSize size;
  size.width = m.showImage ? 300 : m.buttons * 70 + 80;
  const int maxText = MessageBoxMaxTextWidth(m.showImage);
  size.textHeight = m.textHeight;
  size.textWidth = std::min(maxText, std::max(m.textWidth, 12 * m.averageCharWidth));
  if (size.width <= size.textWidth + m.textOverhead)
    size.width = size.textWidth + m.textOverhead;
  size.height = std::max(size.textHeight + 80, 120);
  size.height = std::max(size.height, m.minimumHeight);
  if (m.showImage)
    size.height += 250;
  return size;
}

namespace {
// Splits one line (no line breaks in it) into pieces that fit.
void WrapLine(const CString& line, int maxWidth, const std::function<int(const CString&)>& measure,
              std::vector<CString>& out)
{
  CString current;
  int pos = 0;
  const int length = line.GetLength();
  while (pos < length) {
    // The next word together with the blanks in front of it.
    int end = pos;
    while (end < length && line[end] == L' ')
      ++end;
    while (end < length && line[end] != L' ')
      ++end;
    CString word = line.Mid(pos, end - pos);
    CString candidate = current + word;
    if (current.IsEmpty() || measure(candidate) <= maxWidth) {
      current = candidate;
    } else {
      out.push_back(current);
      current = word.TrimLeft(L' ');
    }
    // A word wider than the box alone is cut where it overflows.
    while (current.GetLength() > 1 && measure(current) > maxWidth) {
      int fit = 1;
      while (fit < current.GetLength() && measure(current.Left(fit + 1)) <= maxWidth)
        ++fit;
      out.push_back(current.Left(fit));
      current = current.Mid(fit);
    }
    pos = end;
  }
  out.push_back(current);
}
} // namespace

CString WrapMessageText(const CString& text, int maxWidth,
                        const std::function<int(const CString&)>& measureWidth)
{
  CString normal = text;
  normal.Replace(L"\r\n", L"\n");
  normal.Replace(L'\r', L'\n');
  std::vector<CString> lines;
  int start = 0;
  while (true) {
    int brk = normal.Find(L'\n', start);
    CString line = brk < 0 ? normal.Mid(start) : normal.Mid(start, brk - start);
    WrapLine(line, maxWidth, measureWidth, lines);
    if (brk < 0)
      break;
    start = brk + 1;
  }
  CString result;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i)
      result += L'\n';
    result += lines[i];
  }
  return result;
}
