#pragma once
// The 32 profile strings of the main dialog: titles and commands of the eight traces and the eight
// custom actions, read at start and written back at close, in this order: trace titles, trace
// commands, action titles, action commands.
#include "CString.h"

#include <functional>

inline constexpr int kTraceCount = 8;
inline constexpr int kActionCount = 8;

struct STraceActionProfile {
  CString traceTitle[kTraceCount];
  CString traceCommand[kTraceCount];
  CString actionTitle[kActionCount];
  CString actionCommand[kActionCount];
};

// (section, entry, default) -> value, and (section, entry, value).
using ProfileReader = std::function<CString(const CString&, const CString&, const CString&)>;
using ProfileWriter = std::function<void(const CString&, const CString&, const CString&)>;

// What a fresh profile holds. Stored values win, also empty ones.
STraceActionProfile DefaultTraceActionProfile();
STraceActionProfile ReadTraceActionProfile(const ProfileReader& read);
void WriteTraceActionProfile(const STraceActionProfile& profile, const ProfileWriter& write);
