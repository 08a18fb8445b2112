#pragma once
// CArchive writes and reads the byte layout of the data-set archive format exactly, so that
// archives move between systems: little-endian integers, BOOL as 4 bytes, BYTE and bool as 1,
// floats and doubles bit for bit, COLORREF as 4 bytes 0x00BBGGRR. A CString is stored as the tag
// FF FE FF, its length in UTF-16 code units (1 byte when < 0xFF, else FF + WORD when < 0xFFFE,
// else FF FF FF + DWORD), then UTF-16LE units; the reader also takes the untagged narrow form
// (length prefix, then bytes). A short read throws CArchiveException with cause endOfFile.
#include "CFile.h"
#include "CString.h"
#include "WinTypes.h"

#include <cstddef>
#include <exception>
#include <functional>

// Thrown by the archive; visible across the shared library boundary so that a caller of the
// spectrum library can catch what the library throws.
class __attribute__((visibility("default"))) CArchiveException : public std::exception {
public:
  enum Cause {
    none = 0,
    genericException = 1,
    readOnly = 2,
    endOfFile = 3,
    writeOnly = 4,
    badIndex = 5,
    badClass = 6,
    badSchema = 7,
  };
  explicit CArchiveException(int cause = none, const wchar_t* fileName = nullptr);
  ~CArchiveException() override;
  const char* what() const noexcept override;

  int m_cause;
  CString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(int cause, const wchar_t* fileName = nullptr);

class CArchive {
public:
  enum Mode { store = 0, load = 1 };

  // The archive neither owns nor closes the file. Storing writes straight through to it.
  CArchive(CFile* file, UINT mode);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return m_loading; }
  bool IsStoring() const { return !m_loading; }
  CFile* GetFile() const { return m_file; }

  // Raw bytes. Read returns how many bytes it got (it does not throw on a short read); Write
  // throws CArchiveException (genericException) when the file refuses the bytes.
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);
  // Reads exactly count bytes or throws endOfFile.
  void ReadExact(void* buffer, UINT count);

  // One stretch of memory that ReadPieces fills.
  struct Piece {
    void* to;
    size_t bytes;
  };
  // Reads the next bytes of the archive into the pieces in turn, as ReadExact into each would, and
  // calls done(k) as soon as piece k is in, while it is fresh in the cache. A large block is
  // shared out among the process's helper threads, which read at once: done is then called on
  // whichever thread read the piece, in no set order, and must be safe to call so for different
  // pieces. Throws endOfFile when the archive holds fewer bytes; an exception from done is passed
  // on once no piece is under way any more (the pieces after it are left unread).
  void ReadPieces(const Piece* pieces, size_t count, const std::function<void(size_t)>& done);
  void Flush();
  void Close();

  // How many bytes are left to read, for checking a count before allocating for it.
  ULONGLONG GetRemaining() const;
  // Memory a load sets aside that no bytes of the archive stand for (records an older layout
  // implies as zeros). Every load from this archive shares one allowance: as many bytes as the
  // file holds, but at least floor. False, with nothing taken, when bytes exceed what is left.
  bool TakeUnbacked(ULONGLONG bytes, ULONGLONG floor);

  CArchive& operator<<(BYTE v);
  CArchive& operator<<(bool v);
  CArchive& operator<<(char v);
  CArchive& operator<<(WORD v);
  CArchive& operator<<(SHORT v);
  CArchive& operator<<(int v);
  CArchive& operator<<(UINT v);
  CArchive& operator<<(LONGLONG v);
  CArchive& operator<<(ULONGLONG v);
  CArchive& operator<<(float v);
  CArchive& operator<<(double v);
  CArchive& operator<<(const CString& v);
  CArchive& operator<<(const wchar_t* v);
  // A narrow literal would otherwise be stored as a bool; narrow text goes through WriteStringA.
  CArchive& operator<<(const char* v) = delete;

  CArchive& operator>>(BYTE& v);
  CArchive& operator>>(bool& v);
  CArchive& operator>>(char& v);
  CArchive& operator>>(WORD& v);
  CArchive& operator>>(SHORT& v);
  CArchive& operator>>(int& v);
  CArchive& operator>>(UINT& v);
  CArchive& operator>>(LONGLONG& v);
  CArchive& operator>>(ULONGLONG& v);
  CArchive& operator>>(float& v);
  CArchive& operator>>(double& v);
  CArchive& operator>>(CString& v);

  // Narrow (byte) text with the same length prefix, untagged.
  void WriteStringA(const CStringA& v);

private:
  [[noreturn]] void Fail(int cause) const;
  void CheckLoading() const;
  void CheckStoring() const;
  template <typename T> void Put(T v);
  template <typename T> T Get();
  void WriteBytes(const BYTE* data, size_t count);
  void ReadBytes(BYTE* data, size_t count);
  void WriteStringLength(ULONGLONG length, bool wide);
  ULONGLONG ReadStringLength(bool& wide);

  CFile* m_file;
  bool m_loading;
  ULONGLONG m_unbacked = 0; // taken by TakeUnbacked so far
};
