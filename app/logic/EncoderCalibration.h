#pragma once
// The arithmetic of the encoder calibration: one sample from the servo's step count and reported
// position, the whole-degree buckets the two sweeps collect samples in, the curves made from them
// and the correction values the servo is given.
#include <array>

inline constexpr int kCalibrationTableSize = 400; // entries 0 to 359 are used
inline constexpr int kCalibrationPoints = 360;
// The float nearest to 5,120,000 steps per revolution / 360.
inline constexpr float kStepsPerDegree = 14222.222f;

// Degrees: the motor's angle from its step count, and how far the encoder's reading is off it.
struct SCalibrationSample {
  float angle = 0.0f;
  float error = 0.0f;
};

// Two "QST" step counts around one "QD" position (1/100 degree).
SCalibrationSample CalibrationSampleFromReplies(int steps1, int position, int steps2);

enum class ESweep { Clockwise, CounterClockwise };

struct SCalibrationTables {
  std::array<int, kCalibrationTableSize> cwCount{};
  std::array<float, kCalibrationTableSize> cwSum{};
  std::array<int, kCalibrationTableSize> ccwCount{};
  std::array<float, kCalibrationTableSize> ccwSum{};
  std::array<float, kCalibrationTableSize> error{};
  std::array<float, kCalibrationTableSize> lag{};
};

// value + 0.5 truncated toward zero, 360 added when negative; -1 when that is not 0 to 359.
int CalibrationBucket(float value);
// The clockwise sweep files a sample under the position the servo reports (angle + error), the
// counter-clockwise one under the motor's angle.
int CalibrationBucket(const SCalibrationSample& sample, ESweep sweep);
// Counts the sample in its sweep's bucket when the reported position lies strictly inside
// -180..180 degrees and the bucket is one of the table's; whether it was counted.
bool RecordCalibrationSample(SCalibrationTables& tables, const SCalibrationSample& sample, ESweep sweep);
// The progress bar's position (0 to 720 over both sweeps).
int CalibrationProgress(float angle, ESweep sweep);

struct SCalibrationCurves {
  std::array<float, kCalibrationPoints> cw{};
  std::array<float, kCalibrationPoints> ccw{};
  std::array<float, kCalibrationPoints> error{}; // (CW + CCW) / 2, not yet smoothed
  std::array<float, kCalibrationPoints> lag{};   // CCW - CW
};
// Per bucket: the sweeps' means (0 without samples), the error and the lag; error and lag are
// kept in the tables too.
SCalibrationCurves FinishCalibrationCurves(SCalibrationTables& tables);

// The "CALIBRATE" value for an error in degrees: the negated error in 1/100 degree, halves
// rounded away from zero, held to what a signed 16-bit number can carry.
int CalibrationUploadValue(float error);
// Whether the error is a number that the upload carries as it is, without holding it.
bool CalibrationUploadFits(float error);
