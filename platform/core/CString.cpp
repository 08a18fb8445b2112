#include "CString.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace {

template <typename Ch> bool InSet(Ch c, const Ch* set)
{
  if (!set)
    return false;
  for (; *set; ++set)
    if (*set == c)
      return true;
  return false;
}

template <typename Ch> bool IsBlank(Ch c)
{
  auto u = static_cast<std::make_unsigned_t<Ch>>(c);
  return u == ' ' || (u >= '\t' && u <= '\r');
}

// Case mapping the same whatever the process locale: towupper alone follows LC_CTYPE, which is
// "C" (ASCII only) until the GUI toolkit switches it to the user's. A fixed UTF-8 locale maps the
// rest; Latin-1 letters are mapped here so they work even where that locale is missing.
locale_t CaseLocale()
{
  static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
  return locale;
}

template <typename Ch> Ch ToUpper(Ch c)
{
  auto u = static_cast<std::make_unsigned_t<Ch>>(c);
  if (u >= 'a' && u <= 'z')
    return Ch(u - 32);
  if constexpr (sizeof(Ch) > 1) {
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
      return Ch(u - 32);
    if (u >= 0x80 && CaseLocale())
      return Ch(towupper_l(wint_t(u), CaseLocale()));
  }
  return c;
}

template <typename Ch> Ch ToLower(Ch c)
{
  auto u = static_cast<std::make_unsigned_t<Ch>>(c);
  if (u >= 'A' && u <= 'Z')
    return Ch(u + 32);
  if constexpr (sizeof(Ch) > 1) {
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
      return Ch(u + 32);
    if (u >= 0x80 && CaseLocale())
      return Ch(towlower_l(wint_t(u), CaseLocale()));
  }
  return c;
}

template <typename Ch> size_t Length(const Ch* s)
{
  return s ? std::char_traits<Ch>::length(s) : 0;
}

} // namespace

template <typename Ch> void CStringT<Ch>::AssignOther(std::basic_string_view<YCHAR> other)
{
  m_text.clear();
  m_text.reserve(other.size());
  for (YCHAR c : other) {
    auto u = static_cast<std::make_unsigned_t<YCHAR>>(c);
    if constexpr (sizeof(Ch) == 1)
      m_text += u > 0xFF ? '?' : char(u);
    else
      m_text += Ch(u);
  }
}

template <typename Ch> Ch* CStringT<Ch>::GetBuffer(int minLength)
{
  if (minLength > GetLength())
    m_text.resize(size_t(minLength));
  return m_text.data();
}

template <typename Ch> Ch* CStringT<Ch>::GetBufferSetLength(int length)
{
  m_text.resize(size_t(Clamp0(length)));
  return m_text.data();
}

template <typename Ch> void CStringT<Ch>::ReleaseBuffer(int newLength)
{
  if (newLength < 0)
    newLength = int(Length(m_text.c_str()));
  if (newLength < GetLength())
    m_text.resize(size_t(newLength));
}

template <typename Ch> int CStringT<Ch>::Find(Ch c, int start) const
{
  if (start < 0 || start >= GetLength())
    return -1;
  size_t at = m_text.find(c, size_t(start));
  return at == StringType::npos ? -1 : int(at);
}

template <typename Ch> int CStringT<Ch>::Find(const Ch* sub, int start) const
{
  if (!sub || start < 0 || start > GetLength())
    return -1;
  size_t at = m_text.find(sub, size_t(start));
  return at == StringType::npos ? -1 : int(at);
}

template <typename Ch> int CStringT<Ch>::ReverseFind(Ch c) const
{
  size_t at = m_text.rfind(c);
  return at == StringType::npos ? -1 : int(at);
}

template <typename Ch> int CStringT<Ch>::FindOneOf(const Ch* set) const
{
  if (!set || !*set)
    return -1;
  size_t at = m_text.find_first_of(set);
  return at == StringType::npos ? -1 : int(at);
}

template <typename Ch> CStringT<Ch> CStringT<Ch>::Mid(int first, int count) const
{
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CStringT(m_text.substr(size_t(first), size_t(count)));
}

template <typename Ch> CStringT<Ch> CStringT<Ch>::Left(int count) const
{
  return CStringT(m_text.substr(0, size_t(std::clamp(count, 0, GetLength()))));
}

template <typename Ch> CStringT<Ch> CStringT<Ch>::Right(int count) const
{
  count = std::clamp(count, 0, GetLength());
  return CStringT(m_text.substr(size_t(GetLength() - count)));
}

template <typename Ch> CStringT<Ch> CStringT<Ch>::SpanIncluding(const Ch* set) const
{
  size_t n = 0;
  while (n < m_text.size() && InSet(m_text[n], set))
    ++n;
  return Left(int(n));
}

template <typename Ch> CStringT<Ch> CStringT<Ch>::SpanExcluding(const Ch* set) const
{
  size_t n = 0;
  while (n < m_text.size() && !InSet(m_text[n], set))
    ++n;
  return Left(int(n));
}

template <typename Ch> CStringT<Ch> CStringT<Ch>::Tokenize(const Ch* delimiters, int& start) const
{
  if (start < 0 || start >= GetLength()) {
    start = -1;
    return CStringT();
  }
  if (!delimiters || !*delimiters) {
    CStringT rest = Mid(start);
    start = GetLength();
    return rest;
  }
  size_t from = m_text.find_first_not_of(delimiters, size_t(start));
  if (from == StringType::npos) {
    start = -1;
    return CStringT();
  }
  size_t to = m_text.find_first_of(delimiters, from);
  if (to == StringType::npos)
    to = m_text.size();
  start = int(to) + 1;
  return CStringT(m_text.substr(from, to - from));
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::TrimLeft()
{
  size_t n = 0;
  while (n < m_text.size() && IsBlank(m_text[n]))
    ++n;
  m_text.erase(0, n);
  return *this;
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::TrimLeft(Ch c)
{
  const Ch set[2] = {c, 0};
  return TrimLeft(set);
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::TrimLeft(const Ch* set)
{
  size_t n = 0;
  while (n < m_text.size() && InSet(m_text[n], set))
    ++n;
  m_text.erase(0, n);
  return *this;
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::TrimRight()
{
  size_t n = m_text.size();
  while (n > 0 && IsBlank(m_text[n - 1]))
    --n;
  m_text.resize(n);
  return *this;
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::TrimRight(Ch c)
{
  const Ch set[2] = {c, 0};
  return TrimRight(set);
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::TrimRight(const Ch* set)
{
  size_t n = m_text.size();
  while (n > 0 && InSet(m_text[n - 1], set))
    --n;
  m_text.resize(n);
  return *this;
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::Trim() { return TrimRight().TrimLeft(); }
template <typename Ch> CStringT<Ch>& CStringT<Ch>::Trim(Ch c) { return TrimRight(c).TrimLeft(c); }
template <typename Ch> CStringT<Ch>& CStringT<Ch>::Trim(const Ch* set) { return TrimRight(set).TrimLeft(set); }

template <typename Ch> int CStringT<Ch>::Replace(Ch oldChar, Ch newChar)
{
  int count = 0;
  for (Ch& c : m_text)
    if (c == oldChar) {
      c = newChar;
      ++count;
    }
  return count;
}

template <typename Ch> int CStringT<Ch>::Replace(const Ch* oldText, const Ch* newText)
{
  size_t oldLength = Length(oldText);
  if (oldLength == 0)
    return 0;
  StringType replacement = newText ? newText : EmptyText();
  StringType result;
  int count = 0;
  size_t from = 0;
  for (size_t at; (at = m_text.find(oldText, from, oldLength)) != StringType::npos; from = at + oldLength) {
    result.append(m_text, from, at - from);
    result += replacement;
    ++count;
  }
  if (count) {
    result.append(m_text, from, StringType::npos);
    m_text.swap(result);
  }
  return count;
}

template <typename Ch> int CStringT<Ch>::Remove(Ch c)
{
  size_t before = m_text.size();
  std::erase(m_text, c);
  return int(before - m_text.size());
}

template <typename Ch> int CStringT<Ch>::Insert(int index, Ch c)
{
  index = std::clamp(index, 0, GetLength());
  m_text.insert(size_t(index), 1, c);
  return GetLength();
}

template <typename Ch> int CStringT<Ch>::Insert(int index, const Ch* text)
{
  index = std::clamp(index, 0, GetLength());
  if (text)
    m_text.insert(size_t(index), text);
  return GetLength();
}

template <typename Ch> int CStringT<Ch>::Delete(int index, int count)
{
  index = std::max(index, 0);
  if (index < GetLength() && count > 0)
    m_text.erase(size_t(index), size_t(std::min(count, GetLength() - index)));
  return GetLength();
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::MakeUpper()
{
  for (Ch& c : m_text)
    c = ToUpper(c);
  return *this;
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::MakeLower()
{
  for (Ch& c : m_text)
    c = ToLower(c);
  return *this;
}

template <typename Ch> CStringT<Ch>& CStringT<Ch>::MakeReverse()
{
  std::reverse(m_text.begin(), m_text.end());
  return *this;
}

template <typename Ch> void CStringT<Ch>::Truncate(int length)
{
  if (length >= 0 && length < GetLength())
    m_text.resize(size_t(length));
}

template <typename Ch> int CStringT<Ch>::Compare(const Ch* text) const
{
  int r = m_text.compare(text ? text : EmptyText());
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

template <typename Ch> int CStringT<Ch>::CompareNoCase(const Ch* text) const
{
  if (!text)
    text = EmptyText();
  size_t i = 0;
  for (; i < m_text.size() && text[i]; ++i) {
    auto a = static_cast<std::make_unsigned_t<Ch>>(ToLower(m_text[i]));
    auto b = static_cast<std::make_unsigned_t<Ch>>(ToLower(text[i]));
    if (a != b)
      return a < b ? -1 : 1;
  }
  if (i < m_text.size())
    return 1;
  return text[i] ? -1 : 0;
}

template class CStringT<wchar_t>;
template class CStringT<char>;
