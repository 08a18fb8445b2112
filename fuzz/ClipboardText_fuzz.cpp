// fuzz-link: plot_logic ZSpectrumData
// Takes arbitrary bytes as another program's copy on the clipboard. The kept head, decoded, must
// read as the start of the whole text decoded, never longer than its byte bound; when the bound
// did not cut it, the paste offer made from the head must be the offer made from the whole text.
// Paste must read the whole text without fault.
#include "ClipboardHead.h"
#include "PlotClipboardText.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  const size_t bound = 1 + data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const CString whole = DecodeClipboardText(text);

  for (const size_t maxBytes : {bound, text.size() + 1}) {
    const std::string_view head = ClipboardHeadBytes(text, kPasteOfferLines, maxBytes);
    if (head.size() > maxBytes || head.data() != text.data())
      std::abort();
    const CString decoded = DecodeClipboardText(head);
    if (whole.Str().compare(0, decoded.GetLength(), decoded.Str()) != 0)
      std::abort();
    if (maxBytes > text.size() && CanPasteText(decoded.Str()) != CanPasteText(whole.Str()))
      std::abort();
  }

  CSpectrumData pasted;
  CString name;
  ReadPastedText(whole, pasted, name);
  return 0;
}
