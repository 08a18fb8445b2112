// The data-set archive and the histogram against NumPy, measured in the same run on the same data:
// storing and loading a data set of 1,000,000 points and 4 traces in format 401 against
// numpy.save and numpy.load of the same five float32 arrays (x and the traces, as one array), each
// through a file in the same temporary folder; counting 10,000,000 values into 1000 bins with
// CHistogram::AddCount against numpy.histogram over the same bins. The Python side runs once, as a
// child process, and reports its best times; each benchmark prints its ratio (below 1 is faster).
// Loading shares large blocks among up to three helper threads while numpy.load reads on one: the
// load is measured both ways, with the helpers and with every thread of the process held to the
// core the benchmark runs on.
#include "PythonBaseline.h"

#include <ZSpectrumData/CHistogram.h>
#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>
#include <CFile.h>
#include <benchmark/benchmark.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kPoints = 1000000;
constexpr int kTraces = 4;
constexpr int kValues = 10000000;
constexpr int kBins = 1000;
constexpr float kLow = -4.0f;
constexpr float kHigh = 4.0f;
namespace fs = std::filesystem;

const char* const kBaselineScript = R"(
import sys, time
import numpy as np

folder = sys.argv[1]
points, traces, bins, low, high = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), float(sys.argv[5]), float(sys.argv[6])
arrays = np.fromfile(folder + '/arrays.f32', dtype=np.float32).reshape(traces + 1, points)
best_save = best_load = 1e9
for _ in range(20):
    start = time.perf_counter()
    np.save(folder + '/arrays.npy', arrays)
    best_save = min(best_save, time.perf_counter() - start)
    start = time.perf_counter()
    back = np.load(folder + '/arrays.npy')
    best_load = min(best_load, time.perf_counter() - start)
print('save %.9f' % best_save)
print('load %.9f' % best_load)
values = np.fromfile(folder + '/values.f32', dtype=np.float32)
best = 1e9
for _ in range(5):
    start = time.perf_counter()
    counts, edges = np.histogram(values, bins=bins, range=(low, high))
    best = min(best, time.perf_counter() - start)
counts.astype(np.int64).tofile(folder + '/numpy_counts.i64')
print('histogram %.9f' % best)
)";

struct Baseline {
  fs::path folder;
  std::vector<float> arrays; // x, then the traces
  std::vector<float> values;
  PythonValues seconds;
};

Baseline& TheBaseline()
{
  static Baseline baseline = [] {
    Baseline b;
    b.folder = MakeBaselineFolder("spectrumarchive_bench");
    std::mt19937 random(11);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    b.arrays.resize(size_t(kPoints) * (kTraces + 1));
    for (int i = 0; i < kPoints; ++i)
      b.arrays[size_t(i)] = float(i) * 0.001f;
    for (size_t i = size_t(kPoints); i < b.arrays.size(); ++i)
      b.arrays[i] = normal(random);
    b.values.resize(kValues);
    for (float& v : b.values)
      v = normal(random);
    WriteRaw(b.folder / "arrays.f32", b.arrays);
    WriteRaw(b.folder / "values.f32", b.values);
    const std::string arguments = std::to_string(kPoints) + " " + std::to_string(kTraces) + " " +
                                  std::to_string(kBins) + " " + std::to_string(kLow) + " " +
                                  std::to_string(kHigh);
    b.seconds = RunPythonBaseline(b.folder, kBaselineScript, arguments, "NumPy", "python3-numpy");
    return b;
  }();
  return baseline;
}

CSpectrumData MakeData(const Baseline& b)
{
  CSpectrumData data(L"Scan", kPoints, kTraces);
  data.SetXLabel(L"Time");
  data.SetYLabel(L"Position");
  data.SetXData(b.arrays.data());
  for (int t = 0; t < kTraces; ++t)
    data.SetYData(b.arrays.data() + size_t(t + 1) * kPoints, t);
  data.RecalcLimits();
  return data;
}

void StoreTo(CSpectrumData& data, const fs::path& path)
{
  CFile file;
  if (!file.Open(path.wstring().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
    return;
  CArchive ar(&file, CArchive::store);
  data.Serialize(ar);
  ar.Close();
  file.Close();
}

void LoadFrom(CSpectrumData& data, const fs::path& path)
{
  CFile file;
  if (!file.Open(path.wstring().c_str(), CFile::modeRead | CFile::typeBinary))
    return;
  CArchive ar(&file, CArchive::load);
  data.Serialize(ar);
}

void BM_ArchiveStore(benchmark::State& state)
{
  Baseline& b = TheBaseline();
  CSpectrumData data = MakeData(b);
  const fs::path path = b.folder / "ours.spectrum";
  double best = 1e9;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    StoreTo(data, path);
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(elapsed);
    best = std::min(best, elapsed);
  }
  Report(state, b.seconds, "Serialize (store 401)", best, "save", "numpy.save");
}

// Every thread of the process on one core while it lives (the helpers too, once made), then back
// on the cores each had.
class OneCore {
public:
  OneCore()
  {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(std::max(sched_getcpu(), 0), &one);
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/self/task")) {
      const pid_t id = pid_t(std::stol(task.path().filename().string()));
      cpu_set_t had;
      if (sched_getaffinity(id, sizeof had, &had) == 0 && sched_setaffinity(id, sizeof one, &one) == 0)
        m_had.push_back({id, had});
    }
  }
  ~OneCore()
  {
    for (const auto& [id, had] : m_had)
      sched_setaffinity(id, sizeof had, &had);
  }
  OneCore(const OneCore&) = delete;
  OneCore& operator=(const OneCore&) = delete;

private:
  std::vector<std::pair<pid_t, cpu_set_t>> m_had;
};

void ArchiveLoad(benchmark::State& state, bool oneCore)
{
  Baseline& b = TheBaseline();
  CSpectrumData original = MakeData(b);
  const fs::path path = b.folder / "ours.spectrum";
  StoreTo(original, path);
  {
    CSpectrumData warm; // makes the helper threads, so that one core holds them too
    LoadFrom(warm, path);
  }
  std::optional<OneCore> pinned;
  if (oneCore)
    pinned.emplace();
  double best = 1e9;
  bool same = true;
  for (auto _ : state) {
    CSpectrumData data;
    const auto start = std::chrono::steady_clock::now();
    LoadFrom(data, path);
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(elapsed);
    best = std::min(best, elapsed);
    same = same && data.GetVectorSize() == kPoints && data.GetY(kTraces - 1, kPoints - 1) == b.arrays.back();
  }
  pinned.reset();
  if (!same)
    state.SkipWithError("the loaded data set differs from the stored one");
  Report(state, b.seconds,
         oneCore ? "Serialize (load 401, one core)" : "Serialize (load 401, helper threads)", best, "load",
         "numpy.load");
}

void BM_ArchiveLoad(benchmark::State& state)
{
  ArchiveLoad(state, false);
}

void BM_ArchiveLoadOneCore(benchmark::State& state)
{
  ArchiveLoad(state, true);
}

void BM_HistogramAddCount(benchmark::State& state)
{
  Baseline& b = TheBaseline();
  const float width = (kHigh - kLow) / kBins;
  double best = 1e9;
  std::vector<long long> counts(kBins);
  for (auto _ : state) {
    // Bins centred half a width above each of NumPy's left edges, accepting half a width beyond the
    // outer positions: the same intervals as numpy.histogram's.
    CHistogram histogram(L"Values", kBins);
    histogram.SetLimitsFromFirstBin(kLow + width / 2, width);
    histogram.SetResolution(width);
    const auto start = std::chrono::steady_clock::now();
    for (float v : b.values)
      histogram.AddCount(v, 1);
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(elapsed);
    best = std::min(best, elapsed);
    for (int k = 0; k < kBins; ++k)
      counts[size_t(k)] = (long long)histogram.GetY(k);
  }
  // How many values NumPy counts into another bin: only values within rounding of an edge.
  std::ifstream in(b.folder / "numpy_counts.i64", std::ios::binary);
  std::vector<long long> theirs(kBins);
  if (in.read(reinterpret_cast<char*>(theirs.data()), std::streamsize(theirs.size() * sizeof(long long)))) {
    long long moved = 0;
    for (int k = 0; k < kBins; ++k)
      moved += std::llabs(counts[size_t(k)] - theirs[size_t(k)]);
    state.counters["counts_differing_from_numpy"] = double(moved);
  }
  Report(state, b.seconds, "CHistogram::AddCount x 1e7", best, "histogram", "numpy.histogram");
}

BENCHMARK(BM_ArchiveStore)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ArchiveLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ArchiveLoadOneCore)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_HistogramAddCount)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
  return RunAgainstBaseline(argc, argv, [] { return TheBaseline().folder; });
}
