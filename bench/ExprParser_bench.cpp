// A user expression that never ends against the same expression run once, measured in the same
// run: an endless loop with a 10 KB body fails at the bound its length gives it, and the ratio
// says how many passes of its body that bound allows. The loop's share of the traces' 500 ms
// sampling period is reported too, since a sample must never freeze the window.
#include "CParser.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double kSamplingPeriodMs = 500.0;

std::string Body()
{
  std::string body;
  while (body.size() < 10 * 1024)
    body += "poly2(1,1,1,1)+";
  return body + "1";
}

double EvaluateMs(const std::string& text, bool expected, benchmark::State& state)
{
  CParser parser;
  parser.SetExpression(text);
  const auto start = Clock::now();
  if (parser.Evaluate() != expected)
    state.SkipWithError("the expression did not evaluate as expected");
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void EndlessLoopWithLongBody(benchmark::State& state)
{
  const std::string body = Body();
  const std::string endless = "while (poly2(1,1,1,1) > 0) { " + body + " }";
  double loopMs = 0, onceMs = 0;
  for (auto _ : state) {
    const double ms = EvaluateMs(endless, false, state);
    onceMs += EvaluateMs(body, true, state);
    loopMs += ms;
    state.SetIterationTime(ms / 1000.0);
  }
  const double iterations = double(state.iterations());
  state.counters["loop_ms"] = loopMs / iterations;
  state.counters["once_ms"] = onceMs / iterations;
  state.counters["ratio"] = loopMs / onceMs;
  state.counters["share_of_period"] = loopMs / iterations / kSamplingPeriodMs;
}
} // namespace

BENCHMARK(EndlessLoopWithLongBody)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
