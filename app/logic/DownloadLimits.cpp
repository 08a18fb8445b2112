#include "DownloadLimits.h"

namespace {
std::optional<SStallThreshold> g_stallOverride;
} // namespace

SDownloadLimits DownloadLimitsFor(EDownload kind)
{
  // The table is at most 10,000 bytes: under 100 bytes a second it could not come within its 10 s.
  // The installer (10 MB) or the firmware (1 MB) at under 1 KiB a second would not come within
  // the 5 minutes either.
  SDownloadLimits limits = kind == EDownload::Table ? SDownloadLimits{2'000, 10'000, 100, 5}
                                                    : SDownloadLimits{2'000, 300'000, 1024, 15};
  if (g_stallOverride) {
    limits.stallBytesPerSecond = g_stallOverride->bytesPerSecond;
    limits.stallSeconds = g_stallOverride->seconds;
  }
  return limits;
}

void OverrideDownloadStall(std::optional<SStallThreshold> threshold)
{
  g_stallOverride = threshold;
}
