#include "TraceActionProfile.h"

namespace {
CString SectionName(const wchar_t* kind, int index)
{
  CString section;
  section.Format(L"%s %d", kind, index + 1);
  return section;
}

// Visits the 32 strings in profile order with their sections and entries.
template <typename Profile, typename Visit> void ForEachString(Profile& p, Visit visit)
{
  for (int n = 0; n < kTraceCount; ++n)
    visit(SectionName(L"Trace", n), L"Title", p.traceTitle[n]);
  for (int n = 0; n < kTraceCount; ++n)
    visit(SectionName(L"Trace", n), L"Command", p.traceCommand[n]);
  for (int n = 0; n < kActionCount; ++n)
    visit(SectionName(L"Action", n), L"Title", p.actionTitle[n]);
  for (int n = 0; n < kActionCount; ++n)
    visit(SectionName(L"Action", n), L"Command", p.actionCommand[n]);
}
} // namespace

STraceActionProfile DefaultTraceActionProfile()
{
  STraceActionProfile p;
  const CString id = L"#<ID>";
  p.traceTitle[0] = L"Position";
  p.traceCommand[0] = id + L"QD";
  p.traceTitle[1] = L"Speed";
  p.traceCommand[1] = id + L"QCS";
  p.traceTitle[2] = L"Temperature";
  p.traceCommand[2] = id + L"QT";
  for (int n = 3; n < kTraceCount; ++n)
    p.traceTitle[n] = SectionName(L"Trace", n);

  p.actionTitle[0] = L"Move to Origin";
  p.actionCommand[0] = id + L"D" + L"0";
  p.actionTitle[1] = L"Move to 90 deg";
  p.actionCommand[1] = id + L"D" + L"9000";
  p.actionTitle[2] = L"Configure Origin Here";
  p.actionCommand[2] = id + L"CO" + L"[<POS>+<OFFSET>]";
  p.actionTitle[3] = L"Slow";
  p.actionCommand[3] = id + L"SD" + L"1000";
  p.actionTitle[4] = L"Fast";
  p.actionCommand[4] = id + L"SD" + L"5000";
  p.actionTitle[5] = L"Halt";
  p.actionCommand[5] = id + L"H";
  p.actionTitle[6] = L"Action 7";
  p.actionTitle[7] = L"Action 8";
  return p;
}

STraceActionProfile ReadTraceActionProfile(const ProfileReader& read)
{
  STraceActionProfile p = DefaultTraceActionProfile();
  ForEachString(p, [&](const CString& section, const wchar_t* entry, CString& value) {
    value = read(section, entry, value);
  });
  return p;
}

void WriteTraceActionProfile(const STraceActionProfile& profile, const ProfileWriter& write)
{
  ForEachString(profile, [&](const CString& section, const wchar_t* entry, const CString& value) {
    write(section, entry, value);
  });
}
