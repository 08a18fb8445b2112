#include "CFileReplacement.h"

#include "NativePath.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path)
{
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool SyncPath(const std::string& path, int flags)
{
  const int fd = open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0)
    return false;
  const bool synced = fsync(fd) == 0;
  return close(fd) == 0 && synced;
}

} // namespace

CFileReplacement::CFileReplacement(const CString& path)
{
  if (path.IsEmpty())
    return;
  m_target = NativePath(path.GetString());
  std::error_code error;
  if (std::filesystem::is_symlink(m_target, error)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(m_target, error);
    if (!error)
      m_target = resolved.string();
  }
  const size_t slash = m_target.rfind('/');
  const std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = FolderOf(m_target) + "." + name + "." + std::to_string(getpid()) + "-" +
                             std::to_string(counter++) + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      close(fd);
      m_tempPath = FromNativePath(temp);
      return;
    }
    if (errno != EEXIST)
      return;
  }
}

CFileReplacement::~CFileReplacement()
{
  if (!m_committed && !m_tempPath.IsEmpty())
    std::remove(NativePath(m_tempPath.GetString()).c_str());
}

bool CFileReplacement::Commit()
{
  if (m_tempPath.IsEmpty() || m_committed)
    return false;
  const std::string temp = NativePath(m_tempPath.GetString());
  struct stat old {};
  if (stat(m_target.c_str(), &old) == 0)
    chmod(temp.c_str(), old.st_mode & 07777);
  if (!SyncPath(temp, O_RDONLY) || std::rename(temp.c_str(), m_target.c_str()) != 0)
    return false;
  m_committed = true;
  // The rename itself reaches the disk with the folder; a failure there loses nothing written.
  const std::string folder = FolderOf(m_target);
  SyncPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
  return true;
}
