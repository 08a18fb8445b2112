#include "FileFunctions.h"

#include "NativePath.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsFolder(const CString& path)
{
  struct stat info {};
  return stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

CString CurrentFolder()
{
  std::vector<char> buffer(4096);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE || buffer.size() > (1u << 20))
      return L"./";
    buffer.resize(buffer.size() * 2);
  }
  CString folder = FromNativePath(buffer.data());
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'/')
    folder += L'/';
  return folder;
}

// Lists an entry as a file unless it is a folder; a link that points nowhere is a file too.
bool IsListedAsFile(const std::string& path)
{
  struct stat info {};
  if (stat(path.c_str(), &info) == 0)
    return !S_ISDIR(info.st_mode);
  return lstat(path.c_str(), &info) == 0;
}

} // namespace

bool MatchesWildcard(const CString& name, const CString& pattern)
{
  std::wstring_view n = name.View(), p = pattern.View();
  size_t ni = 0, pi = 0;
  size_t starAt = std::wstring_view::npos, starMatch = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == L'?' || p[pi] == n[ni])) {
      ++ni;
      ++pi;
    } else if (pi < p.size() && p[pi] == L'*') {
      starAt = pi++;
      starMatch = ni;
    } else if (starAt != std::wstring_view::npos) {
      pi = starAt + 1;
      ni = ++starMatch;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*')
    ++pi;
  return pi == p.size();
}

CString GetFolder(const CString& path)
{
  int last = path.ReverseFind(L'/');
  if (last >= 1)
    return path.Left(last + 1);
  if (last == 0)
    return L"/";
  return CurrentFolder();
}

CString GetFileName(const CString& path)
{
  CString trimmed = path;
  trimmed.TrimRight(L'/');
  int last = trimmed.ReverseFind(L'/');
  if (last < 0)
    return trimmed;
  return trimmed.Mid(last + 1);
}

CString GetFileTitle(const CString& path)
{
  CString name = GetFileName(path);
  int dot = name.ReverseFind(L'.');
  return dot < 0 ? name : name.Left(dot);
}

CString GetFileExtension(const CString& path)
{
  int dot = path.ReverseFind(L'.');
  if (dot < 0 || path.Find(L'/', dot) >= 0)
    return CString();
  return path.Mid(dot + 1);
}

CString CreateFolderPath(const CString& path)
{
  CString folder = GetFolder(path);
  if (IsFolder(folder))
    return folder;
  for (int slash = path.Find(L'/', 1); slash >= 0; slash = path.Find(L'/', slash + 1))
    mkdir(NativePath(path.Left(slash)).c_str(), 0777);
  return folder;
}

int FindFiles(const CString& pattern, CStringList* list)
{
  if (list)
    list->RemoveAll();
  CString folder = GetFolder(pattern);
  CString namePattern = pattern.Mid(pattern.ReverseFind(L'/') + 1);
  if (namePattern.IsEmpty())
    return 0;
  std::string nativeFolder = NativePath(folder);
  DIR* dir = opendir(nativeFolder.c_str());
  if (!dir)
    return 0;
  std::vector<CString> names;
  while (dirent* entry = readdir(dir)) {
    std::string native = entry->d_name;
    if (native == "." || native == "..")
      continue;
    CString name = FromNativePath(native);
    if (MatchesWildcard(name, namePattern) && IsListedAsFile(nativeFolder + native))
      names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  if (list)
    for (const CString& name : names)
      list->AddTail(folder + name);
  return int(names.size());
}

int DeleteFiles(const CString& pattern)
{
  CStringList files;
  FindFiles(pattern, &files);
  int deleted = 0;
  for (POSITION pos = files.GetHeadPosition(); pos;)
    if (unlink(NativePath(files.GetNext(pos)).c_str()) == 0)
      ++deleted;
  return deleted;
}
