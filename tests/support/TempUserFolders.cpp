#include "TempUserFolders.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace {
std::filesystem::path MakeTempDir()
{
  std::string pattern = (std::filesystem::temp_directory_path() / "hvxtest-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("mkdtemp failed");
  return pattern;
}

void Restore(const char* name, bool had, const std::string& old)
{
  if (had)
    setenv(name, old.c_str(), 1);
  else
    unsetenv(name);
}
} // namespace

TempFolder::TempFolder() : m_path(MakeTempDir()) {}

TempFolder::~TempFolder()
{
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

TempUserFolders::TempUserFolders() : m_root(MakeTempDir())
{
  if (const char* v = getenv("XDG_CONFIG_HOME")) {
    m_hadConfig = true;
    m_oldConfig = v;
  }
  if (const char* v = getenv("XDG_DATA_HOME")) {
    m_hadData = true;
    m_oldData = v;
  }
  std::filesystem::create_directories(ConfigHome());
  std::filesystem::create_directories(DataHome());
  setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
  setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
}

TempUserFolders::~TempUserFolders()
{
  Restore("XDG_CONFIG_HOME", m_hadConfig, m_oldConfig);
  Restore("XDG_DATA_HOME", m_hadData, m_oldData);
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
}
