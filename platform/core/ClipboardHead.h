#pragma once
// What the paste offer keeps of the clipboard's text, and the one way its bytes are read as text,
// for the offer and for Paste alike. A right-click must never wait on the program that owns the
// clipboard, so the text is fetched in the background when a copy arrives; until that fetch has
// answered, nothing is known about the copy.
#include "CString.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The most of a copy's text that is kept for the offer, however long its lines: a copy made of
// one huge line costs no more than a short one.
inline constexpr size_t kClipboardHeadBytes = 256 * 1024;

// The text up to the end of its first `lines` lines that are not empty (lines end at '\r' or
// '\n'), and never more than maxBytes of it: a line that the byte bound cuts is left out whole,
// so the head holds only lines as the whole text has them.
std::string_view ClipboardHeadBytes(std::string_view text, size_t lines, size_t maxBytes);

// The clipboard's bytes as text: UTF-8, and a byte that is not part of valid UTF-8 read as
// Windows-1252, as other programs' older copies are meant. Reading is byte by byte, so a head cut
// at a line end reads exactly as the same lines of the whole text.
CString DecodeClipboardText(std::string_view bytes);

enum class EClipboardHead {
  NotYet, // a fetch is on its way and has not answered
  NoText, // the clipboard holds no text (or its owner gave none)
  Text,
};

// The head of the copy that the last fetch begun was for. Answers of fetches begun before it are
// for copies the clipboard no longer holds and change nothing.
class CClipboardHeadKeeper {
public:
  explicit CClipboardHeadKeeper(size_t lines, size_t maxBytes = kClipboardHeadBytes)
      : m_lines(lines), m_maxBytes(maxBytes)
  {}
  // A new copy arrived and its fetch begins; the number names the fetch in its answer.
  unsigned Begin();
  // The fetch's answer: the copy's bytes, or nothing when it gave no text.
  void Answer(unsigned fetch, std::optional<std::string_view> bytes);
  bool Awaits(unsigned fetch) const { return fetch == m_fetch && m_state == EClipboardHead::NotYet; }
  // The number of the last fetch begun: a later one means another copy arrived.
  unsigned Fetches() const { return m_fetch; }
  EClipboardHead State() const { return m_state; }
  // Decoded once, when the answer came, not at every right-click.
  const std::wstring& Head() const { return m_head; }
  size_t Lines() const { return m_lines; }
  // Keeps that many lines from the next fetch on; the head kept so far no longer counts.
  void SetLines(size_t lines)
  {
    m_lines = lines;
    Begin();
  }

private:
  size_t m_lines, m_maxBytes;
  unsigned m_fetch = 0;
  EClipboardHead m_state = EClipboardHead::NotYet;
  std::wstring m_head;
};
