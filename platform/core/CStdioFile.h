#pragma once
// A text file read and written line by line. On disk the text is UTF-8 without a byte-order mark;
// a line that is not valid UTF-8 (one written by a Windows program) is read as Windows-1252, and a
// byte-order mark at the start of the file is skipped. "\r\n" and "\n" both end a line when read;
// lines are written with "\r\n", as the Windows text mode the files come from writes them.
#include "CFile.h"

#include <string>

class CStdioFile : public CFile {
public:
  static constexpr UINT typeText = 0x4000;

  CStdioFile() = default;
  ~CStdioFile() override;

  bool Open(const wchar_t* path, UINT flags) override;
  void Close() override;
  UINT Read(void* buffer, UINT count) override;
  bool Write(const void* buffer, UINT count) override;
  ULONGLONG GetPosition() const override;
  ULONGLONG Seek(LONGLONG offset, SeekPosition from) override;

  // The next line without its line end; false at the end of the file (nothing left to read).
  virtual bool ReadString(CString& line);
  // The same, and what ended the line: "\r\n", "\n", or nothing for a last line without one.
  bool ReadString(CString& line, CStringA& lineEnd);
  // Writes the text as UTF-8; a "\n" that does not follow a "\r" is written as "\r\n".
  virtual bool WriteString(const wchar_t* text);

private:
  // Bytes read from the file beyond the caller's position, so that a line is not read a byte at
  // a time; dropped (and the file put back) before anything else touches the file.
  void DropReadAhead();
  bool ReadLineBytes(std::string& bytes, CStringA& lineEnd);

  std::string m_readAhead;
  size_t m_readAheadPos = 0;
  bool m_lastWrittenCR = false;
};
