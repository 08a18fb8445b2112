// fuzz-link: app_logic
// Takes arbitrary bytes as the body of the update server's compatibility table: parsed as the
// program parses it, then asked for a newer program and a newer firmware. A version reported as
// newer must compare greater than the one it was checked against.
#include "CompatibilityTable.h"
#include "FuzzFolder.h"
#include "NativePath.h"
#include "VersionNumbers.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 10'000)
    return 0; // the download's limit
  const std::string body(reinterpret_cast<const char*>(data), size);
  CZStringGrid table;
  if (!ParseCompatibilityTable(body, FromNativePath(FuzzFolder() + "/Compatibility.csv"), table))
    return 0;

  const long long program = ParseVersion(L"1.2.3");
  CString latest;
  if (FindNewProgram(table, program, latest) && ParseVersion(latest) <= program)
    std::abort();
  const SServoIdentity servo{3, 2, ParseVersion(L"1.0.7"), ParseVersion(L"1.5.120")};
  CString firmware;
  if (FindNewFirmware(table, program, servo, firmware) &&
      (ParseVersion(firmware) <= servo.firmwareVersion || NormaliseVersion(firmware) != firmware))
    std::abort();
  return 0;
}
