// fuzz-link: ZSpectrumData
// Loads arbitrary bytes as a data-set archive, whatever format word they begin with, and runs the
// library's routines on what loads: the peak search, the frequency spectrum and the combining
// routines too, on sets of a few points (run with a small -malloc_limit_mb, so that a routine
// that allocates far beyond the points it was given is caught; a resampled merge may make up to
// 16,777,216 points from any sets, and is only made here when its grid is small). A load that
// fails must leave the data set as it was; one that succeeds must have a window inside its points
// and store an archive that loads back to the same archive.
#include <ZSpectrumData/CHistogram.h>
#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>
#include <CFile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

std::vector<BYTE> Store(CSpectrumData& data)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  data.Serialize(ar);
  return file.Data();
}

bool Load(CSpectrumData& data, const void* bytes, size_t size)
{
  CMemFile file(bytes, size);
  CArchive ar(&file, CArchive::load);
  try {
    data.Serialize(ar);
  } catch (const CArchiveException& e) {
    if (e.m_cause == CArchiveException::none || e.m_cause == CArchiveException::readOnly)
      std::abort();
    return false;
  }
  return true;
}

// The routines that read and write inside the windows the archive set.
void Exercise(const CSpectrumData& loaded)
{
  CSpectrumData data(loaded);
  const long long points = (long long)data.GetVectorSize() * data.GetArraySize();
  data.RecalcLimits();
  const float x0 = data.GetX(data.GetFirstIndex());
  const float x1 = data.GetX(data.GetLastIndex());
  int pos = 0;
  data.GetY((x0 + x1) / 2, true);
  data.GetY(x1, pos);
  data.GetY(data.GetZ(0), data.GetFirstIndex(), pos);
  data.GetIndex(x1);
  data.GetArrayIndex(data.GetZ(0));
  data.GetTotalArea();
  data.GetLogYRange(true);
  data.GetDataAsText();
  if (points <= 100000) {
    data.Smooth(6);
    CSpectrumData derivative;
    CSpectrumData::Derivative(&data, &derivative, 1, 2, 2);
  }
  data.RemoveArrayTrace(data.GetLastArrayIndex());
  data.CropTo(data.GetFirstIndex() + 1, data.GetLastIndex());
  data.Pad(2, 2);
  CSpectrumData copy;
  copy.CopyArray(data);
  copy.Resize(std::min(copy.GetVectorSize(), 64) + 1, 2);

  // The loaded values counted into a histogram over the loaded x range.
  const int bins = 16;
  CHistogram histogram(L"Fuzz", bins);
  histogram.SetLimitsFromFirstBin(x0, (x1 - x0) / bins);
  histogram.SetResolution(loaded.GetResolution());
  for (int i = loaded.GetFirstIndex(); i <= loaded.GetLastIndex() && i - loaded.GetFirstIndex() < 4096; ++i)
    histogram.AddCount(loaded.GetY(i), 1);
  histogram.GetCount(x1);
  histogram.GetMaxCount();
}

// The routines that size their work by the loaded windows and counts (a frequency spectrum of
// twice the points, the padded work copies of the peak search, the combined and merged sets): what
// they allocate must follow from the points. Their work grows faster than the points, so larger
// sets are left to the load and the cheap routines above.
constexpr long long kMaxCombinedPoints = 256;
// The largest resampled merge made; a larger one is only counted.
constexpr int kMaxResampledPoints = 1 << 16;

void Combine(const CSpectrumData& loaded)
{
  const long long points = (long long)loaded.GetVectorSize() * loaded.GetArraySize();
  if (points > kMaxCombinedPoints)
    return;
  CSpectrumData other(L"Other", 5, 2);
  for (int i = 0; i < 5; ++i) {
    other.SetX(i, float(i) * 0.75f);
    other.SetY(0, i, float(i % 3));
    other.SetY(1, i, float(i));
  }

  for (int step : {0, 1}) {
    CSpectrumData data(loaded);
    CSpectrumData out(loaded);
    CSpectrumData::FrequencySpectrum(&data, &out, step, 0);
    CSpectrumData fresh(L"Spectrum", 64, 1);
    CSpectrumData::FrequencySpectrum(&data, &fresh, step, 0.5f);
  }
  {
    CSpectrumData data(loaded);
    data.FindPeaks(true);
    data.InitPeakArray(3);
    data.FindPeaks(false);
  }
  {
    CSpectrumData data(loaded);
    data.ConvertInterferenceToThickness(ZMaterialFusedSilica);
  }

  CSpectrumData a(loaded);
  CSpectrumData b(loaded);
  a.AddSpectrum(&other);
  a.SubtractSpectrum(&b);
  a.SubtractSpectrum(&a);
  CSpectrumData::AddSpectra(&other, &b, &other);
  a.DivideByReference(&other);
  CSpectrumData::DivideByReference(&b, &a, &a);
  CSpectrumData::Calibrate(&a, &other, &b);
  float scale = 1;
  for (bool matchLevels : {false, true})
    for (bool resample : {false, true}) {
      for (auto [first, second] : {std::pair{&a, &other}, std::pair{&other, &b}, std::pair{&a, &b}}) {
        const int count = CSpectrumData::MergeSpectra(first, second, nullptr, scale, matchLevels, resample);
        if (resample && count > kMaxResampledPoints)
          continue;
        CSpectrumData merged;
        if (CSpectrumData::MergeSpectra(first, second, &merged, scale, matchLevels, resample) != count ||
            (count > 0 && merged.GetIndexRange() != count))
          std::abort();
      }
    }
  CSpectrumData average;
  b.GetAverageVector(&average, b.GetFirstArrayIndex(), b.GetLastArrayIndex());
  b.GetAverageY(b.GetXMin(true), b.GetXMax(false));
  std::vector<float> perPoint(size_t(std::max(b.GetVectorSize(), 0)) + 1);
  b.GetRMSNoiseLevel(perPoint.data());
  b.ConvertWavelengthToInversePseudoLambda(1, 0.5, 0.25, 0, 0);
  b.ConvertWavelengthToInversePseudoLambda(0.0f);
  b.RemoveZeros();
  b.RemoveSawTooth();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CSpectrumData before(L"Before", 3, 2);
  before.AddVerticalMarker(L"m", 1, 1, 0, true);
  const std::vector<BYTE> untouched = Store(before);

  CSpectrumData loaded(before);
  if (!Load(loaded, data, size)) {
    if (Store(loaded) != untouched)
      std::abort();
    return 0;
  }
  const int n = loaded.GetVectorSize();
  const int first = loaded.GetFirstIndex();
  const int last = loaded.GetLastIndex();
  // Inside the points; last -1 only as the empty window before the first point.
  if (n > 0 && (first < 0 || first >= n || last < (first == 0 ? -1 : 0) || last >= n))
    std::abort();
  const std::vector<BYTE> stored = Store(loaded);
  CSpectrumData again;
  if (!Load(again, stored.data(), stored.size()))
    std::abort();
  // The markers that were there before the first load are in the second load too.
  if (Store(again) != stored)
    std::abort();
  Exercise(loaded);
  Combine(loaded);
  return 0;
}
