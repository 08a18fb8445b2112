#include "CFile.h"

#include "CInvalidArgException.h"
#include "NativePath.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr UINT kPreallocateFrom = 1u << 20;
} // namespace

CFile::~CFile()
{
  if (m_file)
    std::fclose(m_file);
}

bool CFile::Open(const wchar_t* path, UINT flags)
{
  Close();
  if (!path || !*path)
    return false;
  std::string name = NativePath(path);
  bool create = flags & modeCreate;
  bool keep = flags & modeNoTruncate;
  bool read = !(flags & modeWrite) || (flags & modeReadWrite);
  bool write = (flags & (modeWrite | modeReadWrite)) != 0;

  std::FILE* file = nullptr;
  if (!write) {
    file = std::fopen(name.c_str(), "rb");
  } else if (create && !keep) {
    file = std::fopen(name.c_str(), read ? "w+b" : "wb");
  } else {
    // An existing file is opened without truncation; "r+b" is the only mode that allows both that
    // and writing at any position.
    file = std::fopen(name.c_str(), "r+b");
    if (!file && create)
      file = std::fopen(name.c_str(), "w+b");
  }
  if (!file)
    return false;
  m_file = file;
  m_path = path;
  m_lastAccess = LastAccess::none;
  return true;
}

void CFile::Close()
{
  if (m_file)
    std::fclose(m_file);
  m_file = nullptr;
  m_path.Empty();
  m_lastAccess = LastAccess::none;
}

void CFile::SwitchTo(LastAccess access)
{
  if (m_lastAccess != LastAccess::none && m_lastAccess != access)
    fseeko(m_file, 0, SEEK_CUR);
  m_lastAccess = access;
}

UINT CFile::Read(void* buffer, UINT count)
{
  if (!m_file || !buffer || count == 0)
    return 0;
  SwitchTo(LastAccess::read);
  return UINT(std::fread(buffer, 1, count, m_file));
}

size_t CFile::ReadAt(ULONGLONG position, void* buffer, size_t count) const
{
  if (!m_file || !buffer)
    return 0;
  const int fd = fileno(m_file);
  BYTE* to = static_cast<BYTE*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = pread(fd, to + done, count - done, off_t(position + done));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      break;
    done += size_t(got);
  }
  return done;
}

bool CFile::Write(const void* buffer, UINT count)
{
  if (count == 0)
    return true;
  if (!m_file || !buffer)
    return false;
  SwitchTo(LastAccess::write);
  // A large block gets its disk space in one piece first (the file's size is not changed): the
  // file system then neither allocates it page by page nor flushes a rewritten file on close.
  if (count >= kPreallocateFrom) {
    const off_t at = ftello(m_file);
    if (at >= 0)
      fallocate(fileno(m_file), FALLOC_FL_KEEP_SIZE, at, off_t(count));
  }
  return std::fwrite(buffer, 1, count, m_file) == count;
}

bool CFile::Flush()
{
  return m_file && std::fflush(m_file) == 0;
}

ULONGLONG CFile::GetLength() const
{
  if (!m_file)
    return 0;
  // A regular file's size as the system holds it, once buffered writes have gone out: a seek to
  // the end and back would drop what was read ahead, and a reader that checks every count against
  // the length asks often.
  if (m_lastAccess == LastAccess::write)
    std::fflush(m_file);
  struct stat status;
  if (fstat(fileno(m_file), &status) != 0)
    return 0;
  if (S_ISREG(status.st_mode))
    return ULONGLONG(status.st_size);
  // Only a block device has a length as well, which a seek to its end finds. Elsewhere the end a
  // seek reports is none (a directory's is the largest offset there is, a pipe has none).
  if (!S_ISBLK(status.st_mode))
    return 0;
  off_t here = ftello(m_file);
  if (here < 0 || fseeko(m_file, 0, SEEK_END) != 0)
    return 0;
  off_t length = ftello(m_file);
  fseeko(m_file, here, SEEK_SET);
  return length < 0 ? 0 : ULONGLONG(length);
}

ULONGLONG CFile::GetPosition() const
{
  if (!m_file)
    return 0;
  off_t here = ftello(m_file);
  return here < 0 ? 0 : ULONGLONG(here);
}

ULONGLONG CFile::Seek(LONGLONG offset, SeekPosition from)
{
  if (!m_file)
    return 0;
  int whence = from == begin ? SEEK_SET : (from == current ? SEEK_CUR : SEEK_END);
  if (fseeko(m_file, off_t(offset), whence) == 0)
    m_lastAccess = LastAccess::none;
  return GetPosition();
}

CMemFile::CMemFile(const void* data, size_t size)
{
  if (data && size)
    m_data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
}

UINT CMemFile::Read(void* buffer, UINT count)
{
  if (!buffer || m_position >= m_data.size())
    return 0;
  size_t n = std::min(size_t(count), m_data.size() - m_position);
  std::memcpy(buffer, m_data.data() + m_position, n);
  m_position += n;
  return UINT(n);
}

size_t CMemFile::ReadAt(ULONGLONG position, void* buffer, size_t count) const
{
  if (!buffer || position >= m_data.size())
    return 0;
  const size_t n = std::min(count, m_data.size() - size_t(position));
  std::memcpy(buffer, m_data.data() + position, n);
  return n;
}

bool CMemFile::Write(const void* buffer, UINT count)
{
  if (count == 0)
    return true;
  if (!buffer)
    return false;
  if (m_position + count > m_data.size())
    m_data.resize(m_position + count);
  std::memcpy(m_data.data() + m_position, buffer, count);
  m_position += count;
  return true;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, SeekPosition from)
{
  LONGLONG base = from == begin ? 0 : LONGLONG(from == current ? m_position : m_data.size());
  if (offset < 0 ? base + offset >= 0 : offset <= std::numeric_limits<LONGLONG>::max() - base)
    m_position = size_t(base + offset);
  return m_position;
}

void CFile::SetFilePath(const wchar_t* path)
{
  if (!path)
    AfxThrowInvalidArgException();
  m_path = path;
}
