#include "ClipboardHead.h"

#include "TextConversion.h"

std::string_view ClipboardHeadBytes(std::string_view text, size_t lines, size_t maxBytes)
{
  // Nothing past the bound is looked at, not even in search of a line end: a copy of one huge
  // line costs what a short one does.
  const bool longer = text.size() > maxBytes;
  const std::string_view within = text.substr(0, maxBytes);
  size_t end = 0;
  for (size_t seen = 0; seen < lines; ++seen) {
    const size_t start = within.find_first_not_of("\r\n", end);
    if (start == std::string_view::npos)
      break;
    const size_t next = within.find_first_of("\r\n", start);
    if (next == std::string_view::npos) {
      // A line that runs to the bound is whole only when a line end or the text's end follows.
      if (!longer || text[maxBytes] == '\r' || text[maxBytes] == '\n')
        end = within.size();
      break;
    }
    end = next;
  }
  return text.substr(0, end);
}

CString DecodeClipboardText(std::string_view bytes)
{
  return FromUtf8(bytes);
}

unsigned CClipboardHeadKeeper::Begin()
{
  m_state = EClipboardHead::NotYet;
  m_head.clear();
  return ++m_fetch;
}

void CClipboardHeadKeeper::Answer(unsigned fetch, std::optional<std::string_view> bytes)
{
  if (!Awaits(fetch))
    return;
  m_state = bytes ? EClipboardHead::Text : EClipboardHead::NoText;
  if (bytes)
    m_head = DecodeClipboardText(ClipboardHeadBytes(*bytes, m_lines, m_maxBytes)).Str();
}
