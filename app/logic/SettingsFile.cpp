#include "SettingsFile.h"

#include "CFileReplacement.h"
#include "CLocale.h"
#include "CZCSVFile.h"
#include "FileFunctions.h"
#include "GridRecord.h"

#include <vector>

namespace {

constexpr const wchar_t* kFileTag = L"HVXProConfig";
// The grid of a CZCSVFile: no key cells.
constexpr SGridTextFormat kSettingsFormat{0, L',', L':'};

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
// ("Fast" mode), which would split into cells or be taken for quoting; only a value that is one
// quoted cell, as our writer quotes, is read as the cells read it. When the key cells themselves
// were quoted, the cells from the third on are joined again, up to kMaxJoinedCells of them: a
// row of a million commas must not become a million cells.
constexpr int kMaxJoinedCells = 4096;
CString RowValue(const CString& key, const CString& kind, const CString& record)
{
  const CString separator(kSettingsFormat.separator);
  const CString keys = key + separator + kind + separator;
  if (record.Left(keys.GetLength()) == keys) {
    const CString value = record.Mid(keys.GetLength());
    if (!IsOneQuotedCell(value))
      return value;
    return SplitGridRecord(value, kSettingsFormat, 1).cells.front();
  }
  const std::vector<CString> cells = SplitGridRecord(record, kSettingsFormat, 2 + kMaxJoinedCells).cells;
  CString value = cells.size() > 2 ? cells[2] : CString();
  for (size_t i = 3; i < cells.size(); ++i) {
    value += separator;
    value += cells[i];
  }
  return value;
}

// Whether the file holds at most kSettingsFileLimit bytes, counted rather than taken from its
// length, which a pipe or a device does not have; the file is put back at its start.
bool FitsSettingsLimit(CStdioFile& file)
{
  if (file.GetLength() > kSettingsFileLimit)
    return false;
  std::vector<char> block(64 * 1024);
  ULONGLONG total = 0;
  while (total <= kSettingsFileLimit) {
    const UINT got = file.Read(block.data(), UINT(block.size()));
    if (got == 0)
      break;
    total += got;
  }
  return total <= kSettingsFileLimit;
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

// One record at a time: a file of many rows costs the memory of its longest row, not of all of them.
ESettingsLoad LoadSettingsFile(const CString& path, STraceActionProfile& profile)
{
  CZCSVFile csv;
  if (!csv.Open(path, CFile::modeRead))
    return ESettingsLoad::CannotOpen;
  if (!FitsSettingsLimit(csv))
    return ESettingsLoad::TooLarge;
  if (csv.SeekToBegin() != 0)
    return ESettingsLoad::CannotOpen;
  STraceActionProfile loaded = profile;
  CGridRecordReader reader(csv, kSettingsFormat);
  CString record, firstLine;
  bool tagged = false;
  while (reader.Read(record, &firstLine)) {
    if (IsSectionEnd(firstLine, csv.GetMarker(), kSettingsFormat.separator))
      break;
    // The key and the kind only: the value is taken from the record's text.
    const std::vector<CString> cells = SplitGridRecord(record, kSettingsFormat, 2).cells;
    if (!tagged) {
      if (cells.empty() || cells[0] != kFileTag)
        return ESettingsLoad::UnknownFormat;
      tagged = true;
      continue;
    }
    if (cells.size() < 2)
      continue;
    const SEntry entry = EntryOfKey(cells[0], loaded);
    if (!entry.title)
      continue;
    if (cells[1] == L"Title")
      *entry.title = RowValue(cells[0], cells[1], record);
    else if (cells[1] == L"Command")
      *entry.command = FromFileCommand(RowValue(cells[0], cells[1], record));
  }
  if (!tagged)
    return ESettingsLoad::UnknownFormat;
  profile = loaded;
  return ESettingsLoad::Loaded;
}
