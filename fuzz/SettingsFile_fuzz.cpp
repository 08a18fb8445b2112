// fuzz-link: app_logic
// Loads arbitrary bytes as a settings file picked with Load... A load that fails changes nothing;
// one that succeeds, saved and loaded again, gives back every definition it saves (those with a
// command).
#include "FuzzFolder.h"
#include "NativePath.h"
#include "SettingsFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

CString PathOf(const char* name)
{
  return FromNativePath(FuzzFolder() + "/" + name);
}

bool SameDefinitions(const STraceActionProfile& a, const STraceActionProfile& b, bool withCommandOnly)
{
  for (int n = 0; n < kTraceCount; ++n) {
    if (!withCommandOnly || !a.traceCommand[n].IsEmpty())
      if (a.traceTitle[n] != b.traceTitle[n] || a.traceCommand[n] != b.traceCommand[n])
        return false;
    if (!withCommandOnly || !a.actionCommand[n].IsEmpty())
      if (a.actionTitle[n] != b.actionTitle[n] || a.actionCommand[n] != b.actionCommand[n])
        return false;
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::FILE* file = std::fopen((FuzzFolder() + "/in.csv").c_str(), "wb");
  if (!file)
    std::abort();
  if (size)
    std::fwrite(data, 1, size, file);
  std::fclose(file);

  const STraceActionProfile before = DefaultTraceActionProfile();
  STraceActionProfile loaded = before;
  const ESettingsLoad result = LoadSettingsFile(PathOf("in.csv"), loaded);
  if (result == ESettingsLoad::TooLarge && size <= kSettingsFileLimit)
    std::abort();
  if (result != ESettingsLoad::Loaded) {
    if (!SameDefinitions(loaded, before, false))
      std::abort();
    return 0;
  }
  if (!SaveSettingsFile(PathOf("out.csv"), loaded, L"1"))
    std::abort();
  STraceActionProfile again = before;
  if (LoadSettingsFile(PathOf("out.csv"), again) != ESettingsLoad::Loaded ||
      !SameDefinitions(loaded, again, true))
    std::abort();
  return 0;
}
