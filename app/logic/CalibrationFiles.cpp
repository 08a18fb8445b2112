#include "CalibrationFiles.h"

#include "CZCSVFile.h"
#include "EncoderCalibration.h"
#include "NativePath.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace {
constexpr int kHeaderRows = 2; // the banner and the label line

// The whole cell, blanks around it aside, as a finite number.
std::optional<float> CellNumber(CString text)
{
  text.Trim(L" \t");
  std::string narrow;
  for (int i = 0; i < text.GetLength(); ++i) {
    const wchar_t c = text[i];
    if (c > 0x7F)
      return std::nullopt;
    narrow += char(c);
  }
  float value = 0.0f;
  const char* end = narrow.data() + narrow.size();
  const auto [at, ec] = std::from_chars(narrow.data(), end, value);
  if (narrow.empty() || ec != std::errc() || at != end || !std::isfinite(value))
    return std::nullopt;
  return value;
}
} // namespace

CString CalibrationFolderName(const CString& serialNumber)
{
  CString name = serialNumber;
  name.Trim(L" \t\r\n");
  for (int i = 0; i < name.GetLength(); ++i)
    if (name[i] == L'/' || name[i] < 0x20 || name[i] == 0x7F)
      name.SetAt(i, L'_');
  if (name == L"." || name == L"..")
    return CString();
  return name;
}

bool CalibrationFilesExist(const CString& folder)
{
  std::error_code ec;
  for (const wchar_t* file : kCalibrationFiles)
    if (!std::filesystem::is_regular_file(NativePath(folder + file), ec))
      return false;
  return true;
}

bool ExportCalibrationCurve(const CSpectrumData& data, const CString& path)
{
  const std::string target = NativePath(path);
  const std::string temporary = target + ".tmp" + std::to_string(getpid());
  CString temporaryPath = FromNativePath(temporary);
  std::error_code ec;
  if (!data.ExportToCSVFile(temporaryPath)) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

std::optional<SCalibrationCurveFile> ReadCalibrationCurve(const CString& path)
{
  CZCSVFile csv;
  csv.GetSection(1)->SetSize(kCalibrationPoints, 2, kHeaderRows, 0, L',', L':');
  if (!csv.Open(path, CFile::modeRead))
    return std::nullopt;
  csv.Read();
  csv.Close();
  const CZStringGrid& grid = *csv.GetSection(1);
  SCalibrationCurveFile curve;
  for (int row = 1; row <= kCalibrationPoints; ++row) {
    const std::optional<float> x = CellNumber(grid.GetString(row, 1));
    const std::optional<float> y = CellNumber(grid.GetString(row, 2));
    if (!x || !y)
      return std::nullopt;
    curve.x.push_back(*x);
    curve.y.push_back(*y);
  }
  return curve;
}
