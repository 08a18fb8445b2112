#pragma once
// The calibration's files: the per-servo folder named after the serial number, the four curves
// it keeps as data sets, writing one of them and reading the error table back.
#include "CString.h"
#include "EncoderCalibration.h"
#include "ZSpectrumData/CSpectrumData.h"

#include <memory>
#include <optional>
#include <vector>

inline constexpr const wchar_t* kEncoderCwErrorFile = L"Encoder CW Error.csv";
inline constexpr const wchar_t* kEncoderCcwErrorFile = L"Encoder CCW Error.csv";
inline constexpr const wchar_t* kEncoderErrorFile = L"Encoder Error.csv";
inline constexpr const wchar_t* kGearLagFile = L"Gear Lag.csv";
// In the order their presence is checked.
inline constexpr const wchar_t* kCalibrationFiles[] = {kEncoderCwErrorFile, kEncoderCcwErrorFile,
                                                       kEncoderErrorFile, kGearLagFile};

// The serial number as one folder name: blanks around it trimmed, '/' and control characters
// replaced by '_'. Empty when nothing names the servo: an empty number, "." or "..".
CString CalibrationFolderName(const CString& serialNumber);

// True when every calibration file is in the folder (a text ending in '/').
bool CalibrationFilesExist(const CString& folder);

// Writes the data set's CSV export to a temporary file beside path and renames it into place, so
// that a failure leaves the earlier file, if any, as it was. False when anything failed.
bool ExportCalibrationCurve(const CSpectrumData& data, const CString& path);

struct SCalibrationCurveFile {
  std::vector<float> x;
  std::vector<float> y;
};
inline constexpr const wchar_t* kCalibrationAngleLabel = L"Angle (deg)";
// The Y labels of the four curves, which their files carry in their label lines.
inline constexpr const wchar_t* kCwErrorLabel = L"CW Error (deg)";
inline constexpr const wchar_t* kCcwErrorLabel = L"CCW Error (deg)";
inline constexpr const wchar_t* kEncoderErrorLabel = L"Error (deg)";
inline constexpr const wchar_t* kGearLagLabel = L"Lag (deg)";

// A curve file exactly as the program writes it for the curve with this Y label: the export's
// banner line, the label line (kCalibrationAngleLabel, ',', yLabel) and 360 rows of two numbers,
// the first of each the row's angle 0 to 359, then nothing but blank lines. Nothing when the file
// does not open, is far larger than such a file, or holds anything else, such as another curve
// saved under this one's name.
std::optional<SCalibrationCurveFile> ReadCalibrationCurve(const CString& path, const CString& yLabel);

// The four curves of a sweep as the files and the plot show them: named, labelled, x 0 to 359,
// the error curve smoothed.
struct SCalibrationResultSets {
  std::unique_ptr<CSpectrumData> cw, ccw, error, lag;
};
SCalibrationResultSets CalibrationResultSets(const SCalibrationCurves& curves);
