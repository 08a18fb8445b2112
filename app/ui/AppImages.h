#pragma once
// The main dialog's pictures, compiled in from res/ ("<id>_<name>.png" is picture <id>).
#include "EmbeddedResources.h"

#include <wx/icon.h>

inline constexpr int kBackgroundBitmap = 132;
inline constexpr int kAppIcon = 134;
inline constexpr int kDotMatrixFontBitmap = 159;
inline constexpr int kPauseImage = 160;
inline constexpr int kResumeImage = 161; // the pause button while paused
inline constexpr int kFirmwareUpdateImage = 168;
inline constexpr int kFirmwareAvailableImage = 169;
inline constexpr int kHelpOnlineImage = 170;
inline constexpr int kHelpOfflineImage = 171;
// Trace boxes 1 to 8, each a swatch of its trace's colour.
inline constexpr int kTraceImages[8] = {152, 145, 151, 147, 149, 150, 148, 146};

// An invalid bitmap or icon when the picture is missing.
inline wxBitmap LoadAppBitmap(int id)
{
  EnsureImageHandlers();
  return LoadEmbeddedBitmap(id);
}

inline wxIcon LoadAppIcon()
{
  wxIcon icon;
  const wxBitmap bitmap = LoadAppBitmap(kAppIcon);
  if (bitmap.IsOk())
    icon.CopyFromBitmap(bitmap);
  return icon;
}
