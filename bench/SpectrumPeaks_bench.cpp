// Peak search and frequency spectrum against SciPy on the same data, measured in the same run:
// FindPeaks on 1,000,000 points holding a few hundred noisy peaks against scipy.signal.find_peaks
// with peak_widths (the same threshold, half-height widths), and FrequencySpectrum against
// scipy.signal.lombscargle at the same frequencies. The Python side runs once, as a child process,
// timing with timeit; each benchmark prints its ratio (below 1 is faster) and what both found.
#include "PythonBaseline.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// Sets the search parameters, which only an archive brings otherwise.
struct CSpectrumDataPeakAccess {
  static SPeakFindParams& Params(CSpectrumData& d) { return d.m_peakFindParams; }
  static const SSpectrumPeak& Record(const CSpectrumData& d, int k) { return d.m_peaks[size_t(k)]; }
};

namespace {

namespace fs = std::filesystem;

constexpr int kPoints = 1000000;
constexpr int kPeaks = 300;
constexpr float kStep = 0.01f;        // x of point i is i x kStep
constexpr float kThreshold = 10.0f;   // above the base level of 0
constexpr float kSmoothing = 0.5f;    // x width of the smoothing before the search
constexpr int kSpectrumPoints = 2000; // unevenly sampled, for the frequency spectrum

const char* const kBaselineScript = R"(
import sys, timeit
import numpy as np
from scipy.signal import find_peaks, peak_widths, lombscargle

folder, threshold = sys.argv[1], float(sys.argv[2])
y = np.fromfile(folder + '/y.f32', dtype=np.float32).astype(np.float64)
def search():
    peaks, _ = find_peaks(y, height=threshold, prominence=threshold)
    return peaks, peak_widths(y, peaks, rel_height=0.5)
peaks, widths = search()
print('findpeaks %.9f' % (min(timeit.repeat(search, number=1, repeat=5))))
print('findpeaks_count %d' % len(peaks))
np.column_stack([peaks, widths[0]]).astype(np.float32).tofile(folder + '/peaks.f32')

fx = np.fromfile(folder + '/fx.f32', dtype=np.float32).astype(np.float64)
fy = np.fromfile(folder + '/fy.f32', dtype=np.float32).astype(np.float64)
n = len(fx)
span = fx.max() - fx.min()
frequencies = (np.arange(2 * n) + 1) / (4 * span)
centred = fy - fy.mean()
omega = 2 * np.pi * frequencies
spectrum = lambda: lombscargle(fx, centred, omega)
print('lombscargle %.9f' % (min(timeit.repeat(spectrum, number=1, repeat=3))))
(spectrum() / fy.var(ddof=1)).astype(np.float32).tofile(folder + '/lomb.f32')
)";

struct Baseline {
  fs::path folder;
  std::vector<float> x, y;   // the peaks
  std::vector<float> fx, fy; // the frequency spectrum's samples
  PythonValues values;
};

Baseline& TheBaseline()
{
  static Baseline baseline = [] {
    Baseline b;
    b.folder = MakeBaselineFolder("spectrumpeaks_bench");
    std::mt19937 random(11);
    // Gaussians of height 20..100 and sigma 0.5..2 at random places, on light noise.
    std::uniform_real_distribution<double> place(0, kPoints * kStep), height(20, 100), sigma(0.5, 2);
    std::vector<double> sum(kPoints, 0.0);
    for (int p = 0; p < kPeaks; ++p) {
      const double c = place(random), h = height(random), s = sigma(random);
      const int from = std::max(0, int((c - 8 * s) / kStep));
      const int to = std::min(kPoints - 1, int((c + 8 * s) / kStep));
      for (int i = from; i <= to; ++i) {
        const double d = (i * double(kStep) - c) / s;
        sum[size_t(i)] += h * std::exp(-0.5 * d * d);
      }
    }
    std::normal_distribution<double> noise(0, 0.2);
    for (int i = 0; i < kPoints; ++i) {
      b.x.push_back(float(i) * kStep);
      b.y.push_back(float(sum[size_t(i)] + noise(random)));
    }
    // Two tones on uneven sampling.
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    for (int j = 0; j < kSpectrumPoints; ++j) {
      const double t = j + jitter(random);
      b.fx.push_back(float(t));
      b.fy.push_back(float(std::sin(0.2 * t) + 0.5 * std::cos(1.1 * t) + noise(random)));
    }
    WriteRaw(b.folder / "y.f32", b.y);
    WriteRaw(b.folder / "fx.f32", b.fx);
    WriteRaw(b.folder / "fy.f32", b.fy);
    b.values =
        RunPythonBaseline(b.folder, kBaselineScript, std::to_string(kThreshold), "SciPy", "python3-scipy");
    return b;
  }();
  return baseline;
}

void BM_FindPeaks(benchmark::State& state)
{
  Baseline& b = TheBaseline();
  CSpectrumData data(L"Peaks", kPoints, 1);
  data.SetXData(b.x.data());
  data.SetYData(b.y.data(), 0);
  data.InitPeakArray(2 * kPeaks);
  SPeakFindParams& p = CSpectrumDataPeakAccess::Params(data);
  p.m_xFrom = 0;
  p.m_xTo = b.x.back();
  // Base 0, so that the half level is half the peak's height, as peak_widths takes it for a
  // peak standing alone; the fraction puts the threshold at kThreshold.
  p.m_thresholdFraction = kThreshold / *std::max_element(b.y.begin(), b.y.end());
  p.m_smoothingWidth = kSmoothing;
  p.m_baseLevel = 0;
  p.m_useBaseLevel = 1;
  int found = 0;
  const double best = BestRun(state, [&] { found = data.FindPeaks(false); });
  state.counters["peaks"] = found;
  // The full widths at half height of the peaks both found (the same place within 0.05), as the
  // median of their relative differences; SciPy's are in points.
  const std::vector<float> theirs = ReadRaw(b.folder / "peaks.f32", size_t(4 * kPeaks));
  std::vector<double> differences;
  for (size_t j = 0; j + 1 < theirs.size(); j += 2) {
    const float x = theirs[j] * kStep;
    const float width = theirs[j + 1] * kStep;
    for (int k = 0; k < found; ++k) {
      const SSpectrumPeak& peak = CSpectrumDataPeakAccess::Record(data, k);
      if (std::fabs(peak.m_wavelength - x) < 0.05f && peak.m_fullWidth > 0)
        differences.push_back(std::fabs(peak.m_fullWidth - width) / width);
    }
  }
  if (!differences.empty()) {
    std::nth_element(differences.begin(), differences.begin() + differences.size() / 2, differences.end());
    state.counters["matched_peaks"] = double(differences.size());
    state.counters["median_width_rel_diff"] = differences[differences.size() / 2];
  }
  const auto count = b.values.find("findpeaks_count");
  if (count != b.values.end()) {
    state.counters["peer_peaks"] = count->second;
    std::printf("FindPeaks found %d peaks, find_peaks %d (%d placed)\n", found, int(count->second), kPeaks);
  }
  Report(state, b.values, "FindPeaks", best, "findpeaks", "scipy find_peaks + peak_widths");
}

void BM_FrequencySpectrum(benchmark::State& state)
{
  Baseline& b = TheBaseline();
  CSpectrumData src(L"Tones", kSpectrumPoints, 1);
  src.SetXData(b.fx.data());
  src.SetYData(b.fy.data(), 0);
  CSpectrumData out(L"Spectrum", 2 * kSpectrumPoints, 1);
  const double best = BestRun(state, [&] { CSpectrumData::FrequencySpectrum(&src, &out, 0, 0); });
  // Both compute the same normalised powers; the largest difference relative to the largest power.
  const std::vector<float> theirs = ReadRaw(b.folder / "lomb.f32", size_t(2 * kSpectrumPoints));
  if (int(theirs.size()) == out.GetIndexRange()) {
    double largest = 0, top = 0;
    for (size_t i = 0; i < theirs.size(); ++i) {
      largest = std::max(largest, double(std::fabs(out.GetY(int(i)) - theirs[i])));
      top = std::max(top, double(theirs[i]));
    }
    state.counters["max_rel_diff_vs_scipy"] = largest / top;
  }
  Report(state, b.values, "FrequencySpectrum", best, "lombscargle", "scipy lombscargle");
}

BENCHMARK(BM_FindPeaks)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrequencySpectrum)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAgainstBaseline(argc, argv, [] { return TheBaseline().folder; });
}
