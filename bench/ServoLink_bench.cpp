// A servo query's round trip through the port against the protocol's own floor, measured in the
// same run: the simulated servo's reply time (from the "\r" of the line reaching it to the end of
// its reply) plus the 20 ms that a read waits after the last byte for more. The ratio measured /
// floor is what the port adds. Then the main dialog's status poll, four queries ("QD", "Q",
// "QEF", "QRF") to a servo that answers in 1 ms, against four floors.
#include "CHVXProControlPort.h"
#include "SimulatedServoChain.h"
#include "TempUserFolders.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double kReadIntervalMs = 20.0;
constexpr int kServo = 5;

struct Link {
  explicit Link(std::chrono::microseconds replyDelay)
  {
    chain.SetReplyDelay(replyDelay);
    chain.AddServos(1, kServo, kServo);
    connected = port.Connect(chain.PortNumber()) == 0;
  }
  ~Link() { port.Disconnect(); }

  TempUserFolders folders;
  SimulatedServoChain chain;
  CHVXProControlPort port;
  bool connected = false;
};

double Milliseconds(Clock::duration d)
{
  return std::chrono::duration<double, std::milli>(d).count();
}

// Runs the lines once per iteration and reports the mean time of one iteration, the floor (the
// servo's mean reply time plus the read interval, per line) and their ratio.
void RunLines(benchmark::State& state, const std::vector<const char*>& mnemonics)
{
  Link link{std::chrono::microseconds(state.range(0))};
  if (!link.connected) {
    state.SkipWithError("cannot connect to the simulated servo");
    return;
  }
  double measuredMs = 0, replyMs = 0;
  int64_t lines = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (const char* mnemonic : mnemonics) {
      if (link.port.Send(kServo, mnemonic) != 0) {
        state.SkipWithError("a query went unanswered");
        return;
      }
      replyMs += Milliseconds(link.chain.LastReplyLatency());
      ++lines;
    }
    const double ms = Milliseconds(Clock::now() - start);
    measuredMs += ms;
    state.SetIterationTime(ms / 1000.0);
  }
  const double iterations = double(state.iterations());
  const double floorMs = (replyMs / double(lines) + kReadIntervalMs) * double(mnemonics.size());
  state.counters["measured_ms"] = measuredMs / iterations;
  state.counters["floor_ms"] = floorMs;
  state.counters["ratio"] = measuredMs / iterations / floorMs;
}

void QueryRoundTrip(benchmark::State& state)
{
  RunLines(state, {"QD"});
}

void StatusPoll(benchmark::State& state)
{
  RunLines(state, {"QD", "Q", "QEF", "QRF"});
}
} // namespace

// The argument is the servo's reply delay in microseconds.
BENCHMARK(QueryRoundTrip)->Arg(1000)->Arg(300)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StatusPoll)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
