#include "CompatibilityTable.h"

#include "CLocale.h"
#include "CZTextFile.h"
#include "FileFunctions.h"
#include "TextConversion.h"
#include "VersionNumbers.h"

const char* const kCompatibilityTablePath = "/HVXPro/HVXPro%20-%20Compatibility.csv";

namespace {
bool IsReleased(const CString& status)
{
  return status == L"alpha" || status == L"beta" || status == L"public";
}

struct SColumns {
  explicit SColumns(const CZStringGrid& table)
      : config(table.FindColumn(1, L"Config", 1)), bootloader(table.FindColumn(1, L"Bootloader", 1)),
        board(table.FindColumn(1, L"Board", 1)), model(table.FindColumn(1, L"Model", 1)),
        firmware(table.FindColumn(1, L"Firmware", 1)), status(table.FindColumn(1, L"Status", 1))
  {}
  int config, bootloader, board, model, firmware, status;
};

// Column 0 is a lacking column: it reads as an empty cell.
CString Cell(const CZStringGrid& table, int row, int column)
{
  return column > 0 ? table.GetString(row, column) : CString();
}

std::string Narrow(const CString& text)
{
  return ToUtf8(text);
}
} // namespace

std::string FirmwarePath(const CString& normalisedFirmwareVersion)
{
  return "/HVXPro/Firmware/HVXP-FIRMWAREver" + Narrow(normalisedFirmwareVersion) + ".hex";
}

std::string InstallerPath(const CString& programVersion)
{
  return "/HVXPro/Config/HVXProConfig%20Setup%20v" + Narrow(programVersion) + ".msi";
}

bool ParseCompatibilityTable(const std::string& body, const CString& filePath, CZStringGrid& table)
{
  table.SetSize(10, 6, 1, 0, L',', L':');
  std::string text;
  text.reserve(body.size());
  for (char c : body) {
    if (c == '\0')
      break;
    if (c != '\r')
      text += c;
  }
  if (text.empty())
    return false;
  CZTextFile file;
  if (!file.Open(filePath, CFile::modeCreate | CFile::modeWrite))
    return false;
  const bool written = file.Write(text.data(), UINT(text.size()));
  file.Close();
  bool read = false;
  if (written && file.Open(filePath, CFile::modeRead)) {
    table.ReadFrom(file, L"\n", 0, 0);
    file.Close();
    read = true;
  }
  DeleteFiles(filePath);
  return read;
}

bool ModelRangeContains(const CString& cell, int modelId)
{
  int start = 0;
  const CString low = cell.Tokenize(L"- ", start);
  const int high = start < 0 ? 0 : _wtoi(cell.Mid(start));
  return modelId >= _wtoi(low) && modelId <= high;
}

bool FindNewFirmware(const CZStringGrid& table, long long programVersion, const SServoIdentity& servo,
                     CString& latestFirmware)
{
  const SColumns c(table);
  if (table.GetRowCount() < 1 || c.config == 0)
    return false;
  bool found = false;
  for (int row = 1; row <= table.GetRowCount(); ++row) {
    const bool qualifies = IsReleased(Cell(table, row, c.status)) &&
                           ParseVersion(Cell(table, row, c.config)) == programVersion &&
                           ParseVersion(Cell(table, row, c.bootloader)) == servo.bootloaderVersion &&
                           _wtoi(Cell(table, row, c.board)) == servo.boardId &&
                           ModelRangeContains(Cell(table, row, c.model), servo.modelId) &&
                           ParseVersion(Cell(table, row, c.firmware)) > servo.firmwareVersion;
    if (qualifies) {
      latestFirmware = NormaliseVersion(Cell(table, row, c.firmware));
      found = true;
    }
  }
  return found;
}

bool FindNewProgram(const CZStringGrid& table, long long programVersion, CString& latestProgram)
{
  const SColumns c(table);
  long long best = programVersion;
  if (table.GetRowCount() >= 1 && c.config != 0)
    for (int row = 1; row <= table.GetRowCount(); ++row) {
      const CString config = Cell(table, row, c.config);
      if (IsReleased(Cell(table, row, c.status)) && ParseVersion(config) > best) {
        best = ParseVersion(config);
        latestProgram = config;
      }
    }
  return best > programVersion;
}
