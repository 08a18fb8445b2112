#include "CalibrationFiles.h"

#include "CStdioFile.h"
#include "EncoderCalibration.h"
#include "NativePath.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace {
// The first line of every data set's CSV export.
constexpr const wchar_t* kCsvExportBanner = L"ZSpectrumData CSV output";
// A written curve takes some 5 KB; anything much larger is no curve file and is not read in.
constexpr std::uintmax_t kMaxCurveFileBytes = 64 * 1024;

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

std::optional<SCalibrationCurveFile> ReadCalibrationCurve(const CString& path, const CString& yLabel)
{
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(NativePath(path), ec);
  if (ec || size > kMaxCurveFileBytes)
    return std::nullopt;
  CStdioFile file;
  if (!file.Open(path, CFile::modeRead))
    return std::nullopt;
  // The rows alone cannot tell the curves apart: every one has 360 rows of an angle and a value.
  CString line;
  if (!file.ReadString(line) || line != kCsvExportBanner)
    return std::nullopt;
  if (!file.ReadString(line) || line != CString(kCalibrationAngleLabel) + L"," + yLabel)
    return std::nullopt;
  SCalibrationCurveFile curve;
  for (int row = 0; row < kCalibrationPoints; ++row) {
    if (!file.ReadString(line))
      return std::nullopt;
    // A third cell leaves a comma in the second, which is then no number.
    const int comma = line.Find(L',');
    if (comma < 0)
      return std::nullopt;
    const std::optional<float> x = CellNumber(line.Left(comma));
    const std::optional<float> y = CellNumber(line.Mid(comma + 1));
    if (!x || !y || *x != float(row))
      return std::nullopt;
    curve.x.push_back(*x);
    curve.y.push_back(*y);
  }
  while (file.ReadString(line))
    if (!line.Trim(L" \t").IsEmpty())
      return std::nullopt;
  return curve;
}

namespace {
std::unique_ptr<CSpectrumData> ResultSet(const wchar_t* name, const wchar_t* yLabel,
                                         const std::array<float, kCalibrationPoints>& values)
{
  auto data = std::make_unique<CSpectrumData>(name, kCalibrationPoints, 1);
  data->SetName(name);
  data->SetXLabel(kCalibrationAngleLabel);
  data->SetYLabel(yLabel);
  for (int i = 0; i < kCalibrationPoints; ++i) {
    data->SetX(i, float(i));
    data->SetY(i, values[size_t(i)]);
  }
  return data;
}
} // namespace

SCalibrationResultSets CalibrationResultSets(const SCalibrationCurves& curves)
{
  SCalibrationResultSets sets;
  sets.cw = ResultSet(L"CW", kCwErrorLabel, curves.cw);
  sets.ccw = ResultSet(L"CCW", kCcwErrorLabel, curves.ccw);
  sets.error = ResultSet(L"Error", kEncoderErrorLabel, curves.error);
  sets.lag = ResultSet(L"Lag", kGearLagLabel, curves.lag);
  sets.error->Smooth(10);
  return sets;
}
