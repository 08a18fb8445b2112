#pragma once
// Binary files as the archive uses them: a disk file (CFile) and a growable memory block (CMemFile).
#include "CString.h"
#include "WinTypes.h"

#include <cstdio>
#include <vector>

class CFile {
public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens a disk file; false when it cannot be opened (nothing is thrown). The wide path is
  // handed to the system as UTF-8. modeCreate truncates unless modeNoTruncate is given; without
  // modeCreate the file must exist.
  virtual bool Open(const wchar_t* path, UINT flags);
  virtual void Close();
  virtual bool IsOpen() const { return m_file != nullptr; }
  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual UINT Read(void* buffer, UINT count);
  // Reads up to count bytes from the given position on, without moving the file position; several
  // threads may read at once. What was written last must have reached the file (a Seek or Flush
  // sees to that). Returns how many bytes were read.
  virtual size_t ReadAt(ULONGLONG position, void* buffer, size_t count) const;
  // Writes count bytes; false when not all of them could be written.
  virtual bool Write(const void* buffer, UINT count);
  // False when buffered data could not reach the file (a full disk, say).
  virtual bool Flush();
  // The file's length, written bytes not yet flushed included; 0 when it is not open or has no
  // length (a directory, a pipe): nothing a count may be checked against.
  virtual ULONGLONG GetLength() const;
  virtual ULONGLONG GetPosition() const;
  // Returns the new position. A seek to before the start fails and leaves the position as it was;
  // a seek past the end is allowed (a later write fills the gap with zeros).
  virtual ULONGLONG Seek(LONGLONG offset, SeekPosition from);
  ULONGLONG SeekToBegin() { return Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  const CString& GetFilePath() const { return m_path; }
  // Names the file without opening it; a null path throws CInvalidArgException.
  virtual void SetFilePath(const wchar_t* path);

private:
  // A stdio stream must be repositioned between a write and a read that follows it (and back);
  // CFile callers mix them freely.
  enum class LastAccess { none, read, write };
  void SwitchTo(LastAccess access);

  std::FILE* m_file = nullptr;
  CString m_path;
  LastAccess m_lastAccess = LastAccess::none;
};

class CMemFile : public CFile {
public:
  CMemFile() = default;
  // Starts with a copy of the given bytes, positioned at the start (for reading them back).
  CMemFile(const void* data, size_t size);

  bool Open(const wchar_t*, UINT) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return true; }
  UINT Read(void* buffer, UINT count) override;
  size_t ReadAt(ULONGLONG position, void* buffer, size_t count) const override;
  bool Write(const void* buffer, UINT count) override;
  bool Flush() override { return true; }
  ULONGLONG GetLength() const override { return m_data.size(); }
  ULONGLONG GetPosition() const override { return m_position; }
  ULONGLONG Seek(LONGLONG offset, SeekPosition from) override;

  const std::vector<BYTE>& Data() const { return m_data; }

private:
  std::vector<BYTE> m_data;
  size_t m_position = 0;
};
