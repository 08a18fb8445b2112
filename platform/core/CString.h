#pragma once
// CString (wide text) and CStringA (narrow bytes) with the behaviour the program's code relies on:
// out-of-range positions clamp, Find gives -1, Tokenize ends with one empty token, Trim takes a set
// of characters, Format follows the MSVC printf rules (in a wide format "%s" takes wide text) and
// writes numbers with '.' whatever the process locale.
//
// Narrow <-> wide conversion through the constructors is byte for byte (bytes 0-255 are code
// points 0-255), so a servo reply round-trips exactly; code points above 255 become '?'. UTF-8 and
// Windows-1252 conversions are explicit, in TextConversion.h.
#include "StringFormat.h"
#include "WinTypes.h"

#include <string>
#include <string_view>

template <typename Ch> class CStringT {
public:
  using XCHAR = Ch;
  using YCHAR = std::conditional_t<std::is_same_v<Ch, wchar_t>, char, wchar_t>;
  using StringType = std::basic_string<Ch>;

  CStringT() = default;
  CStringT(const Ch* text) : m_text(text ? text : EmptyText()) {}
  CStringT(const Ch* text, int length) : m_text(text ? StringType(text, Clamp0(length)) : StringType()) {}
  CStringT(const YCHAR* text) { AssignOther(text ? std::basic_string_view<YCHAR>(text) : std::basic_string_view<YCHAR>()); }
  CStringT(const CStringT<YCHAR>& other) { AssignOther(other.View()); }
  CStringT(Ch c, int repeat = 1) : m_text(size_t(Clamp0(repeat)), c) {}
  CStringT(const StringType& text) : m_text(text) {}
  CStringT(StringType&& text) : m_text(std::move(text)) {}
  CStringT(std::basic_string_view<Ch> text) : m_text(text) {}

  CStringT& operator=(const Ch* text)
  {
    m_text = text ? text : EmptyText();
    return *this;
  }
  CStringT& operator=(const YCHAR* text)
  {
    AssignOther(text ? std::basic_string_view<YCHAR>(text) : std::basic_string_view<YCHAR>());
    return *this;
  }
  CStringT& operator=(const CStringT<YCHAR>& other)
  {
    AssignOther(other.View());
    return *this;
  }
  CStringT& operator=(Ch c)
  {
    m_text.assign(1, c);
    return *this;
  }

  // --- size and access
  int GetLength() const { return int(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  const Ch* GetString() const { return m_text.c_str(); }
  operator const Ch*() const { return m_text.c_str(); }
  Ch GetAt(int index) const { return index >= 0 && index < GetLength() ? m_text[size_t(index)] : Ch(0); }
  Ch operator[](int index) const { return GetAt(index); }
  void SetAt(int index, Ch c)
  {
    if (index >= 0 && index < GetLength())
      m_text[size_t(index)] = c;
  }
  const StringType& Str() const { return m_text; }
  std::basic_string_view<Ch> View() const { return m_text; }

  // Direct buffer access as MFC has it: GetBuffer(n) gives room for n characters, ReleaseBuffer
  // sets the length (-1: up to the first NUL).
  Ch* GetBuffer(int minLength = 0);
  Ch* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  // --- appending
  CStringT& operator+=(const CStringT& text)
  {
    m_text += text.m_text;
    return *this;
  }
  CStringT& operator+=(const Ch* text)
  {
    if (text)
      m_text += text;
    return *this;
  }
  CStringT& operator+=(const YCHAR* text) { return *this += CStringT(text); }
  CStringT& operator+=(Ch c)
  {
    m_text += c;
    return *this;
  }
  void Append(const CStringT& text) { m_text += text.m_text; }
  void Append(const Ch* text, int length)
  {
    if (text)
      m_text.append(text, size_t(Clamp0(length)));
  }
  void AppendChar(Ch c) { m_text += c; }

  // --- searching (positions are 0-based; -1 when not found or out of range)
  int Find(Ch c, int start = 0) const;
  int Find(const Ch* sub, int start = 0) const;
  int ReverseFind(Ch c) const;
  int FindOneOf(const Ch* set) const;

  // --- extracting (counts and positions are clamped to the text)
  CStringT Mid(int first) const { return Mid(first, GetLength()); }
  CStringT Mid(int first, int count) const;
  CStringT Left(int count) const;
  CStringT Right(int count) const;
  CStringT SpanIncluding(const Ch* set) const;
  CStringT SpanExcluding(const Ch* set) const;
  // Returns the token starting at or after start, skipping leading delimiters, and moves start
  // past it. At the end it returns an empty text and sets start to -1.
  CStringT Tokenize(const Ch* delimiters, int& start) const;

  // --- changing in place
  CStringT& Trim();
  CStringT& Trim(Ch c);
  CStringT& Trim(const Ch* set);
  CStringT& TrimLeft();
  CStringT& TrimLeft(Ch c);
  CStringT& TrimLeft(const Ch* set);
  CStringT& TrimRight();
  CStringT& TrimRight(Ch c);
  CStringT& TrimRight(const Ch* set);
  int Replace(Ch oldChar, Ch newChar);
  int Replace(const Ch* oldText, const Ch* newText);
  int Remove(Ch c);
  int Insert(int index, Ch c);
  int Insert(int index, const Ch* text);
  int Delete(int index, int count = 1);
  CStringT& MakeUpper();
  CStringT& MakeLower();
  CStringT& MakeReverse();
  void Truncate(int length);

  // --- comparing (ordinal; NoCase folds ASCII and Latin letters)
  int Compare(const Ch* text) const;
  int CompareNoCase(const Ch* text) const;
  int Collate(const Ch* text) const { return Compare(text); }

  // --- formatting (MSVC printf rules, '.' as decimal point)
  template <typename... Args> void Format(const Ch* format, const Args&... args)
  {
    const FormatArg list[] = {FormatArg(args)..., FormatArg()};
    m_text = FormatString(format, list, sizeof...(Args));
  }
  template <typename... Args> void AppendFormat(const Ch* format, const Args&... args)
  {
    const FormatArg list[] = {FormatArg(args)..., FormatArg()};
    m_text += FormatString(format, list, sizeof...(Args));
  }

  friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CStringT& a, const Ch* b) { return a.Compare(b) == 0; }
  friend bool operator==(const Ch* a, const CStringT& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
  friend bool operator!=(const CStringT& a, const Ch* b) { return !(a == b); }
  friend bool operator!=(const Ch* a, const CStringT& b) { return !(b == a); }
  friend bool operator<(const CStringT& a, const CStringT& b) { return a.m_text < b.m_text; }
  friend bool operator>(const CStringT& a, const CStringT& b) { return b.m_text < a.m_text; }
  friend bool operator<=(const CStringT& a, const CStringT& b) { return !(b.m_text < a.m_text); }
  friend bool operator>=(const CStringT& a, const CStringT& b) { return !(a.m_text < b.m_text); }

  friend CStringT operator+(const CStringT& a, const CStringT& b) { return CStringT(a.m_text + b.m_text); }
  friend CStringT operator+(const CStringT& a, const Ch* b) { return CStringT(a.m_text + (b ? b : EmptyText())); }
  friend CStringT operator+(const Ch* a, const CStringT& b) { return CStringT((a ? a : EmptyText()) + b.m_text); }
  friend CStringT operator+(const CStringT& a, Ch b) { return CStringT(a.m_text + b); }
  friend CStringT operator+(Ch a, const CStringT& b) { return CStringT(a + b.m_text); }

private:
  static constexpr const Ch* EmptyText()
  {
    if constexpr (std::is_same_v<Ch, wchar_t>)
      return L"";
    else
      return "";
  }
  static int Clamp0(int v) { return v < 0 ? 0 : v; }
  void AssignOther(std::basic_string_view<YCHAR> other);
  static StringType FormatString(const Ch* format, const FormatArg* args, size_t count)
  {
    if constexpr (std::is_same_v<Ch, wchar_t>)
      return FormatWide(format, args, count);
    else
      return FormatNarrow(format, args, count);
  }

  StringType m_text;
};

using CString = CStringT<wchar_t>;
using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

// FormatArg knows how to take a CString argument by its text.
template <typename Ch> inline FormatArg::FormatArg(const CStringT<Ch>& s) : FormatArg(s.GetString()) {}

template <typename Ch> struct std::hash<CStringT<Ch>> {
  size_t operator()(const CStringT<Ch>& s) const noexcept { return std::hash<std::basic_string<Ch>>()(s.Str()); }
};
