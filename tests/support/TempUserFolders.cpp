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
} // namespace

TempFolder::TempFolder() : m_path(MakeTempDir()) {}

TempFolder::~TempFolder()
{
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

TempUserFolders::TempUserFolders() : m_root(MakeTempDir())
{
  std::filesystem::create_directories(ConfigHome());
  std::filesystem::create_directories(DataHome());
  m_config.emplace("XDG_CONFIG_HOME", ConfigHome().c_str());
  m_data.emplace("XDG_DATA_HOME", DataHome().c_str());
}

TempUserFolders::~TempUserFolders()
{
  m_config.reset();
  m_data.reset();
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
}
