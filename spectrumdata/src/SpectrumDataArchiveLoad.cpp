// Loading a data set from any of the layouts the archive has had.
#include "SpectrumDataArchive.h"

#include "ExtremeScan.h"
#include "SpectrumArrays.h"
#include "SpectrumPeakArchive.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kChunk = size_t(1) << 30;

// The fewest bytes one record of each kind takes in an archive.
constexpr ULONGLONG kMinPeakBytes = sizeof(SSpectrumPeak); // the raw form; the tagged one is longer
constexpr ULONGLONG kMinMarkerBytes = sizeof(int);         // a record that is not version 1 stops there

// A marker in memory may take this many bytes for each byte of its record; beyond that it draws on
// the archive's allowance of unbacked memory. A full record (18 bytes and its label) stays within
// it, while the 4-byte records no writer writes cost about 24 times their size and would let a
// stream of them take far more memory than it is long. Records are accounted in groups of this
// many, so that the memory a group takes before it is refused stays small.
constexpr ULONGLONG kMarkerBytesPerByte = 8;
constexpr int kMarkersPerAccount = 4096;

// Memory no bytes of the archive stand for: the zero-filled peak records an older layout implies
// for the traces whose records it does not hold, and what markers take beyond their records' share.
// As many bytes as the archive holds in all, and never fewer than this, so that any sensible table
// (hundreds of traces of a hundred peaks) loads from a short archive while a damaged count still
// allocates little. All the sets loaded from one archive (a plot's traces) share the one
// allowance.
constexpr ULONGLONG kUnbackedBytes = ULONGLONG(16) << 20;

// What each integer format holds beyond format 300.
struct Layout {
  int format;
  bool Luminance() const { return format >= 302; }
  bool Traces() const { return format >= 301; }
  bool Markers() const { return format >= 303; }
  bool TraceWindow() const { return format >= 304; }
  bool Mask() const { return format >= 305; }
  bool EveryTracesPeaks() const { return format >= 308; }
  bool InfoText() const { return format >= 401; }
};

bool IsIntegerFormat(int word)
{
  return (word >= 300 && word <= 306) || word == 308 || word == 401;
}

bool IsFloatVersion(float v)
{
  // 3.07 is the float layout that Serialize(ar, 307) writes for older readers.
  return (v >= 1.04f && v < 2.2f) || v == 3.07f;
}

[[noreturn]] void Bad(int cause)
{
  AfxThrowArchiveException(cause);
}

// count records of at least recordBytes each must fit in what the archive still holds.
void CheckCount(const CArchive& ar, long long count, ULONGLONG recordBytes)
{
  if (count < 0)
    Bad(CArchiveException::badIndex);
  if (count > 0 && ULONGLONG(count) > ar.GetRemaining() / recordBytes)
    Bad(CArchiveException::endOfFile);
}

int ReadInt(CArchive& ar)
{
  int v = 0;
  ar >> v;
  return v;
}

// What one marker takes in memory: its list node (two links and the record, each allocation with
// its allocator's overhead) and its label's characters where the string holds them apart.
ULONGLONG MarkerMemory(const SSpectrumMarker& marker)
{
  constexpr ULONGLONG kAllocation = 16;
  constexpr int kCharsInPlace = 3;
  const ULONGLONG node = 2 * sizeof(void*) + sizeof(SSpectrumMarker) + kAllocation;
  const int length = marker.m_label.GetLength();
  return node + (length > kCharsInPlace ? ULONGLONG(length + 1) * sizeof(wchar_t) + kAllocation : 0);
}

void LoadMarkers(CArchive& ar, CSpectrumMarkerList& markers)
{
  const int count = ReadInt(ar);
  CheckCount(ar, count, kMinMarkerBytes);
  ULONGLONG memory = 0; // taken by the markers read since the last account
  ULONGLONG remaining = ar.GetRemaining();
  for (int i = 0; i < count; ++i) {
    SSpectrumMarker marker;
    marker.Serialize(ar);
    memory += MarkerMemory(marker);
    markers.AddTail(marker);
    if ((i + 1) % kMarkersPerAccount == 0 || i + 1 == count) {
      const ULONGLONG now = ar.GetRemaining();
      const ULONGLONG backed = (remaining - now) * kMarkerBytesPerByte;
      if (memory > backed && !ar.TakeUnbacked(memory - backed, kUnbackedBytes))
        Bad(CArchiveException::badIndex);
      memory = 0;
      remaining = now;
    }
  }
}

void FromLittleEndian(float* values, size_t count)
{
  if constexpr (std::endian::native == std::endian::big) {
    for (size_t i = 0; i < count; ++i) {
      uint32_t bits;
      std::memcpy(&bits, values + i, sizeof bits);
      bits = __builtin_bswap32(bits);
      std::memcpy(values + i, &bits, sizeof bits);
    }
  }
}

// n x values, then t traces of n values, in pieces that are still in the cache when their blocks'
// extremes are taken, so that the limits computed at the end need not read every value again. A
// piece holds part of a trace, a whole trace or several whole ones, so that no block is split
// between two; a large set's pieces are read by several threads at once.
void ReadPoints(CArchive& ar, float* x, float* y, size_t n, size_t t, ExtremeBlocks& blocks)
{
  constexpr size_t kBlock = ExtremeBlocks::Block;
  constexpr size_t kPiece = 512 * kBlock;
  const size_t blocksPerTrace = n / kBlock;
  blocks.Resize(t * blocksPerTrace);
  // Where each piece's values belong: traces whole traces from trace on, or (traces 1) part of
  // one from value from on; traces 0 for the x values.
  struct Place {
    size_t trace;
    size_t traces;
    size_t from;
  };
  std::vector<CArchive::Piece> pieces;
  std::vector<Place> places;
  for (size_t from = 0; from < n; from += kPiece) {
    pieces.push_back({x + from, std::min(kPiece, n - from) * sizeof(float)});
    places.push_back({0, 0, from});
  }
  const size_t tracesPerPiece = std::max<size_t>(kPiece / n, 1);
  for (size_t k = 0; k < t; k += tracesPerPiece) {
    if (tracesPerPiece > 1) {
      const size_t traces = std::min(tracesPerPiece, t - k);
      pieces.push_back({y + k * n, traces * n * sizeof(float)});
      places.push_back({k, traces, 0});
      continue;
    }
    for (size_t from = 0; from < n; from += kPiece) {
      pieces.push_back({y + k * n + from, std::min(kPiece, n - from) * sizeof(float)});
      places.push_back({k, 1, from});
    }
  }
  ar.ReadPieces(pieces.data(), pieces.size(), [&](size_t k) {
    float* values = static_cast<float*>(pieces[k].to);
    const size_t count = pieces[k].bytes / sizeof(float);
    FromLittleEndian(values, count);
    const Place& at = places[k];
    const size_t perTrace = at.traces > 1 ? n : count;
    for (size_t j = 0; j < at.traces; ++j)
      blocks.Set((at.trace + j) * blocksPerTrace + at.from / kBlock, values + j * n,
                 perTrace - perTrace % kBlock);
  });
}

} // namespace

void SpectrumDataArchive::ReadBytes(CArchive& ar, void* bytes, size_t count)
{
  BYTE* to = static_cast<BYTE*>(bytes);
  for (size_t done = 0; done < count; done += kChunk)
    ar.ReadExact(to + done, UINT(std::min(kChunk, count - done)));
}

void SpectrumDataArchive::ReadFloats(CArchive& ar, float* values, size_t count)
{
  if constexpr (std::endian::native == std::endian::little) {
    ReadBytes(ar, values, count * sizeof(float));
  } else {
    for (size_t i = 0; i < count; ++i)
      ar >> values[i];
  }
}

void SpectrumDataArchive::Load(CArchive& ar, CSpectrumData& target)
{
  CSpectrumData d;
  ExtremeBlocks blocks; // of the traces as read
  // Loaded markers are appended to those the data set has.
  d.m_verticalMarkers.AddTail(&target.m_verticalMarkers);
  d.m_secondMarkers.AddTail(&target.m_secondMarkers);

  // The points: n x values, then t traces of n values; a zero mask.
  auto readPoints = [&](int n, int t) {
    if (n < 0 || t < 1)
      Bad(CArchiveException::badIndex);
    if (n > 0) {
      CheckCount(ar, (long long)n * (1 + (long long)t), sizeof(float));
      auto x = UnfilledArray<float>(size_t(n));
      auto y = UnfilledArray<float>(size_t(n) * size_t(t));
      ReadPoints(ar, x.get(), y.get(), size_t(n), size_t(t), blocks);
      d.m_x = std::move(x);
      d.m_y = std::move(y);
      d.m_mask = ZeroArray<BYTE>(size_t(n));
    }
    d.m_vectorSize = n;
    d.m_pointCapacity = n;
    d.m_arraySize = t;
    d.m_lastArrayIndex = t - 1;
    d.m_arrayIndexRange = t;
  };
  // A window over no points is no window; one over points must lie inside them, or be the empty
  // window just before its first index that removing every point leaves. The range is the
  // window's: a stored one need not fit it (the library's own 3.07 stores the point count, whatever
  // the window), and every routine sizes its work by it.
  auto takePointWindow = [&] {
    if (d.m_vectorSize <= 0) {
      d.m_firstIndex = d.m_lastIndex = d.m_indexRange = 0;
      return;
    }
    const bool emptied =
        d.m_firstIndex >= 0 && d.m_firstIndex < d.m_vectorSize && d.m_lastIndex == d.m_firstIndex - 1;
    if (!emptied && (d.m_firstIndex < 0 || d.m_firstIndex >= d.m_vectorSize || d.m_lastIndex < 0 ||
                     d.m_lastIndex >= d.m_vectorSize))
      Bad(CArchiveException::badIndex);
    d.m_indexRange = d.m_lastIndex - d.m_firstIndex + 1;
  };
  auto readPeaks = [&](int traces) {
    const int perTrace = d.m_peakFindParams.m_peaksPerTrace;
    if (perTrace <= 0)
      return;
    CheckCount(ar, (long long)perTrace * traces, kMinPeakBytes);
    // Where the archive holds the records of the first trace only, the table for the others is
    // zeros that no bytes back.
    const ULONGLONG unbacked =
        ULONGLONG(d.m_arraySize - traces) * ULONGLONG(perTrace) * sizeof(SSpectrumPeak);
    if (!ar.TakeUnbacked(unbacked, kUnbackedBytes))
      Bad(CArchiveException::badIndex);
    d.InitPeakArray(perTrace);
    for (size_t k = 0; k < size_t(perTrace) * size_t(traces); ++k)
      LoadPeak(ar, d.m_peaks[k]);
  };

  UINT word = 0;
  ar >> word;
  const int format = int(word);
  float version = 0;
  std::memcpy(&version, &word, sizeof version);

  if (IsIntegerFormat(format)) {
    const Layout layout{format};
    ar >> d.m_absoluteIntensity >> d.m_cieX >> d.m_cieY;
    if (layout.Luminance())
      ar >> d.m_cieLuminance;
    ar >> d.m_cieDominantWavelength >> d.m_cieIntensity;
    ar >> d.m_xLabel >> d.m_xUnits >> d.m_yLabel >> d.m_yUnits;
    if (!layout.Traces()) {
      const int c = ReadInt(ar);
      if (c < -1 || c == INT_MAX)
        Bad(CArchiveException::badIndex);
      readPoints(c + 1, 1);
    } else {
      ar >> d.m_zLabel >> d.m_zUnits;
      const int t = ReadInt(ar);
      if (t < 1)
        Bad(CArchiveException::badIndex);
      CheckCount(ar, t, sizeof(float));
      auto z = UnfilledArray<float>(size_t(t));
      ReadFloats(ar, z.get(), size_t(t));
      d.m_z = std::move(z);
      readPoints(ReadInt(ar), t);
    }
    const int n = d.m_vectorSize;
    if (layout.Mask() && n > 0) {
      BYTE enabled = 0, present = 0;
      ar >> enabled >> present;
      d.m_maskEnabled = enabled != 0;
      if (present == 1) {
        CheckCount(ar, n, 1);
        ReadBytes(ar, d.m_mask.get(), size_t(n));
      }
    }
    ar >> d.m_name >> d.m_firstIndex >> d.m_indexOfMaxY >> d.m_indexOfMinY >> d.m_lastIndex >>
        d.m_lineStyle >> d.m_lineWidth >> d.m_noiseProbability;
    takePointWindow();
    d.m_peakFindParams.Serialize(ar);
    readPeaks(layout.EveryTracesPeaks() ? d.m_arraySize : 1);
    if (ReadInt(ar) != 0) {
      const int regionFirst = ReadInt(ar);
      const int regionLast = ReadInt(ar);
      d.m_region = std::make_unique<CSpectrumDataRegion>(&d);
      d.m_region->SetFirstIndex(regionFirst);
      d.m_region->SetLastIndex(regionLast);
    }
    float resolution = 0;
    UINT colour = 0;
    int valid = 0;
    ar >> resolution >> d.m_spectrumType >> colour >> valid;
    d.SetResolution(resolution);
    d.m_colour = colour;
    d.m_valid = valid;
    d.m_viewLimits.Serialize(ar);
    ar >> d.m_xLabelOffset >> d.m_xLabelScaling;
    if (layout.Markers())
      LoadMarkers(ar, d.m_verticalMarkers);
    ar >> d.m_xMin >> d.m_xPos >> d.m_yLabelOffset >> d.m_yLabelScaling;
    if (layout.Markers())
      LoadMarkers(ar, d.m_secondMarkers);
    ar >> d.m_yMax >> d.m_yMin >> d.m_yOffset >> d.m_yPos >> d.m_yRange >> d.m_yScale;
    const int lastTrace = d.m_arraySize - 1;
    if (layout.TraceWindow()) {
      ar >> d.m_arrayIndexRange >> d.m_firstArrayIndex >> d.m_lastArrayIndex;
      // Older writers could leave a trace window of none (last -1, range 0) on a set of one trace.
      d.m_arrayIndexRange = std::clamp(d.m_arrayIndexRange, 1, d.m_arraySize);
      d.m_firstArrayIndex = std::clamp(d.m_firstArrayIndex, 0, lastTrace);
      d.m_lastArrayIndex = std::clamp(d.m_lastArrayIndex, 0, lastTrace);
    }
    if (layout.Mask())
      ar >> d.m_traceOfMaxY >> d.m_traceOfMinY;
    if (layout.EveryTracesPeaks())
      d.m_arrayIndex = std::clamp(ReadInt(ar), 0, lastTrace);
    if (layout.InfoText())
      ar >> d.m_infoText;
    if (n == 0 && !layout.Traces())
      d.m_valid = 0;
  } else if (IsFloatVersion(version)) {
    d.RemoveAllData();
    const int c = ReadInt(ar);
    const int range = ReadInt(ar);
    if (range >= 1) {
      if (c < 0 || c == INT_MAX)
        Bad(CArchiveException::badIndex);
      readPoints(c + 1, 1);
      d.m_valid = 1;
    }
    // Without points the set is empty: no vector size that no array backs.
    ar >> d.m_firstIndex >> d.m_lastIndex >> d.m_yOffset >> d.m_yScale;
    takePointWindow();
    ar >> d.m_xLabel >> d.m_yLabel >> d.m_xUnits >> d.m_yUnits >> d.m_name >> d.m_spectrumType;
    float resolution = 0;
    ar >> d.m_xPos >> d.m_yPos >> resolution >> d.m_noiseProbability >> d.m_indexOfMaxY;
    d.SetResolution(resolution);
    d.m_noiseProbability = 0;
    SPeakFindParams& params = d.m_peakFindParams;
    ar >> params.m_peaksPerTrace >> params.m_xFrom >> params.m_xTo >> params.m_thresholdFraction >>
        params.m_smoothingWidth >> params.m_baseLevel >> params.m_useBaseLevel;
    readPeaks(1);
    UINT colour = 0;
    ar >> d.m_absoluteIntensity >> colour;
    d.m_colour = colour;
    if (version >= 1.05f)
      ar >> d.m_lineStyle;
    if (version >= 1.06f)
      ar >> d.m_cieIntensity >> d.m_cieX >> d.m_cieY >> d.m_cieDominantWavelength;
    SSpectrumViewLimits& view = d.m_viewLimits;
    ar >> view.m_xMin >> view.m_yMin >> view.m_xMax >> view.m_yMax >> view.m_user1 >> view.m_user2;
  } else {
    Bad(CArchiveException::writeOnly);
  }
  d.FindLimits(&blocks);
  Adopt(target, d);
}

// Takes over everything a load sets; the string list, which no archive holds, stays.
void SpectrumDataArchive::Adopt(CSpectrumData& d, CSpectrumData& s)
{
  // The only allocation comes first, so that the target changes whole or not at all. The loaded
  // marker lists, which began as copies of the target's, are exchanged, not copied.
  std::unique_ptr<CSpectrumDataRegion> region;
  if (s.m_region)
    region = std::make_unique<CSpectrumDataRegion>(&d);

  d.m_verticalMarkers.Swap(s.m_verticalMarkers);
  d.m_secondMarkers.Swap(s.m_secondMarkers);
  d.m_lineWidth = s.m_lineWidth;
  d.m_cieDominantWavelength = s.m_cieDominantWavelength;
  d.m_cieY = s.m_cieY;
  d.m_cieX = s.m_cieX;
  d.m_cieLuminance = s.m_cieLuminance;
  d.m_cieIntensity = s.m_cieIntensity;
  d.m_lineStyle = s.m_lineStyle;
  d.m_valid = s.m_valid;
  d.m_colour = s.m_colour;
  d.m_vectorSize = s.m_vectorSize;
  d.m_pointCapacity = s.m_vectorSize;
  d.m_arraySize = s.m_arraySize;
  d.m_xPos = s.m_xPos;
  d.m_yPos = s.m_yPos;
  d.m_x = std::move(s.m_x);
  d.m_y = std::move(s.m_y);
  d.m_z = std::move(s.m_z);
  d.m_indexRange = s.m_indexRange;
  d.m_firstIndex = s.m_firstIndex;
  d.m_lastIndex = s.m_lastIndex;
  d.m_firstArrayIndex = s.m_firstArrayIndex;
  d.m_lastArrayIndex = s.m_lastArrayIndex;
  d.m_arrayIndexRange = s.m_arrayIndexRange;
  d.m_xMin = s.m_xMin;
  d.m_yOffset = s.m_yOffset;
  d.m_yScale = s.m_yScale;
  d.m_yRange = s.m_yRange;
  d.m_yMin = s.m_yMin;
  d.m_yMax = s.m_yMax;
  std::swap(d.m_xLabel, s.m_xLabel);
  std::swap(d.m_yLabel, s.m_yLabel);
  std::swap(d.m_xUnits, s.m_xUnits);
  std::swap(d.m_yUnits, s.m_yUnits);
  std::swap(d.m_zLabel, s.m_zLabel);
  std::swap(d.m_zUnits, s.m_zUnits);
  std::swap(d.m_name, s.m_name);
  std::swap(d.m_spectrumType, s.m_spectrumType);
  d.m_resolution = s.m_resolution;
  d.m_noiseProbability = s.m_noiseProbability;
  d.m_indexOfMaxY = s.m_indexOfMaxY;
  d.m_traceOfMaxY = s.m_traceOfMaxY;
  d.m_indexOfMinY = s.m_indexOfMinY;
  d.m_traceOfMinY = s.m_traceOfMinY;
  d.m_viewLimits = s.m_viewLimits;
  d.m_absoluteIntensity = s.m_absoluteIntensity;
  d.m_xLabelOffset = s.m_xLabelOffset;
  d.m_xLabelScaling = s.m_xLabelScaling;
  d.m_yLabelOffset = s.m_yLabelOffset;
  d.m_yLabelScaling = s.m_yLabelScaling;
  d.m_peaks = std::move(s.m_peaks);
  d.m_peakFindParams = s.m_peakFindParams;
  // The region is made over the adopted window and clamps as the loaded one did.
  if (region) {
    region->SetFirstIndex(s.m_region->GetFirstIndex());
    region->SetLastIndex(s.m_region->GetLastIndex());
  }
  d.m_region = std::move(region);
  d.m_mask = std::move(s.m_mask);
  d.m_maskEnabled = s.m_maskEnabled;
  d.m_arrayIndex = s.m_arrayIndex;
  std::swap(d.m_infoText, s.m_infoText);
}
