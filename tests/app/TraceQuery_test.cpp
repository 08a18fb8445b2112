#include "TraceQuery.h"

#include "CStringPrinting.h"
#include "EvaluationBudget.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
// A servo that answers the lines it knows and fails the others; it records what was sent.
struct FakeServo {
  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> sent;
  TraceLineSender Sender()
  {
    return [this](const CString& line) -> std::optional<CString> {
      sent.push_back(line.Str());
      auto it = values.find(line.Str());
      if (it == values.end())
        return std::nullopt;
      return CString(it->second.c_str());
    };
  }
};
} // namespace

TEST(TraceQuery, PlaceholdersAndUnit)
{
  const SPreparedTraceQuery q = PrepareTraceQuery(L"#<ID>QT/100<UNIT:C>+#<ID>QD*0<UNIT:C>", 5);
  EXPECT_EQ(q.text, L"#5QT/100+#5QD*0");
  EXPECT_EQ(q.unit, L"C");
  // A query that starts with the marker keeps it; one without its ">" has no unit.
  EXPECT_EQ(PrepareTraceQuery(L"<UNIT:C>#<ID>QT", 2).unit, L"");
  EXPECT_EQ(PrepareTraceQuery(L"<UNIT:C>#<ID>QT", 2).text, L"<UNIT:C>#2QT");
  EXPECT_EQ(PrepareTraceQuery(L"#1QT<UNIT:C", 1).text, L"#1QT<UNIT:C");
}

TEST(TraceQuery, QueryLinesAreTheTokensThatStartWithAHash)
{
  auto lines = [](const wchar_t* text) {
    std::vector<std::wstring> out;
    for (const STraceQueryLine& line : TraceQueryLines(text))
      out.push_back(std::to_wstring(line.position) + L":" + line.text.Str());
    return out;
  };
  EXPECT_EQ(lines(L"#5QD/100"), (std::vector<std::wstring>{L"0:#5QD"}));
  EXPECT_EQ(lines(L"(#5QD-#5QDT)^2 + #5QD"), (std::vector<std::wstring>{L"6:#5QDT", L"17:#5QD"}))
      << "\"(\" separates nothing";
  EXPECT_EQ(lines(L"#1QT>#2QT"), (std::vector<std::wstring>{L"0:#1QT", L"5:#2QT"}));
  EXPECT_EQ(lines(L"#5QT\r\n/100\t+#5QD"), (std::vector<std::wstring>{L"0:#5QT", L"12:#5QD"}))
      << "line ends and tabs are no part of a line";
}

TEST(TraceQuery, SampleSplicesTheValuesAndFormatsTheReadout)
{
  FakeServo servo;
  servo.values = {{L"#5QD", L"-1234"}, {L"#5QT", L"3512"}};
  STraceSample s = SampleTraceQuery(L"#<ID>QD/100", 5, servo.Sender());
  EXPECT_EQ(servo.sent, (std::vector<std::wstring>{L"#5QD"}));
  EXPECT_TRUE(s.plotted);
  EXPECT_DOUBLE_EQ(s.value, -12.34);
  EXPECT_EQ(s.readout, L"-12.34");

  s = SampleTraceQuery(L"#<ID>QT/100<UNIT:C>", 5, servo.Sender());
  EXPECT_DOUBLE_EQ(s.value, 35.12);
  EXPECT_EQ(s.readout, L"35.12C");

  // Six significant digits, plotted as shown.
  s = SampleTraceQuery(L"#<ID>QD/7", 5, servo.Sender());
  EXPECT_EQ(s.readout, L"-176.286");
  EXPECT_EQ(s.value, -176.286);
}

TEST(TraceQuery, EachValueGoesWhereItsOwnLineStandsWithItsSign)
{
  FakeServo servo;
  servo.values = {{L"#5Q", L"2"}, {L"#5QD", L"-1234"}, {L"#5QDT", L"300"}, {L"#5QCS", L"-3"}};
  // A short line that begins a longer one spoils neither.
  STraceSample s = SampleTraceQuery(L"#<ID>Q*1000+#<ID>QD", 5, servo.Sender());
  EXPECT_EQ(s.readout, L"766");
  s = SampleTraceQuery(L"#<ID>QD+#<ID>QDT", 5, servo.Sender());
  EXPECT_EQ(s.readout, L"-934");
  // A negative value stays one number under any operator.
  s = SampleTraceQuery(L"#<ID>QCS^2", 5, servo.Sender());
  EXPECT_EQ(s.value, 9.0);
  s = SampleTraceQuery(L"10-#<ID>QCS", 5, servo.Sender());
  EXPECT_EQ(s.value, 13.0);
  // The line end after a line is not sent.
  servo.sent.clear();
  s = SampleTraceQuery(L"#<ID>QDT\r\n/100<UNIT:deg>", 5, servo.Sender());
  EXPECT_EQ(servo.sent, (std::vector<std::wstring>{L"#5QDT"}));
  EXPECT_EQ(s.readout, L"3deg");
}

TEST(TraceQuery, FailuresShowErrorAndPlotNothing)
{
  FakeServo servo;
  servo.values = {{L"#5QD", L"100"}, {L"#5QZ", L"0"}};
  // A failed line, even when it is not the last one.
  STraceSample s = SampleTraceQuery(L"#<ID>QX+#<ID>QD", 5, servo.Sender());
  EXPECT_EQ(servo.sent, (std::vector<std::wstring>{L"#5QX", L"#5QD"}));
  EXPECT_FALSE(s.plotted);
  EXPECT_EQ(s.readout, L"Error");
  // A text that does not compile.
  s = SampleTraceQuery(L"#<ID>QD+*<UNIT:C>", 5, servo.Sender());
  EXPECT_FALSE(s.plotted);
  EXPECT_EQ(s.readout, L"Error");
  // Shown but not plotted.
  s = SampleTraceQuery(L"#<ID>QD/#<ID>QZ", 5, servo.Sender());
  EXPECT_FALSE(s.plotted);
  EXPECT_EQ(s.readout, L"inf");
  // A query without servo lines is an expression alone.
  s = SampleTraceQuery(L"2*3<UNIT:x>", 5, servo.Sender());
  EXPECT_TRUE(s.plotted);
  EXPECT_EQ(s.readout, L"6x");
}

TEST(TraceQuery, AnEvaluationBeyondTheBudgetStopsTheTrace)
{
  // Each reading of the tick count comes the given step after the one before: the evaluation
  // between two readings takes one step. The slow servo lines before it do not count.
  DWORD tick = 0xFFFFFF00u; // the difference survives the wrap
  DWORD step = 0;
  SetTickCountSource([&] { return tick += step; });
  FakeServo servo;
  servo.values = {{L"#5QD", L"100"}};
  for (const DWORD ms : {DWORD(0), kMaxEvaluationMs, kMaxEvaluationMs + 1, DWORD(5000)}) {
    step = ms;
    const STraceSample s = SampleTraceQuery(L"#<ID>QD*2<UNIT:x>", 5, servo.Sender());
    EXPECT_EQ(s.evaluationMs, ms);
    EXPECT_EQ(s.overBudget, ms > kMaxEvaluationMs) << ms;
    EXPECT_EQ(s.plotted, ms <= kMaxEvaluationMs) << ms;
    EXPECT_EQ(s.readout, ms <= kMaxEvaluationMs ? L"200x" : L"Error") << ms;
  }
  step = kMaxEvaluationMs + 1;
  EXPECT_TRUE(SampleTraceQuery(L"#<ID>QD*", 5, servo.Sender()).overBudget) << "a failed one too";
  SetTickCountSource({});
}
