#include "ClipboardHead.h"

#include "TextConversion.h"

std::string_view ClipboardHeadBytes(std::string_view text, size_t lines, size_t maxBytes)
{
  size_t end = 0;
  for (size_t seen = 0; seen < lines; ++seen) {
    const size_t start = text.find_first_not_of("\r\n", end);
    if (start == std::string_view::npos || start >= maxBytes)
      break;
    const size_t next = text.find_first_of("\r\n", start);
    if (next == std::string_view::npos ? text.size() > maxBytes : next > maxBytes)
      break;
    if (next == std::string_view::npos)
      return text;
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
