#pragma once
// A button caption cut to the width its button leaves for text: the whole caption when it fits,
// else its longest start that fits with "…" after it (blanks before the "…" dropped), so that a
// long name keeps its beginning. A width too small even for "…" alone gives "…" all the same: the
// button still shows that its name was cut.
#include "CString.h"

#include <functional>

using TextWidthFunction = std::function<int(const CString& text)>;

CString CaptionThatFits(const CString& caption, int width, const TextWidthFunction& textWidth);
