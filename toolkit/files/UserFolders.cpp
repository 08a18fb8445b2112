#include "UserFolders.h"

#include "NativePath.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string HomeFolder()
{
  const char* home = std::getenv("HOME");
  if (home && *home == '/')
    return home;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && *user->pw_dir == '/')
    return user->pw_dir;
  return "/tmp";
}

CString XdgFolder(const char* variable, const char* fallbackUnderHome)
{
  const char* value = std::getenv(variable);
  std::string folder = value && *value == '/' ? std::string(value) : HomeFolder() + "/" + fallbackUnderHome;
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return FromNativePath(folder);
}

} // namespace

CString GetUserDataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

CString GetUserConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

CString GetRunningProgramPath()
{
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0)
      return CString();
    if (size_t(length) < buffer.size())
      return FromNativePath(std::string_view(buffer.data(), size_t(length)));
    if (buffer.size() > (1u << 20))
      return CString();
    buffer.resize(buffer.size() * 2);
  }
}
