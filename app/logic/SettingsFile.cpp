#include "SettingsFile.h"

#include "CFileReplacement.h"
#include "CLocale.h"
#include "CZCSVFile.h"
#include "FileFunctions.h"

namespace {

constexpr const wchar_t* kFileTag = L"HVXProConfig";

void AppendEntry(CZStringGrid& grid, const wchar_t* kind, int index, const wchar_t* entry,
                 const CString& value)
{
  grid.AppendFormat(L"%s %d", kind, index + 1);
  grid.Append(entry);
  grid.Append(value);
}

CString ToFileCommand(CString command)
{
  command.Replace(L"\r\n", L"|");
  return command;
}

CString FromFileCommand(CString command)
{
  command.Replace(L"|", L"\r\n");
  return command;
}

// The title and command of the entry that a row's key names, or null for a row to skip: the key
// starts with "Trace" or "Action", and its last character is the number 1 to 8 ("Trace 10" is 0).
struct SEntry {
  CString* title = nullptr;
  CString* command = nullptr;
};
SEntry EntryOfKey(const CString& key, STraceActionProfile& profile)
{
  const int n = _wtoi(key.Right(1));
  if (n < 1 || n > kTraceCount)
    return {};
  if (key.Left(5) == L"Trace")
    return {&profile.traceTitle[n - 1], &profile.traceCommand[n - 1]};
  if (key.Left(6) == L"Action")
    return {&profile.actionTitle[n - 1], &profile.actionCommand[n - 1]};
  return {};
}

// The value of a row: its third cell, and any cells after it joined again by the separator. Files
// were once written without quoting, so a comma in a title or a command (poly3(x,1,2,3)) split it
// into more cells; our own writer quotes such a value into the one cell.
CString RowValue(const CZStringGrid& grid, int row)
{
  const CZStringRow* cells = grid.GetRow(row);
  CString value = grid.GetString(row, 3);
  for (int i = 3; cells && i < cells->GetCellCount(); ++i) {
    value += grid.GetSeparator();
    value += cells->GetCell(i);
  }
  return value;
}

} // namespace

CString SettingsPathWithExtension(const CString& path)
{
  return GetFileExtension(path).IsEmpty() ? path + L".csv" : path;
}

void FillSettingsGrid(CZStringGrid& grid, const STraceActionProfile& profile, const CString& versionText)
{
  grid.SetString(1, 1, kFileTag);
  grid.Append(L"Version");
  grid.Append(versionText);
  for (int n = 0; n < kTraceCount; ++n) {
    if (!profile.traceCommand[n].IsEmpty()) {
      AppendEntry(grid, L"Trace", n, L"Title", profile.traceTitle[n]);
      AppendEntry(grid, L"Trace", n, L"Command", ToFileCommand(profile.traceCommand[n]));
    }
    if (!profile.actionCommand[n].IsEmpty()) {
      AppendEntry(grid, L"Action", n, L"Title", profile.actionTitle[n]);
      AppendEntry(grid, L"Action", n, L"Command", ToFileCommand(profile.actionCommand[n]));
    }
  }
}

bool ApplySettingsGrid(const CZStringGrid& grid, STraceActionProfile& profile)
{
  if (grid.GetString(1, 1) != kFileTag)
    return false;
  for (int row = 2; row <= grid.GetRowCount(); ++row) {
    const SEntry entry = EntryOfKey(grid.GetString(row, 1), profile);
    if (!entry.title)
      continue;
    const CString kind = grid.GetString(row, 2);
    if (kind == L"Title")
      *entry.title = RowValue(grid, row);
    else if (kind == L"Command")
      *entry.command = FromFileCommand(RowValue(grid, row));
  }
  return true;
}

bool SaveSettingsFile(const CString& path, const STraceActionProfile& profile, const CString& versionText)
{
  CFileReplacement replacement(path);
  if (replacement.GetTempPath().IsEmpty())
    return false;
  CZCSVFile csv;
  FillSettingsGrid(*csv.GetSection(1), profile, versionText);
  if (!csv.Open(replacement.GetTempPath(), CFile::modeCreate | CFile::modeWrite))
    return false;
  const bool written = csv.Write() == 0;
  csv.Close();
  return written && replacement.Commit();
}

ESettingsLoad LoadSettingsFile(const CString& path, STraceActionProfile& profile)
{
  CZCSVFile csv;
  if (!csv.Open(path, CFile::modeRead))
    return ESettingsLoad::CannotOpen;
  csv.Read();
  csv.Close();
  return ApplySettingsGrid(*csv.GetSection(1), profile) ? ESettingsLoad::Loaded
                                                        : ESettingsLoad::UnknownFormat;
}
