#pragma once
// The Python side of the benchmarks that measure against NumPy or SciPy in the same run: the data
// goes to the script as raw float32 files in a temporary folder, the script runs once as a child
// process and prints "name value" lines (best times in seconds, counts), and each benchmark reports
// its own time as a ratio against one of those values (below 1 is faster).
#include "BenchTiming.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

// Empty when the interpreter or its package is missing.
using PythonValues = std::map<std::string, double>;

inline std::string Python()
{
  // Debian's interpreter, where python3-numpy and python3-scipy are installed, before whatever PATH
  // offers.
  return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

// A fresh folder for this run's files, named after the benchmark program and the process.
inline std::filesystem::path MakeBaselineFolder(const std::string& name)
{
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

template <typename T> void WriteRaw(const std::filesystem::path& path, const std::vector<T>& values)
{
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(values.data()), std::streamsize(values.size() * sizeof(T)));
}

// At most count values; fewer when the script wrote fewer or none.
inline std::vector<float> ReadRaw(const std::filesystem::path& path, size_t count)
{
  std::ifstream in(path, std::ios::binary);
  std::vector<float> values(count);
  in.read(reinterpret_cast<char*>(values.data()), std::streamsize(values.size() * sizeof(float)));
  values.resize(size_t(in.gcount()) / sizeof(float));
  return values;
}

// Writes script to folder/baseline.py and runs it with the folder and then arguments (if any) on
// its command line. peer and package name what is missing when nothing comes back ("SciPy",
// "python3-scipy").
inline PythonValues RunPythonBaseline(const std::filesystem::path& folder, const char* script,
                                      const std::string& arguments, const char* peer, const char* package)
{
  std::ofstream(folder / "baseline.py") << script;
  std::string command = Python() + " '" + (folder / "baseline.py").string() + "' '" + folder.string() + "'";
  if (!arguments.empty())
    command += " " + arguments;
  PythonValues values;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char name[64];
    double value;
    while (std::fscanf(pipe, "%63s %lf", name, &value) == 2)
      values[name] = value;
    pclose(pipe);
  }
  if (values.empty())
    std::printf("%s baseline unavailable (%s with %s); ratios not reported\n", peer, Python().c_str(),
                package);
  return values;
}

// Runs prepare (untimed) and then body (timed) once per iteration of state and returns the best
// time of body: the statistic the Python side reports as well (the least of its repeats), so that
// a run slowed by other work on a loaded machine counts on neither side.
template <typename Prepare, typename Body> double BestRun(benchmark::State& state, Prepare prepare, Body body)
{
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    body();
    const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
    state.SetIterationTime(elapsed);
    best = std::min(best, elapsed);
  }
  return best;
}

template <typename Body> double BestRun(benchmark::State& state, Body body)
{
  const auto nothing = [] {};
  return BestRun(state, nothing, body);
}

// ours in seconds, against the script's value baselineName; only the time when that is missing.
inline void Report(benchmark::State& state, const PythonValues& baseline, const char* what, double ours,
                   const char* baselineName, const char* peer)
{
  state.counters["ms"] = ours * 1e3;
  const auto found = baseline.find(baselineName);
  if (found == baseline.end())
    return;
  state.counters["peer_ms"] = found->second * 1e3;
  state.counters["ratio"] = ours / found->second;
  // The benchmark body runs more than once while the library sizes its runs; the last line counts.
  std::printf("%s: %.3f ms, %s %.3f ms, ratio %.3f\n", what, ours * 1e3, peer, found->second * 1e3,
              ours / found->second);
}

// The program's main: makeBaseline (which returns the baseline's folder) runs before the first
// benchmark, so that the Python run is not timed with it, and the folder goes at the end.
template <typename MakeBaseline> int RunAgainstBaseline(int argc, char** argv, MakeBaseline makeBaseline)
{
  benchmark::Initialize(&argc, argv);
  const std::filesystem::path folder = makeBaseline();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
