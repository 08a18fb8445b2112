#pragma once
#include "ScopedEnvironment.h"

#include <filesystem>
#include <optional>

// Points XDG_CONFIG_HOME and XDG_DATA_HOME at a fresh temporary folder for the lifetime of the
// object, so that a test never reads or writes the real user's profile or app-data folder.
class TempUserFolders {
public:
  TempUserFolders();
  ~TempUserFolders();
  TempUserFolders(const TempUserFolders&) = delete;
  TempUserFolders& operator=(const TempUserFolders&) = delete;

  const std::filesystem::path& Root() const { return m_root; }
  std::filesystem::path ConfigHome() const { return m_root / "config"; }
  std::filesystem::path DataHome() const { return m_root / "data"; }

private:
  std::filesystem::path m_root;
  std::optional<ScopedEnvironment> m_config, m_data;
};

// A fresh empty temporary folder, removed with everything in it when the object goes.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::filesystem::path m_path;
};
