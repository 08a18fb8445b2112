#pragma once
// How long a download from the update server may take. The transfers run beside the window, which
// goes on painting, but its input waits for them: each is bounded by a total time and abandoned
// sooner when it stalls (fewer than stallBytesPerSecond for stallSeconds on end), so that a server
// that sends a byte now and then costs seconds, not the whole total.
#include <optional>

enum class EDownload {
  Table, // the compatibility table, asked for while the user waits
  File,  // the firmware or the installer, which may come over a slow line
};

struct SDownloadLimits {
  long connectTimeoutMs = 0;
  long totalTimeoutMs = 0;
  long stallBytesPerSecond = 0;
  long stallSeconds = 0;
};

SDownloadLimits DownloadLimitsFor(EDownload kind);

// For tests: the stall threshold of every download (nullopt: the program's own), so that a stall
// is seen in a second rather than in the program's seconds.
struct SStallThreshold {
  long bytesPerSecond = 0;
  long seconds = 0;
};
void OverrideDownloadStall(std::optional<SStallThreshold> threshold);
