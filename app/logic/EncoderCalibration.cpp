#include "EncoderCalibration.h"

#include <algorithm>
#include <cstdint>
#include <limits>

SCalibrationSample CalibrationSampleFromReplies(int steps1, int position, int steps2)
{
  SCalibrationSample sample;
  sample.angle = float((float(steps1) + float(steps2)) / 2.0f / kStepsPerDegree);
  sample.error = float(position / 100.0 - sample.angle);
  return sample;
}

int CalibrationBucket(float value)
{
  const float shifted = value + 0.5f;
  // Converted only once it is known to fit: a wild step count would make the cast undefined.
  if (!(shifted > -361.0f && shifted < 361.0f))
    return -1;
  int bucket = int(shifted);
  if (bucket < 0)
    bucket += 360;
  return bucket >= 0 && bucket < kCalibrationPoints ? bucket : -1;
}

int CalibrationBucket(const SCalibrationSample& sample, ESweep sweep)
{
  return CalibrationBucket(sweep == ESweep::Clockwise ? sample.angle + sample.error : sample.angle);
}

bool RecordCalibrationSample(SCalibrationTables& tables, const SCalibrationSample& sample, ESweep sweep)
{
  const float position = sample.angle + sample.error;
  if (!(position > -180.0f && position < 180.0f))
    return false;
  const int bucket = CalibrationBucket(sample, sweep);
  if (bucket < 0)
    return false;
  if (sweep == ESweep::Clockwise) {
    ++tables.cwCount[size_t(bucket)];
    tables.cwSum[size_t(bucket)] += sample.error;
  } else {
    ++tables.ccwCount[size_t(bucket)];
    tables.ccwSum[size_t(bucket)] += sample.error;
  }
  return true;
}

int CalibrationProgress(float angle, ESweep sweep)
{
  const float clamped = std::clamp(angle, -1000.0f, 1000.0f);
  const int whole = int(clamped);
  return sweep == ESweep::Clockwise ? whole + 180 : 360 - whole + 180;
}

SCalibrationCurves FinishCalibrationCurves(SCalibrationTables& tables)
{
  SCalibrationCurves curves;
  for (size_t b = 0; b < kCalibrationPoints; ++b) {
    const float cw = tables.cwCount[b] > 0 ? tables.cwSum[b] / float(tables.cwCount[b]) : 0.0f;
    const float ccw = tables.ccwCount[b] > 0 ? tables.ccwSum[b] / float(tables.ccwCount[b]) : 0.0f;
    tables.error[b] = float((cw + ccw) / 2.0);
    tables.lag[b] = ccw - cw;
    curves.cw[b] = cw;
    curves.ccw[b] = ccw;
    curves.error[b] = tables.error[b];
    curves.lag[b] = tables.lag[b];
  }
  return curves;
}

namespace {
// Symmetric, so that the negated value fits as well.
constexpr float kUploadLimit = std::numeric_limits<int16_t>::max();

// Hundredths of a degree, halves away from zero, before the truncation toward zero.
float UploadHundredths(float error)
{
  const float v = float(error * 100.0);
  return v > 0.0f ? v + 0.5f : v - 0.5f;
}
} // namespace

int CalibrationUploadValue(float error)
{
  const float rounded = UploadHundredths(error);
  const int c = rounded != rounded ? 0 : int(std::clamp(rounded, -kUploadLimit, kUploadLimit));
  return -c;
}

bool CalibrationUploadFits(float error)
{
  const float rounded = UploadHundredths(error);
  return rounded > -(kUploadLimit + 1.0f) && rounded < kUploadLimit + 1.0f;
}
