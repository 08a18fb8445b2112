#include "TraceActionProfile.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

TEST(TraceActionProfile, FreshProfileGivesTheDefaults)
{
  const STraceActionProfile p = ReadTraceActionProfile(
      [](const CString&, const CString&, const CString& fallback) { return fallback; });
  EXPECT_EQ(p.traceTitle[0], L"Position");
  EXPECT_EQ(p.traceCommand[0], L"#<ID>QD");
  EXPECT_EQ(p.traceCommand[1], L"#<ID>QCS");
  EXPECT_EQ(p.traceTitle[2], L"Temperature");
  EXPECT_EQ(p.traceTitle[7], L"Trace 8");
  EXPECT_EQ(p.traceCommand[3], L"");
  EXPECT_EQ(p.actionCommand[1], L"#<ID>D9000");
  EXPECT_EQ(p.actionCommand[2], L"#<ID>CO[<POS>+<OFFSET>]");
  EXPECT_EQ(p.actionTitle[5], L"Halt");
  EXPECT_EQ(p.actionCommand[5], L"#<ID>H");
  EXPECT_EQ(p.actionTitle[6], L"Action 7");
  EXPECT_EQ(p.actionCommand[7], L"");
}

TEST(TraceActionProfile, StoredValuesWinAndAreWrittenBackInOrder)
{
  // Keyed by std::wstring: a pair of CStrings would order by the addresses its implicit pointer
  // conversion gives.
  std::map<std::pair<std::wstring, std::wstring>, CString> store;
  store[{L"Trace 1", L"Title"}] = L"";
  store[{L"Action 8", L"Command"}] = L"#<ID>QD\r\n#<ID>Q";
  const STraceActionProfile p =
      ReadTraceActionProfile([&](const CString& section, const CString& entry, const CString& fallback) {
        auto it = store.find({section.Str(), entry.Str()});
        return it == store.end() ? fallback : it->second;
      });
  EXPECT_EQ(p.traceTitle[0], L"") << "an emptied title stays empty";
  EXPECT_EQ(p.actionCommand[7], L"#<ID>QD\r\n#<ID>Q");

  std::vector<std::pair<std::wstring, std::wstring>> order;
  WriteTraceActionProfile(p, [&](const CString& section, const CString& entry, const CString& value) {
    order.push_back({section.Str(), entry.Str()});
    store[{section.Str(), entry.Str()}] = value;
  });
  ASSERT_EQ(order.size(), 32u);
  EXPECT_EQ(order[0], (std::pair<std::wstring, std::wstring>{L"Trace 1", L"Title"}));
  EXPECT_EQ(order[8], (std::pair<std::wstring, std::wstring>{L"Trace 1", L"Command"}));
  EXPECT_EQ(order[16], (std::pair<std::wstring, std::wstring>{L"Action 1", L"Title"}));
  EXPECT_EQ(order[31], (std::pair<std::wstring, std::wstring>{L"Action 8", L"Command"}));
  EXPECT_EQ((store[{L"Trace 2", L"Command"}]), L"#<ID>QCS");
}
