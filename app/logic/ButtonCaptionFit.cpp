#include "ButtonCaptionFit.h"

namespace {
constexpr const wchar_t* kEllipsis = L"\u2026";

CString CutAt(const CString& caption, int length)
{
  CString start = caption.Left(length);
  start.TrimRight();
  return start + kEllipsis;
}
} // namespace

CString CaptionThatFits(const CString& caption, int width, const TextWidthFunction& textWidth)
{
  if (textWidth(caption) <= width)
    return caption;
  // A longer start is never narrower, so halving finds the longest that fits in few measurements
  // even for a title of any length.
  int low = 0;                    // a start of this length fits (or is the floor)
  int high = caption.GetLength(); // the whole caption does not fit
  while (high - low > 1) {
    const int middle = low + (high - low) / 2;
    if (textWidth(CutAt(caption, middle)) <= width)
      low = middle;
    else
      high = middle;
  }
  return CutAt(caption, low);
}
