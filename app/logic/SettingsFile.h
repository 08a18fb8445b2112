#pragma once
// The settings file: the titles and commands of the eight traces and the eight custom actions as a
// CSV table that users move between machines. Its first row is "HVXProConfig", "Version" and the
// program's version; then, for n = 1 to 8, the rows "Trace n" and "Action n" with "Title" or
// "Command" and the value, written only for a non-empty command. A command's line breaks are "|"
// in the file.
#include "CString.h"
#include "CZStringGrid.h"
#include "TraceActionProfile.h"

#include <vector>

inline constexpr const wchar_t* kSettingsFileFilter = L"HVXProConfig Settings (*.csv)|*.csv";

// The path with ".csv" appended when it has no extension.
CString SettingsPathWithExtension(const CString& path);

void FillSettingsGrid(CZStringGrid& grid, const STraceActionProfile& profile, const CString& versionText);
// Merges the rows of a settings table into the profile; entries the table does not name keep
// what they had. records are the table's rows as the file's text, one per row (as many as there
// are), from which a value that was written without quoting is taken as it stands. False, and
// nothing changed, when the table is not a settings file.
bool ApplySettingsGrid(const CZStringGrid& grid, const std::vector<CString>& records,
                       STraceActionProfile& profile);

// Writes the settings file through a new file that replaces the old one only once it is whole.
// False when it could not be written; the file at path is then as it was.
bool SaveSettingsFile(const CString& path, const STraceActionProfile& profile, const CString& versionText);

enum class ESettingsLoad {
  Loaded,
  CannotOpen,
  UnknownFormat,
};
ESettingsLoad LoadSettingsFile(const CString& path, STraceActionProfile& profile);
