#pragma once
// What a paint needs from a pass over every point of a data set: its limits and whether its x
// values rise. The pass is kept until the points change, so that a repaint of a million points
// costs what it draws rather than what it holds.
#include <WinTypes.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

class CSpectrumData;

struct STraceScan {
  // Only finite values count: a failed reading (inf or NaN) takes no part in the limits.
  bool hasX = false; // a finite x
  bool hasY = false; // a finite, unmasked y
  float xMin = 0, xMax = 0;
  float yMin = 0, yMax = 0; // over every trace of the array, as the data set's own limits are
  // The smallest |y| that is not 0, for a logarithmic axis, where 0 has no place.
  bool hasNonZeroY = false;
  float yAbsMin = 0;
  bool rising = true;    // no x of first..last below the one before it, and none NaN
  std::vector<float> xs; // x of first..last, for the searches of a paint (whole-set scans only)
};

// A paint's path of a data set in pixels (STraceGeometry's points and runStarts) and the bits of
// every setting besides the points that it was made from (empty: none kept).
struct STracePath {
  std::vector<uint32_t> settings;
  std::vector<POINT> points;
  std::vector<size_t> runStarts;
};

// log10 |y|, 0 where y is 0: the data set's own logarithmic reading.
float LogAbs(float y);

// The value a paint draws for a point's y, with its trace's Y scale and offset: the scaled value,
// or on a logarithmic axis log10 of its magnitude, where a scaled 0 has no place (NaN, not drawn).
// The limits are worked out from the same values.
inline float DrawnY(float y, float scale, float offset, bool logY)
{
  const float v = y * scale + offset;
  if (!logY)
    return v;
  return v == 0.0f ? std::numeric_limits<float>::quiet_NaN() : std::log10(std::fabs(v));
}

class CTraceScanCache {
public:
  // The scan of the data set's index window, made again only when the data set looks changed:
  // another window, size, array entry, mask switch or end values. A change inside the points
  // that none of these shows needs Forget.
  // A new pass also refreshes the data set's own limits (RecalcLimits), which a paint has always
  // left up to date for whoever reads them afterwards.
  const STraceScan& Scan(CSpectrumData& data);
  // The Y limits of the points whose x lies in the window (an open end when its flag is clear),
  // and of the line where it crosses a fixed end: a window between two samples still has the
  // Y range of the stroke through it. Kept while the window and the data set stay the same.
  const STraceScan& ScanWindow(CSpectrumData& data, float xLow, bool lowFixed, float xHigh, bool highFixed);
  // The path kept for the data set, which goes with its scan: a repaint of unchanged points at
  // unchanged limits reuses it rather than searching a million points again.
  STracePath& Path(CSpectrumData& data);
  void Forget(const CSpectrumData* data = nullptr);

private:
  struct SStamp {
    int first = 0, last = 0, vectorSize = 0, arraySize = 0, arrayIndex = 0;
    bool masking = false;
    float firstX = 0, lastX = 0, firstY = 0, lastY = 0;
    bool operator==(const SStamp& other) const;
  };
  struct SEntry {
    const CSpectrumData* data = nullptr;
    SStamp stamp;
    STraceScan scan;
    bool hasWindow = false;
    float low = 0, high = 0;
    bool lowFixed = false, highFixed = false;
    STraceScan window;
    STracePath path;
  };
  static SStamp StampOf(const CSpectrumData& data);
  SEntry& EntryFor(CSpectrumData& data);

  std::vector<SEntry> m_entries;
  std::vector<float> m_ys; // room for the y values a pass reads in bulk, kept for the next pass
};
