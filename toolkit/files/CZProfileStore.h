#pragma once
// The user's profile: sections of named text values in one settings file, which stands in for the
// registry key that the program's profile lives under. Every write reaches the file at once, so a
// program that ends abruptly keeps what it wrote. Values are kept as given: no environment
// variables are expanded and line breaks ("\r\n" between script lines) come back as they went in.
// Problems with the file are reported on the standard error stream, never in a window.
//
// The program writes a few kilobytes; a profile over kProfileLimit bytes (or one that is no plain
// file) is something else, and reading it would cost memory and seconds before the window
// appears. It is not read and never written: the program runs on its defaults, keeps what it
// sets for this session only, and says so once on the standard error stream.
#include "CString.h"
#include "WinTypes.h"

#include <memory>

class wxFileConfig;

class CZProfileStore {
public:
  static constexpr unsigned long long kProfileLimit = 256 * 1024;

  // Reads the settings file at the path (absent: an empty profile); its folder is created first.
  explicit CZProfileStore(const CString& filePath);
  ~CZProfileStore();
  CZProfileStore(const CZProfileStore&) = delete;
  CZProfileStore& operator=(const CZProfileStore&) = delete;

  const CString& GetFilePath() const { return m_filePath; }
  // The file at the path was left unread (see above); values then live only in memory.
  bool IsFileRefused() const { return m_fileRefused; }

  // The value, or the default when the section or entry does not exist (null default: empty).
  CString GetString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const;
  // A null value deletes the entry; a null entry deletes the whole section. False when the value
  // could not be stored in the file (always, once the file was refused).
  bool WriteString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
  // A value that is not a whole decimal number reads as the default.
  UINT GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
  bool WriteInt(const wchar_t* section, const wchar_t* entry, int value);

private:
  CString m_filePath;
  bool m_fileRefused = false;
  std::unique_ptr<wxFileConfig> m_config;
};
