#include "CZWinAppEx.h"

#include "FileFunctions.h"
#include "NativePath.h"
#include "UserFolders.h"

#include <sys/stat.h>

CZWinAppEx::CZWinAppEx() : m_exeName(GetFileTitle(GetRunningProgramPath())) {}

CZWinAppEx::~CZWinAppEx() = default;

BOOL CZWinAppEx::InitInstance()
{
  m_exeFolder = GetFolder(GetRunningProgramPath());
  m_dataFolder += m_exeName + L"/";
  CreateFolderPath(m_dataFolder);
  SetRegistryKey(L"Zorvane");
  return TRUE;
}

CString CZWinAppEx::GetExePath() const
{
  CString path = GetRunningProgramPath();
  struct stat info {};
  if (path.IsEmpty() || stat(NativePath(path).c_str(), &info) != 0)
    return CString();
  return path;
}

void CZWinAppEx::SetRegistryKey(const wchar_t* key)
{
  if (!key || !*key) {
    m_profile.reset();
    return;
  }
  CString path;
  path.Format(L"%s/%s/%s.ini", GetUserConfigHome(), key, m_exeName);
  m_profile = std::make_unique<CZProfileStore>(path);
}

CString CZWinAppEx::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const
{
  if (!m_profile)
    return CString(defaultValue ? defaultValue : L"");
  return m_profile->GetString(section, entry, defaultValue);
}

BOOL CZWinAppEx::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value)
{
  return m_profile && m_profile->WriteString(section, entry, value) ? TRUE : FALSE;
}

UINT CZWinAppEx::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const
{
  return m_profile ? m_profile->GetInt(section, entry, defaultValue) : UINT(defaultValue);
}

BOOL CZWinAppEx::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value)
{
  return m_profile && m_profile->WriteInt(section, entry, value) ? TRUE : FALSE;
}
