// The spectrum library's heavy operations on one data set of 1,000,000 points, against peer
// libraries measured in the same run on the same data: Savitzky-Golay smoothing against
// scipy.signal.savgol_filter (same window, polynomial order 4, end values held: mode "nearest"),
// the CSV export against numpy.savetxt with "%g", and merging two sets against numpy.interp of the
// merged data on the resampled grid. The Python side runs once, as a child
// process, and reports its best times; each benchmark prints its ratio (below 1 is faster).
#include "PythonBaseline.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPoints = 1000000;
namespace fs = std::filesystem;

const char* const kBaselineScript = R"(
import sys, time
import numpy as np
from scipy.signal import savgol_filter

folder = sys.argv[1]
x = np.fromfile(folder + '/x.f32', dtype=np.float32)
y = np.fromfile(folder + '/y.f32', dtype=np.float32)
for window in (11, 101):
    best = 1e9
    for _ in range(5):
        start = time.perf_counter()
        smoothed = savgol_filter(y, window, 4, mode='nearest')
        best = min(best, time.perf_counter() - start)
    smoothed.astype(np.float32).tofile(folder + '/savgol%d.f32' % window)
    print('savgol%d %.9f' % (window, best))
table = np.column_stack([x, y]).astype(np.float64)
best = 1e9
for _ in range(2):
    start = time.perf_counter()
    np.savetxt(folder + '/numpy.csv', table, fmt='%g', delimiter=',')
    best = min(best, time.perf_counter() - start)
print('savetxt %.9f' % best)
# The resampled merge's last pass: the merged data (two copies of the set, the second 500 on)
# interpolated on an even grid at the set's step.
mx = np.concatenate([x[x < 500], x[x >= x[-1] - 500] + 500]).astype(np.float64)
my = np.concatenate([y[x < 500], y[x >= x[-1] - 500]]).astype(np.float64)
grid = mx[0] + np.arange(int((mx[-1] - mx[0]) / 0.001) + 1) * 0.001
best = 1e9
for _ in range(5):
    start = time.perf_counter()
    np.interp(grid, mx, my)
    best = min(best, time.perf_counter() - start)
print('interp %.9f' % best)
)";

struct Baseline {
  fs::path folder;
  std::vector<float> x, y;
  PythonValues seconds;
};

Baseline& TheBaseline()
{
  static Baseline baseline = [] {
    Baseline b;
    b.folder = MakeBaselineFolder("spectrumdata_bench");
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.05f);
    for (int i = 0; i < kPoints; ++i) {
      const float x = float(i) * 0.001f;
      b.x.push_back(x);
      b.y.push_back(std::sin(x * 0.02f) + noise(random));
    }
    WriteRaw(b.folder / "x.f32", b.x);
    WriteRaw(b.folder / "y.f32", b.y);
    b.seconds = RunPythonBaseline(b.folder, kBaselineScript, "", "SciPy", "python3-scipy");
    return b;
  }();
  return baseline;
}

CSpectrumData MakeData(const Baseline& b)
{
  CSpectrumData data(L"Scan", kPoints, 1);
  data.SetXLabel(L"Time");
  data.SetYLabel(L"Position");
  data.SetXData(b.x.data());
  data.SetYData(b.y.data(), 0);
  return data;
}

// The largest difference from SciPy's result, relative to the data's amplitude: both compute the
// same least-squares coefficients and hold the same end values.
void CompareWithSciPy(benchmark::State& state, const std::vector<float>& ours, int window)
{
  const std::vector<float> theirs =
      ReadRaw(TheBaseline().folder / ("savgol" + std::to_string(window) + ".f32"), kPoints);
  if (theirs.size() != ours.size())
    return;
  double largest = 0;
  for (size_t i = 0; i < ours.size(); ++i)
    largest = std::max(largest, double(std::fabs(ours[i] - theirs[i])));
  state.counters["max_diff_vs_scipy"] = largest;
}

void SmoothAgainstSciPy(benchmark::State& state, int halfWidth, const char* what)
{
  Baseline& b = TheBaseline();
  const CSpectrumData original = MakeData(b);
  CSpectrumData data;
  std::vector<float> result;
  const double best = BestRun(
      state, [&] { data = original; },
      [&] {
        if (halfWidth == 5)
          data.Smooth(10); // the program's own call: 11 points
        else
          data.SGFilter(halfWidth, halfWidth, 0, 4);
      });
  result.resize(kPoints);
  data.GetYData(result.data(), 0);
  const int window = 2 * halfWidth + 1;
  Report(state, b.seconds, what, best, ("savgol" + std::to_string(window)).c_str(), "scipy savgol_filter");
  CompareWithSciPy(state, result, window);
}

void BM_Smooth11(benchmark::State& state)
{
  SmoothAgainstSciPy(state, 5, "Smooth(10), 11 points");
}
void BM_SGFilter101(benchmark::State& state)
{
  SmoothAgainstSciPy(state, 50, "SGFilter(50, 50, 0, 4)");
}

void BM_ExportToCSVFile(benchmark::State& state)
{
  Baseline& b = TheBaseline();
  const CSpectrumData data = MakeData(b);
  const fs::path path = b.folder / "ours.csv";
  bool written = true;
  const double best =
      BestRun(state, [&] { written = data.ExportToCSVFile(path.wstring().c_str()) && written; });
  if (!written)
    state.SkipWithError("export failed");
  Report(state, b.seconds, "ExportToCSVFile", best, "savetxt", "numpy savetxt %g");
}

// Two sets of a million points overlapping by half, merged and resampled on the finer step:
// against np.interp of the merged data on the same grid, the last of the merge's passes.
void Merge(benchmark::State& state, bool resample, const char* what)
{
  Baseline& b = TheBaseline();
  const CSpectrumData low = MakeData(b);
  CSpectrumData up = MakeData(b);
  up.ShiftX(500);
  CSpectrumData a, c, out;
  int count = 0;
  const double best = BestRun(
      state,
      [&] {
        a = low;
        c = up;
      },
      [&] {
        float scale = 0;
        count = CSpectrumData::MergeSpectra(&a, &c, &out, scale, false, resample);
      });
  if (count <= 0)
    state.SkipWithError("not merged");
  state.counters["points"] = count;
  Report(state, b.seconds, what, best, "interp", "numpy interp of the merged data");
}

void BM_Merge1M1M(benchmark::State& state)
{
  Merge(state, false, "MergeSpectra, 1M + 1M points");
}
void BM_Merge1M1MResampled(benchmark::State& state)
{
  Merge(state, true, "MergeSpectra resampled, 1M + 1M points");
}

BENCHMARK(BM_Smooth11)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SGFilter101)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportToCSVFile)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Merge1M1M)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Merge1M1MResampled)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
  return RunAgainstBaseline(argc, argv, [] { return TheBaseline().folder; });
}
