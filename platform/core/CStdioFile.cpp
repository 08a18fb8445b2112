#include "CStdioFile.h"

#include "TextConversion.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kReadAheadBytes = 16384;
}

CStdioFile::~CStdioFile() = default;

// CFile::Open closes first, through Close below, so nothing read ahead survives a reopening.
bool CStdioFile::Open(const wchar_t* path, UINT flags)
{
  return CFile::Open(path, flags & ~UINT(typeText));
}

void CStdioFile::Close()
{
  m_readAhead.clear();
  m_readAheadPos = 0;
  m_lastWrittenCR = false;
  CFile::Close();
}

void CStdioFile::DropReadAhead()
{
  size_t unread = m_readAhead.size() - m_readAheadPos;
  m_readAhead.clear();
  m_readAheadPos = 0;
  if (unread > 0)
    CFile::Seek(-LONGLONG(unread), current);
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
  if (!buffer || count == 0)
    return 0;
  auto* out = static_cast<char*>(buffer);
  size_t fromAhead = std::min(size_t(count), m_readAhead.size() - m_readAheadPos);
  std::memcpy(out, m_readAhead.data() + m_readAheadPos, fromAhead);
  m_readAheadPos += fromAhead;
  if (m_readAheadPos == m_readAhead.size()) {
    m_readAhead.clear();
    m_readAheadPos = 0;
  }
  if (fromAhead == count)
    return count;
  return UINT(fromAhead) + CFile::Read(out + fromAhead, count - UINT(fromAhead));
}

bool CStdioFile::Write(const void* buffer, UINT count)
{
  DropReadAhead();
  bool written = CFile::Write(buffer, count);
  if (count > 0 && buffer)
    m_lastWrittenCR = static_cast<const char*>(buffer)[count - 1] == '\r';
  return written;
}

ULONGLONG CStdioFile::GetPosition() const
{
  return CFile::GetPosition() - (m_readAhead.size() - m_readAheadPos);
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, SeekPosition from)
{
  DropReadAhead();
  m_lastWrittenCR = false;
  return CFile::Seek(offset, from);
}

bool CStdioFile::ReadLineBytes(std::string& bytes, CStringA& lineEnd)
{
  bytes.clear();
  lineEnd.Empty();
  bool gotAny = false;
  for (;;) {
    if (m_readAheadPos < m_readAhead.size()) {
      gotAny = true;
      size_t stop = m_readAhead.find('\n', m_readAheadPos);
      if (stop != std::string::npos) {
        bytes.append(m_readAhead, m_readAheadPos, stop - m_readAheadPos);
        m_readAheadPos = stop + 1;
        if (!bytes.empty() && bytes.back() == '\r') {
          bytes.pop_back();
          lineEnd = "\r\n";
        } else {
          lineEnd = "\n";
        }
        return true;
      }
      bytes.append(m_readAhead, m_readAheadPos, std::string::npos);
    }
    m_readAhead.resize(kReadAheadBytes);
    m_readAheadPos = 0;
    UINT got = CFile::Read(m_readAhead.data(), UINT(kReadAheadBytes));
    m_readAhead.resize(got);
    if (got == 0)
      return gotAny;
  }
}

bool CStdioFile::ReadString(CString& line, CStringA& lineEnd)
{
  if (!IsOpen())
    return false;
  bool atStart = GetPosition() == 0;
  std::string bytes;
  if (!ReadLineBytes(bytes, lineEnd))
    return false;
  if (atStart && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
    bytes.erase(0, 3);
  line = IsValidUtf8(bytes) ? FromUtf8(bytes) : FromWindows1252(bytes);
  return true;
}

bool CStdioFile::ReadString(CString& line)
{
  CStringA lineEnd;
  return ReadString(line, lineEnd);
}

bool CStdioFile::WriteString(const wchar_t* text)
{
  if (!text)
    return false;
  CString converted;
  bool afterCR = m_lastWrittenCR;
  for (const wchar_t* p = text; *p; ++p) {
    if (*p == L'\n' && !afterCR)
      converted += L'\r';
    converted += *p;
    afterCR = *p == L'\r';
  }
  std::string bytes = ToUtf8(converted);
  return Write(bytes.data(), UINT(bytes.size()));
}
