// Paste of a large table and the AddPoint calls it rests on, each against the least the same work
// can cost, measured in the same run:
//   - Paste (PasteTextAsTrace of a name line, a header line and n rows) against reading the same
//     text's rows into two float arrays (wcstof into std::vector::push_back);
//   - n AddPoint calls against std::vector<float>::push_back of the same x and y.
// Each pair is timed side by side several times and the ratio is the median of the pairs' ratios.
// BM_PasteGrowth gives the time of a 2,000,000-row paste over that of a 250,000-row one: about 8
// when the paste costs time in proportion to its rows.
#include "BenchTiming.h"
#include "CZSpectrumPlot.h"
#include "PlotClipboardText.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

template <typename F> double Timed(F&& work)
{
  const auto start = std::chrono::steady_clock::now();
  work();
  return Seconds(std::chrono::steady_clock::now() - start);
}

// A spreadsheet's copy: a name, a header, then rising x and a y that wanders.
CString TableText(int rows)
{
  std::wstring text = L"Scan\nTime (s)\tHeight (mm)\n";
  text.reserve(size_t(rows) * 16 + 32);
  wchar_t row[64];
  for (int i = 0; i < rows; ++i) {
    std::swprintf(row, 64, L"%g\t%g\n", double(i) * 0.5, double((i * 37) % 1000) * 0.25);
    text += row;
  }
  return CString(std::move(text));
}

// The floor: the rows' two columns read into two arrays, nothing else.
size_t ReadColumns(const std::wstring& text, std::vector<float>& x, std::vector<float>& y)
{
  x.clear();
  y.clear();
  const wchar_t* at = text.c_str();
  for (int header = 0; header < 2; ++header)
    at = std::wcschr(at, L'\n') + 1;
  while (*at) {
    wchar_t* end = nullptr;
    x.push_back(std::wcstof(at, &end));
    y.push_back(std::wcstof(end, &end));
    at = *end ? end + 1 : end;
  }
  return x.size();
}

double PasteOnce(const CString& text)
{
  CZSpectrumPlot plot;
  double seconds = Timed([&] { benchmark::DoNotOptimize(PasteTextAsTrace(plot, text)); });
  if (plot.GetTraceCount() != 1)
    std::fprintf(stderr, "the paste added no trace\n");
  return seconds;
}

struct SPastePair {
  double paste = 0, floor = 0, ratio = 0;
};

SPastePair PastePair(int rows, int repeats)
{
  const CString text = TableText(rows);
  std::vector<float> x, y;
  std::vector<double> pastes, floors, ratios;
  for (int r = 0; r < repeats; ++r) {
    pastes.push_back(PasteOnce(text));
    floors.push_back(Timed([&] { benchmark::DoNotOptimize(ReadColumns(text.Str(), x, y)); }));
    ratios.push_back(pastes.back() / floors.back());
  }
  return {Median(pastes), Median(floors), Median(ratios)};
}

void BM_Paste(benchmark::State& state)
{
  const int rows = int(state.range(0));
  SPastePair pair;
  for (auto _ : state)
    pair = PastePair(rows, 3);
  state.counters["paste_ms"] = pair.paste * 1e3;
  state.counters["floor_ms"] = pair.floor * 1e3;
  state.counters["ratio"] = pair.ratio;
}

void BM_PasteGrowth(benchmark::State& state)
{
  double growth = 0;
  for (auto _ : state) {
    const double small = PastePair(250000, 3).paste;
    const double large = PastePair(2000000, 3).paste;
    growth = large / small;
  }
  state.counters["time_2M_over_250k"] = growth;
}

void BM_AddPoint(benchmark::State& state)
{
  const int points = int(state.range(0));
  const size_t count = size_t(points);
  std::vector<float> xs(count), ys(count);
  for (int i = 0; i < points; ++i) {
    xs[size_t(i)] = float(i) * 0.5f;
    ys[size_t(i)] = float((i * 37) % 1000) * 0.25f;
  }
  std::vector<double> adds, pushes, ratios;
  for (auto _ : state) {
    for (int r = 0; r < 3; ++r) {
      adds.push_back(Timed([&] {
        CSpectrumData data;
        for (int i = 0; i < points; ++i)
          data.AddPoint(xs[size_t(i)], ys[size_t(i)]);
        benchmark::DoNotOptimize(data.GetIndexRange());
      }));
      pushes.push_back(Timed([&] {
        std::vector<float> x, y;
        for (int i = 0; i < points; ++i) {
          x.push_back(xs[size_t(i)]);
          y.push_back(ys[size_t(i)]);
        }
        benchmark::DoNotOptimize(x.data());
        benchmark::DoNotOptimize(y.data());
      }));
      ratios.push_back(adds.back() / pushes.back());
    }
  }
  state.counters["addpoint_ms"] = Median(adds) * 1e3;
  state.counters["push_back_ms"] = Median(pushes) * 1e3;
  state.counters["ratio"] = Median(ratios);
}

} // namespace

BENCHMARK(BM_Paste)->Arg(250000)->Arg(2000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteGrowth)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddPoint)->Arg(10000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
