#pragma once
// The settings file: the titles and commands of the eight traces and the eight custom actions as a
// CSV table that users move between machines. Its first row is "HVXProConfig", "Version" and the
// program's version; then, for n = 1 to 8, the rows "Trace n" and "Action n" with "Title" or
// "Command" and the value, written only for a non-empty command. A command's line breaks are "|"
// in the file.
#include "CString.h"
#include "CZStringGrid.h"
#include "TraceActionProfile.h"
#include "WinTypes.h"

inline constexpr const wchar_t* kSettingsFileFilter = L"HVXProConfig Settings (*.csv)|*.csv";

// The path with ".csv" appended when it has no extension.
CString SettingsPathWithExtension(const CString& path);

void FillSettingsGrid(CZStringGrid& grid, const STraceActionProfile& profile, const CString& versionText);

// The program writes about 33 short rows; a file over this size is something else (a log, a data
// export) and is refused before any of it is read.
inline constexpr ULONGLONG kSettingsFileLimit = 1024 * 1024;

// Writes the settings file through a new file that replaces the old one only once it is whole.
// False when it could not be written; the file at path is then as it was.
bool SaveSettingsFile(const CString& path, const STraceActionProfile& profile, const CString& versionText);

enum class ESettingsLoad {
  Loaded,
  CannotOpen,
  UnknownFormat,
  TooLarge, // over kSettingsFileLimit bytes
};
// Merges the rows of the settings file into the profile; entries the file does not name keep
// what they had. A value that was written without quoting is taken as the file holds it. Anything
// but Loaded leaves the profile as it was.
ESettingsLoad LoadSettingsFile(const CString& path, STraceActionProfile& profile);
