#include "CArchive.h"

#include "HelperThreads.h"
#include "TextConversion.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

namespace {

// Raw writes and reads go through UINT counts; longer blocks are split.
constexpr size_t kChunk = size_t(1) << 30;

// A block this large is shared out among the helper threads: below it, waking them costs more
// than the copying they would take over.
constexpr size_t kShareFrom = size_t(4) << 20;

template <typename T> void ToLittleEndian(T v, BYTE* out)
{
  for (size_t i = 0; i < sizeof(T); ++i)
    out[i] = BYTE((v >> (8 * i)) & 0xFF);
}

template <typename T> T FromLittleEndian(const BYTE* in)
{
  T v = 0;
  for (size_t i = 0; i < sizeof(T); ++i)
    v = T(v | (T(in[i]) << (8 * i)));
  return v;
}

} // namespace

CArchiveException::CArchiveException(int cause, const wchar_t* fileName)
    : m_cause(cause), m_strFileName(fileName)
{}

CArchiveException::~CArchiveException() = default;

const char* CArchiveException::what() const noexcept
{
  switch (m_cause) {
  case genericException:
    return "archive: the file could not be written or read";
  case readOnly:
    return "archive: storing into an archive opened for loading";
  case endOfFile:
    return "archive: unexpected end of file";
  case writeOnly:
    return "archive: loading from an archive opened for storing";
  case badIndex:
    return "archive: bad index";
  case badClass:
    return "archive: bad class";
  case badSchema:
    return "archive: unsupported schema";
  default:
    return "archive: error";
  }
}

void AfxThrowArchiveException(int cause, const wchar_t* fileName)
{
  throw CArchiveException(cause, fileName);
}

CArchive::CArchive(CFile* file, UINT mode) : m_file(file), m_loading((mode & load) != 0) {}

CArchive::~CArchive()
{
  // Never throws: a caller that must know whether the data reached the disk calls Close first.
  if (m_file && !m_loading)
    m_file->Flush();
}

[[noreturn]] void CArchive::Fail(int cause) const
{
  AfxThrowArchiveException(cause, m_file ? m_file->GetFilePath().GetString() : nullptr);
}

void CArchive::CheckLoading() const
{
  if (!m_file)
    Fail(CArchiveException::genericException);
  if (!m_loading)
    Fail(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
  if (!m_file)
    Fail(CArchiveException::genericException);
  if (m_loading)
    Fail(CArchiveException::readOnly);
}

UINT CArchive::Read(void* buffer, UINT count)
{
  CheckLoading();
  return count == 0 ? 0 : m_file->Read(buffer, count);
}

void CArchive::Write(const void* buffer, UINT count)
{
  CheckStoring();
  if (count && !m_file->Write(buffer, count))
    Fail(CArchiveException::genericException);
}

void CArchive::ReadExact(void* buffer, UINT count)
{
  if (Read(buffer, count) != count)
    Fail(CArchiveException::endOfFile);
}

void CArchive::ReadPieces(const Piece* pieces, size_t count, const std::function<void(size_t)>& done)
{
  CheckLoading();
  std::vector<ULONGLONG> offsets(count);
  size_t total = 0;
  for (size_t k = 0; k < count; ++k) {
    offsets[k] = total;
    total += pieces[k].bytes;
  }
  if (total < kShareFrom) {
    for (size_t k = 0; k < count; ++k) {
      ReadBytes(static_cast<BYTE*>(pieces[k].to), pieces[k].bytes);
      done(k);
    }
    return;
  }
  if (total > GetRemaining())
    Fail(CArchiveException::endOfFile);
  // A seek to where the archive stands puts out any buffered writes and drops what was read ahead,
  // so that the file itself holds what the readers read.
  const ULONGLONG start = m_file->GetPosition();
  m_file->Seek(LONGLONG(start), CFile::begin);

  // After a failure the remaining pieces are passed over.
  std::atomic<bool> stop{false};
  std::atomic<bool> ended{false};
  std::mutex failureLock;
  std::exception_ptr failure;
  HelperThreads::Shared().Share(count, [&](size_t k) {
    if (stop.load(std::memory_order_relaxed))
      return;
    if (m_file->ReadAt(start + offsets[k], pieces[k].to, pieces[k].bytes) != pieces[k].bytes) {
      ended = true;
      stop = true;
      return;
    }
    try {
      done(k);
    } catch (...) {
      const std::lock_guard<std::mutex> lock(failureLock);
      if (!failure)
        failure = std::current_exception();
      stop = true;
    }
  });
  if (failure)
    std::rethrow_exception(failure);
  if (ended)
    Fail(CArchiveException::endOfFile);
  m_file->Seek(LONGLONG(start + total), CFile::begin);
}

void CArchive::Flush()
{
  if (m_file && !m_loading && !m_file->Flush())
    Fail(CArchiveException::genericException);
}

void CArchive::Close()
{
  Flush();
  m_file = nullptr;
}

ULONGLONG CArchive::GetRemaining() const
{
  if (!m_file || !m_loading)
    return 0;
  ULONGLONG length = m_file->GetLength();
  ULONGLONG position = m_file->GetPosition();
  return position < length ? length - position : 0;
}

bool CArchive::TakeUnbacked(ULONGLONG bytes, ULONGLONG floor)
{
  const ULONGLONG allowance = std::max(floor, m_file ? m_file->GetLength() : 0);
  if (m_unbacked > allowance || bytes > allowance - m_unbacked)
    return false;
  m_unbacked += bytes;
  return true;
}

template <typename T> void CArchive::Put(T v)
{
  BYTE bytes[sizeof(T)];
  ToLittleEndian(v, bytes);
  Write(bytes, UINT(sizeof bytes));
}

template <typename T> T CArchive::Get()
{
  BYTE bytes[sizeof(T)];
  ReadExact(bytes, UINT(sizeof bytes));
  return FromLittleEndian<T>(bytes);
}

CArchive& CArchive::operator<<(BYTE v)
{
  return Put(v), *this;
}
CArchive& CArchive::operator<<(bool v)
{
  return Put(BYTE(v ? 1 : 0)), *this;
}
CArchive& CArchive::operator<<(char v)
{
  return Put(BYTE(v)), *this;
}
CArchive& CArchive::operator<<(WORD v)
{
  return Put(v), *this;
}
CArchive& CArchive::operator<<(SHORT v)
{
  return Put(WORD(v)), *this;
}
CArchive& CArchive::operator<<(int v)
{
  return Put(uint32_t(v)), *this;
}
CArchive& CArchive::operator<<(UINT v)
{
  return Put(uint32_t(v)), *this;
}
CArchive& CArchive::operator<<(LONGLONG v)
{
  return Put(uint64_t(v)), *this;
}
CArchive& CArchive::operator<<(ULONGLONG v)
{
  return Put(uint64_t(v)), *this;
}

CArchive& CArchive::operator<<(float v)
{
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return Put(bits), *this;
}

CArchive& CArchive::operator<<(double v)
{
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return Put(bits), *this;
}

CArchive& CArchive::operator>>(BYTE& v)
{
  return v = Get<BYTE>(), *this;
}
CArchive& CArchive::operator>>(bool& v)
{
  return v = Get<BYTE>() != 0, *this;
}
CArchive& CArchive::operator>>(char& v)
{
  return v = char(Get<BYTE>()), *this;
}
CArchive& CArchive::operator>>(WORD& v)
{
  return v = Get<WORD>(), *this;
}
CArchive& CArchive::operator>>(SHORT& v)
{
  return v = SHORT(Get<WORD>()), *this;
}
CArchive& CArchive::operator>>(int& v)
{
  return v = int(Get<uint32_t>()), *this;
}
CArchive& CArchive::operator>>(UINT& v)
{
  return v = UINT(Get<uint32_t>()), *this;
}
CArchive& CArchive::operator>>(LONGLONG& v)
{
  return v = LONGLONG(Get<uint64_t>()), *this;
}
CArchive& CArchive::operator>>(ULONGLONG& v)
{
  return v = Get<uint64_t>(), *this;
}

CArchive& CArchive::operator>>(float& v)
{
  uint32_t bits = Get<uint32_t>();
  std::memcpy(&v, &bits, sizeof v);
  return *this;
}

CArchive& CArchive::operator>>(double& v)
{
  uint64_t bits = Get<uint64_t>();
  std::memcpy(&v, &bits, sizeof v);
  return *this;
}

void CArchive::WriteBytes(const BYTE* data, size_t count)
{
  for (size_t done = 0; done < count; done += kChunk)
    Write(data + done, UINT(std::min(kChunk, count - done)));
}

void CArchive::ReadBytes(BYTE* data, size_t count)
{
  for (size_t done = 0; done < count; done += kChunk)
    ReadExact(data + done, UINT(std::min(kChunk, count - done)));
}

void CArchive::WriteStringLength(ULONGLONG length, bool wide)
{
  if (wide) {
    Put(BYTE(0xFF));
    Put(WORD(0xFFFE));
  }
  if (length < 0xFF) {
    Put(BYTE(length));
  } else if (length < 0xFFFE) {
    Put(BYTE(0xFF));
    Put(WORD(length));
  } else if (length < 0xFFFFFFFF) {
    Put(BYTE(0xFF));
    Put(WORD(0xFFFF));
    Put(uint32_t(length));
  } else {
    Put(BYTE(0xFF));
    Put(WORD(0xFFFF));
    Put(uint32_t(0xFFFFFFFF));
    Put(uint64_t(length));
  }
}

// Each escape value announces the next, wider field. A narrow length of FF followed by the WORD
// FFFE is the wide tag; after it the scheme starts over, and there a WORD of FFFE is an ordinary
// length (the writer never produces it, but the format's own reader accepts it).
ULONGLONG CArchive::ReadStringLength(bool& wide)
{
  wide = false;
  BYTE byteLength = Get<BYTE>();
  if (byteLength < 0xFF)
    return byteLength;
  WORD wordLength = Get<WORD>();
  if (wordLength == 0xFFFE) {
    wide = true;
    byteLength = Get<BYTE>();
    if (byteLength < 0xFF)
      return byteLength;
    wordLength = Get<WORD>();
  }
  if (wordLength < 0xFFFF)
    return wordLength;
  uint32_t dwordLength = Get<uint32_t>();
  if (dwordLength < 0xFFFFFFFF)
    return dwordLength;
  return Get<uint64_t>();
}

CArchive& CArchive::operator<<(const CString& v)
{
  std::u16string units = ToUtf16(v);
  WriteStringLength(units.size(), true);
  std::vector<BYTE> bytes(units.size() * 2);
  for (size_t i = 0; i < units.size(); ++i)
    ToLittleEndian(uint16_t(units[i]), &bytes[2 * i]);
  WriteBytes(bytes.data(), bytes.size());
  return *this;
}

CArchive& CArchive::operator<<(const wchar_t* v)
{
  return *this << CString(v);
}

void CArchive::WriteStringA(const CStringA& v)
{
  WriteStringLength(ULONGLONG(v.GetLength()), false);
  WriteBytes(reinterpret_cast<const BYTE*>(v.GetString()), size_t(v.GetLength()));
}

// The length comes from the file: it is checked against what the file still holds before
// anything is allocated for it, so a damaged length costs an exception, not memory.
CArchive& CArchive::operator>>(CString& v)
{
  bool wide = false;
  ULONGLONG length = ReadStringLength(wide);
  ULONGLONG unitSize = wide ? 2 : 1;
  if (length > GetRemaining() / unitSize)
    Fail(CArchiveException::endOfFile);
  if (length > ULONGLONG(INT_MAX))
    Fail(CArchiveException::genericException);
  if (wide) {
    std::vector<BYTE> bytes(size_t(length * unitSize));
    ReadBytes(bytes.data(), bytes.size());
    std::u16string units(size_t(length), u'\0');
    for (size_t i = 0; i < units.size(); ++i)
      units[i] = char16_t(FromLittleEndian<uint16_t>(&bytes[2 * i]));
    v = FromUtf16(units);
  } else {
    // Untagged text is 8-bit; it is widened byte for byte, as the serial line's text is.
    std::string bytes(size_t(length), '\0');
    ReadBytes(reinterpret_cast<BYTE*>(bytes.data()), bytes.size());
    v = CStringA(std::move(bytes));
  }
  return *this;
}
