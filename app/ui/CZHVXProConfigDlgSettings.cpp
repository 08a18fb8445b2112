// Loading and saving the trace and action definitions as a settings file.
#include "CZHVXProConfigDlg.h"
#include "FileDialog.h"
#include "FileVersion.h"
#include "MainDialogIds.h"
#include "MessageBoxTypes.h"
#include "SettingsFile.h"
#include "UserFolders.h"

void CZHVXProConfigDlg::OnLoadSettings()
{
  m_busy = 1;
  const auto path =
      AskFilePath(this, EModalKind::FileOpen, L"default.csv", kSettingsFileFilter, OFN_HIDEREADONLY);
  if (path) {
    const ESettingsLoad loaded = LoadSettingsFile(*path, m_profile);
    if (loaded == ESettingsLoad::UnknownFormat) {
      Ask(L"Unknown file format!", MB_OK);
    } else if (loaded == ESettingsLoad::TooLarge) {
      Ask(L"This file is too large to be a settings file (over 1 MB); nothing was loaded.", MB_OK);
    } else if (loaded == ESettingsLoad::Loaded) {
      for (int n = 0; n < kTraceCount; ++n) {
        SetButtonCaption(kTraceBoxIds[n], m_profile.traceTitle[n]);
        RenameRunningTrace(n);
      }
      for (int n = 0; n < kActionCount; ++n)
        SetButtonCaption(kActionButtonIds[n], m_profile.actionTitle[n]);
      // Not only at close: a crash must not lose what was loaded.
      WriteTraceActionProfile(m_profile, &CZHVXProConfigDlg::WriteProfileString);
    }
  }
  m_busy = 0;
}

void CZHVXProConfigDlg::OnSaveSettings()
{
  m_busy = 1;
  const auto path = AskFilePath(this, EModalKind::FileSave, L"*.csv", kSettingsFileFilter,
                                OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  if (path) {
    SFileVersionInfo version;
    GetFileVersion(version, GetRunningProgramPath());
    const CString file = SettingsPathWithExtension(*path);
    if (!SaveSettingsFile(file, m_profile, version.text))
      Ask(L"The settings could not be saved to " + file + L"!", MB_OK);
  }
  m_busy = 0;
}
