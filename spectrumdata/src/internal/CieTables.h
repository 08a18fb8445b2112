#pragma once
// The CIE colorimetry tables, 380 to 780 nm in 5 nm steps, as published (the build compiles them
// in from CSV). Each column has one slot more than it has rows, holding 0, so that the value after
// 780 nm can be read as the end of an interval.
namespace cie {

constexpr int kRows = 81;
constexpr int kSlots = kRows + 1;
constexpr double kFirstNm = 380;
constexpr double kStepNm = 5;

struct Observer {
  double xBar[kSlots];
  double yBar[kSlots];
  double zBar[kSlots];
  double locusX[kSlots]; // chromaticity of the spectral locus
  double locusY[kSlots];
};

extern const Observer kObserver1931;     // 2 degree
extern const Observer kObserver1964;     // 10 degree
extern const double kPhotopicVM[kSlots]; // CIE 1988 modified V(l), for both observers

// Linear interpolation in a column at wavelength nm; 0 outside 380..780.
inline double At(const double* column, double nm)
{
  const double position = (nm - kFirstNm) / kStepNm;
  if (!(position >= 0) || position > kRows - 1)
    return 0;
  const int i = int(position);
  const double t = position - i;
  return t == 0 ? column[i] : column[i] + (column[i + 1] - column[i]) * t;
}

} // namespace cie
