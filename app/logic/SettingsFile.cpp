#include "SettingsFile.h"

#include "CFileReplacement.h"
#include "CLocale.h"
#include "CZCSVFile.h"
#include "FileFunctions.h"
#include "GridRecord.h"

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

// Whether the text is one cell as our writer quotes it: in quotes, with every quote inside doubled.
bool IsOneQuotedCell(const CString& text)
{
  const int last = text.GetLength() - 1;
  if (last < 1 || text[0] != L'"' || text[last] != L'"')
    return false;
  for (int i = 1; i < last; ++i) {
    if (text[i] != L'"')
      continue;
    if (i + 1 == last || text[i + 1] != L'"')
      return false;
    ++i;
  }
  return true;
}

// The value of a row: the text after its key and kind as the file holds it. Files were once
// written without quoting, so a value may hold commas (poly3(x,1,2,3)) or start with a quote
// ("Fast" mode), which the grid would split into cells or take for quoting; only a value that is
// one quoted cell, as our writer quotes, is read as the grid reads it. Without the record, or
// when the key cells themselves were quoted, the grid's cells from the third on are joined again.
CString RowValue(const CZStringGrid& grid, int row, const CString* record)
{
  const CString separator(grid.GetSeparator());
  const CString keys = grid.GetString(row, 1) + separator + grid.GetString(row, 2) + separator;
  if (record && record->Left(keys.GetLength()) == keys) {
    const CString value = record->Mid(keys.GetLength());
    if (!IsOneQuotedCell(value))
      return value;
  }
  const CZStringRow* cells = grid.GetRow(row);
  CString value = grid.GetString(row, 3);
  for (int i = 3; cells && i < cells->GetCellCount(); ++i) {
    value += separator;
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

bool ApplySettingsGrid(const CZStringGrid& grid, const std::vector<CString>& records,
                       STraceActionProfile& profile)
{
  if (grid.GetString(1, 1) != kFileTag)
    return false;
  for (int row = 2; row <= grid.GetRowCount(); ++row) {
    const SEntry entry = EntryOfKey(grid.GetString(row, 1), profile);
    if (!entry.title)
      continue;
    const CString kind = grid.GetString(row, 2);
    const CString* record = size_t(row) <= records.size() ? &records[size_t(row - 1)] : nullptr;
    if (kind == L"Title")
      *entry.title = RowValue(grid, row, record);
    else if (kind == L"Command")
      *entry.command = FromFileCommand(RowValue(grid, row, record));
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
  const CZStringGrid& grid = *csv.GetSection(1);
  // The same records once more, as text: the grid keeps no trace of a value's quotes.
  std::vector<CString> records;
  csv.SeekToBegin();
  CGridRecordReader reader(csv, {grid.GetKeyColumnCount(), grid.GetSeparator(), grid.GetKeySeparator()});
  for (CString record; int(records.size()) < grid.GetTotalRowCount() && reader.Read(record);)
    records.push_back(record);
  csv.Close();
  return ApplySettingsGrid(grid, records, profile) ? ESettingsLoad::Loaded : ESettingsLoad::UnknownFormat;
}
