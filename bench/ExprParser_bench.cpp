// A user expression that never ends against the same expression run once, measured in the same
// run: an endless loop with a 10 KB body fails at the bound its length gives it, and the ratio
// says how many passes of its body that bound allows. The loop's share of the traces' 500 ms
// sampling period is reported too, since a sample must never freeze the window.
//
// Then the dearest texts known, each compiled and evaluated (or refused) in full: its share of the
// 50 ms that one evaluation may take, and its time against the longest plain sum measured in the
// same run. The texts "at bound" are the longest of their kind accepted.
#include "CParser.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double kSamplingPeriodMs = 500.0;
constexpr double kEvaluationBoundMs = 50.0;

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
// The longest text made of head and repeats of unit, then tail, that keeps within length.
std::string Fill(const std::string& head, const std::string& unit, const std::string& tail,
                 std::size_t length = CParser::kMaxExpressionLength)
{
  std::string text = head;
  while (text.size() + unit.size() + tail.size() <= length)
    text += unit;
  return text + tail;
}

std::string Definitions(std::size_t count)
{
  std::string text;
  for (std::size_t i = 0; i < count; ++i)
    text += "var a" + std::to_string(1000 + i) + " := 1; ";
  return text;
}

std::string LongestSum()
{
  return Fill("1", "+1", "");
}

// Products first: the library inserts each into the list of the tokens behind it.
std::string ImpliedProducts()
{
  std::string products;
  for (std::size_t i = 0; i <= CParser::kMaxImpliedProducts; ++i)
    products += "(1)";
  return Fill(products, "+1", "");
}

std::string Everything()
{
  std::string head;
  for (std::size_t i = 0; i <= CParser::kMaxImpliedProducts; ++i)
    head += "(1)";
  head += "; " + Definitions(CParser::kMaxLocalNames - 3) + "var x := 1e300; var s := 0; ";
  return Fill(head + "for (var i := 0; i < 1e9; i += 1) { s += 0", "+tan(x)", " }");
}

bool Accepted(const std::string& text)
{
  CParser parser;
  parser.SetExpression(text);
  return parser.Evaluate();
}

// The text that make gives for the largest count up to most that is accepted (make(1) is).
template <class Make> std::string LargestAccepted(Make make, std::size_t most)
{
  std::size_t low = 1, high = most + 1; // make(low) is accepted, make(high) is not or lies beyond
  while (high - low > 1) {
    const std::size_t middle = low + (high - low) / 2;
    (Accepted(make(middle)) ? low : high) = middle;
  }
  return make(low);
}

// head, count repeats of unit, tail: the most repeats accepted.
std::string LongestAccepted(const std::string& head, const std::string& unit, const std::string& tail)
{
  return LargestAccepted(
      [&](std::size_t count) {
        std::string text = head;
        for (std::size_t i = 0; i < count; ++i)
          text += unit;
        return text + tail;
      },
      (CParser::kMaxExpressionLength - head.size() - tail.size()) / unit.size());
}

// Three loops nested, each running to the repeats it is given (one more fails at once): a shorter
// text gets more of them.
std::string NestedLoops()
{
  return LargestAccepted(
      [](std::size_t n) {
        std::string repeats = std::to_string(n);
        repeats.insert(0, 6 - repeats.size(), '0');
        return "var n := " + repeats +
               "; var s := 0; for (var i := 0; i < n; i += 1) { for (var j := 0; j < n; "
               "j += 1) { for (var k := 0; k < n; k += 1) { s += tan(1e300 + s) } } }";
      },
      CParser::kMaxLoopIterations - 1);
}

std::string VectorTangents()
{
  return LongestAccepted("var v[1000] := [1e300]; sum(0", "+tan(v)", ")");
}

// Operands at which each dear operation costs the most measured: fmod of operands whose exponents
// lie furthest apart, the periodic functions of huge numbers, erfc just before it underflows.
const std::string kFarApart = "var x := 1.7976931348623157e308; var y := 1e-300; var s := 0; ";

// A loop that runs until its bound stops it, with a body of the longest text of terms.
std::string LongLoopOf(const std::string& definitions, const std::string& term)
{
  return Fill(definitions + "var s := 0; while (s > -1) { s += 0", "+" + term, " }");
}

double CompileAndEvaluateMs(const std::string& text)
{
  CParser parser;
  parser.SetExpression(text);
  const auto start = Clock::now();
  benchmark::DoNotOptimize(parser.Evaluate());
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <class Text> void WorstText(benchmark::State& state, Text make)
{
  const std::string text = make();
  const std::string sum = LongestSum();
  CParser parser;
  parser.SetExpression(text);
  state.counters["accepted"] = parser.Evaluate() ? 1 : 0;
  double textMs = 0, sumMs = 0;
  for (auto _ : state) {
    const double ms = CompileAndEvaluateMs(text);
    sumMs += CompileAndEvaluateMs(sum);
    textMs += ms;
    state.SetIterationTime(ms / 1000.0);
  }
  const double iterations = double(state.iterations());
  state.counters["length"] = double(text.size());
  state.counters["ms"] = textMs / iterations;
  state.counters["share_of_bound"] = textMs / iterations / kEvaluationBoundMs;
  state.counters["ratio_to_longest_sum"] = textMs / sumMs;
}
} // namespace

BENCHMARK(EndlessLoopWithLongBody)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// One of the dearest texts known, made by the callable after the name, timed as each one is.
#define WORST_TEXT(name, ...)                                                                                \
  BENCHMARK_CAPTURE(WorstText, name, __VA_ARGS__)                                                            \
      ->UseManualTime()                                                                                      \
      ->Unit(benchmark::kMillisecond)                                                                        \
      ->Iterations(10)

// Strings: "like" on long literals in a loop took a minute; now quoted text is refused at once.
WORST_TEXT(like_in_loop, [] {
  return "var n := 0; for (var i := 0; i < 1e9; i += 1) { n += '" + std::string(16000, 'a') +
         "' like '*a*b' }; n";
});
WORST_TEXT(longest_sum, LongestSum);
// Local names: 1741 definitions took 237 ms to compile; at the bound, each name read walks them all.
WORST_TEXT(definitions_1741, [] { return Definitions(1741) + "1"; });
WORST_TEXT(definitions_at_bound, [] { return Fill(Definitions(CParser::kMaxLocalNames), "a1127+", "1"); });
WORST_TEXT(elements_at_bound, [] {
  std::string text = "var v[128]; 0";
  for (std::size_t i = 1; i < CParser::kMaxLocalNames; ++i)
    text += "+v[" + std::to_string(i) + "]";
  return Fill(text, "+1", "");
});
WORST_TEXT(implied_products, ImpliedProducts);
// Whole-vector work: 1,300 "sum(tan(v))" took 60 ms without a loop; the longest text the work allows.
WORST_TEXT(sum_tan_1300, [] { return Fill("var v[1000] := [1e300]; 0", "+sum(tan(v))", ""); });
WORST_TEXT(vector_tangents_at_bound, VectorTangents);
// Loops: tangents of a huge number are the dearest function known, per character, found so far.
WORST_TEXT(loop_tangents_long, [] {
  return Fill("var x := 1e300; var s := 0; for (var i := 0; i < 1e9; i += 1) { s += 0", "+tan(x)", " }");
});
WORST_TEXT(loop_tangents_short,
           [] { return std::string("var x := 1e300; var s := 0; while (s > -1) { s += tan(x) }"); });
WORST_TEXT(nested_loops, NestedLoops);
WORST_TEXT(loop_vector_work, [] {
  return Fill("var v[1000] := [1e300]; var s := 0; while (s > -1) { s += 0", "+sum(tan(v))", " }",
              CParser::kMaxWork / CParser::kMaxLocalVectorElements);
});
WORST_TEXT(loop_polynomials, [] {
  return Fill("var x := 1.1; var s := 0; while (s > -1) { s += 0", "+poly10(x,x,x,x,x,x,x,x,x,x,x,x)", " }");
});
// Every bound at once: products, names and a loop of tangents that fills the rest of the text.
WORST_TEXT(everything, Everything);

// Remainders of far-apart operands: fmod takes about 2 us each. 183 repeats of 4,000 took a second.
WORST_TEXT(modulo_183_loops, [] {
  return Fill(kFarApart + "for (var i := 0; i < 183; i += 1) { s += 0", "+x%y", " }; s",
              CParser::kMaxExpressionLength - 1);
});
WORST_TEXT(modulo_longest_sum, [] { return Fill(kFarApart + "0", "+x%y", ""); });
WORST_TEXT(modulo_function_longest_sum, [] { return Fill(kFarApart + "0", "+mod(x,y)", ""); });
WORST_TEXT(modulo_loop_short, [] { return kFarApart + "while (s > -1) { s += x%y }"; });
WORST_TEXT(modulo_loop_long, [] { return LongLoopOf(kFarApart, "x%y"); });
WORST_TEXT(modulo_vector_at_bound, [] {
  return LongestAccepted("var v[1000] := [1.7976931348623157e308]; var y := 1e-300; 0", "+sum(v%y)", "");
});
// The dearest special functions, in loops and on vectors.
WORST_TEXT(sinc_loop_long, [] { return LongLoopOf("var x := 1.4119e308; ", "sinc(x)"); });
WORST_TEXT(sinc_vector_at_bound,
           [] { return LongestAccepted("var v[1000] := [1.4119e308]; 0", "+sum(sinc(v))", ""); });
WORST_TEXT(erfc_loop_long, [] { return LongLoopOf("var x := 26.55; ", "erfc(x)"); });
WORST_TEXT(erfc_vector_at_bound,
           [] { return LongestAccepted("var v[1000] := [26.55]; 0", "+sum(erfc(v))", ""); });
WORST_TEXT(sec_loop_long, [] { return LongLoopOf("var x := 1.4119e308; ", "sec(x)"); });
WORST_TEXT(power_loop_long, [] { return LongLoopOf("var x := 1e-300/1e23; var y := 1.0000001; ", "x^y"); });
WORST_TEXT(atan2_loop_long, [] { return LongLoopOf("var x := 1e-300/1e23; ", "atan2(x,x)"); });

BENCHMARK_MAIN();
