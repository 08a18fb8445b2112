#include "CustomActionScript.h"

#include "CStringPrinting.h"
#include "EvaluationBudget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The steps as text: sent lines as they are, waits as "WAIT <ms>".
std::vector<std::wstring> Steps(const SActionScript& script)
{
  std::vector<std::wstring> out;
  for (const SActionStep& step : script.steps)
    out.push_back(step.wait ? L"WAIT " + std::to_wstring(step.waitMs) : step.line.Str());
  return out;
}

SActionScript Expand(const wchar_t* command)
{
  return ExpandActionScript(command, 5, {L"1234", L"-100"});
}
} // namespace

TEST(CustomActionScript, PlaceholdersBracketsAndLines)
{
  EXPECT_EQ(Steps(Expand(L"#<ID>CO[<POS>+<OFFSET>]")), (std::vector<std::wstring>{L"#5CO1134"}));
  EXPECT_EQ(Steps(Expand(L"#<ID>D[7/2]\r\n#<ID>D[-7/2]")), (std::vector<std::wstring>{L"#5D3", L"#5D-3"}));
  // Blank lines are skipped; "WAIT" reads its number after any blanks.
  EXPECT_EQ(Steps(Expand(L"#<ID>D0\r\n\r\nWAIT 250\r\n#<ID>D9000\nWAIT[100*3]")),
            (std::vector<std::wstring>{L"#5D0", L"WAIT 250", L"#5D9000", L"WAIT 300"}));
  EXPECT_TRUE(Expand(L"#1H").error.IsEmpty());
  EXPECT_TRUE(NeedsOriginOffset(L"#<ID>CO[<POS>+<OFFSET>]"));
  EXPECT_FALSE(NeedsOriginOffset(L"#<ID>CO[<POS>+<offset>]"));
}

TEST(CustomActionScript, ScriptsThatCannotRunAreRefusedWhole)
{
  for (const wchar_t* bad :
       {L"#1D0\r\n#1D[5", L"#1D0\r\n#1D[1/0]", L"#1D[2*4]\r#1D[2*]", L"#1D[+]", L"#1D[0/0]", L"#1D[3e9]",
        L"#1D0\r\nWAIT -1", L"#1D0\r\nWAIT 60001", L"WAIT 99999999999999999999"}) {
    const SActionScript script = Expand(bad);
    EXPECT_TRUE(script.steps.empty()) << CStringA(bad).GetString();
    EXPECT_EQ(script.error.Left(31), L"The custom action was not run: ") << CStringA(bad).GetString();
  }
  EXPECT_EQ(Expand(L"#1D[5").error, L"The custom action was not run: a \"[\" has no \"]\" after it.");
  EXPECT_EQ(Expand(L"WAIT -1").error,
            L"The custom action was not run: \"WAIT -1\" is no wait of 0 to 60000 ms.");
  EXPECT_EQ(Expand(L"#1D[1/0]").error, L"The custom action was not run: [1/0] gives no whole number.");
  EXPECT_EQ(Expand(L"#1D0\r\n#1D[2*]").error, L"The custom action was not run: [2*] cannot be evaluated.");
  EXPECT_EQ(Steps(Expand(L"WAIT 60000\r\nWAIT")), (std::vector<std::wstring>{L"WAIT 60000", L"WAIT 0"}));
}

TEST(CustomActionScript, PlaceholdersWithoutAValueForTheServoRefuseTheScript)
{
  // Before the first poll, or with the offset query unanswered: "[+-100]" and "[1234+]" would be
  // sent as -100 and whatever came before.
  const wchar_t* origin = L"#<ID>D0\r\n#<ID>CO[<POS>+<OFFSET>]";
  EXPECT_EQ(ExpandActionScript(origin, 2, {L"", L"-100"}).error,
            L"The custom action was not run: the position of servo 2 is not known yet.");
  const SActionScript script = ExpandActionScript(origin, 2, {L"1234", L""});
  EXPECT_TRUE(script.steps.empty());
  EXPECT_EQ(script.error, L"The custom action was not run: the origin offset of servo 2 could not be read.");
  EXPECT_TRUE(ExpandActionScript(L"#<ID>D0", 2, {}).error.IsEmpty()) << "no placeholder, no value needed";

  // The values belong to the servo they were read from; choosing another forgets them.
  CRememberedServoValues values;
  values.SetOffset(1, L"-100");
  values.Select(2);
  values.SetPosition(2, L"500");
  EXPECT_EQ(values.ValuesOf(2).position, L"500");
  EXPECT_TRUE(values.ValuesOf(2).offset.IsEmpty());
  values.Select(1);
  EXPECT_TRUE(values.ValuesOf(1).position.IsEmpty());
}

TEST(CustomActionScript, BracketsBeyondTheBudgetTogetherRefuseTheScript)
{
  // Each reading of the tick count comes the given step after the one before: the clock is read
  // before the first bracket and after each, so each takes one step.
  DWORD tick = 0;
  DWORD step = kMaxEvaluationMs / 2;
  SetTickCountSource([&] { return tick += step; });
  EXPECT_EQ(Steps(Expand(L"#<ID>D[1]\r\n#<ID>D[2]")), (std::vector<std::wstring>{L"#5D1", L"#5D2"}));
  SActionScript script = Expand(L"#<ID>D[1]\r\n#<ID>D[2]\r\n#<ID>D[3]");
  EXPECT_TRUE(script.steps.empty());
  EXPECT_TRUE(script.overBudget);
  EXPECT_EQ(script.error,
            L"The custom action was not run: its expressions took 375 ms to evaluate, more than "
            L"250 ms.");
  step = kMaxEvaluationMs + 1;
  script = Expand(L"#<ID>D0");
  EXPECT_TRUE(script.error.IsEmpty()) << "no bracket, nothing evaluated";
  EXPECT_FALSE(script.overBudget);
  EXPECT_TRUE(Expand(L"#<ID>D[1]").overBudget);
  SetTickCountSource({});
}
