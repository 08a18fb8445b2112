#pragma once
// The application base of the house library, without its window part: it completes and creates
// the data folder, names the program file and keeps the user's profile under the "Zorvane" key.
// The program's application class derives from it together with the window toolkit's
// application class and calls InitInstance first thing in its own start-up.
//
// The profile is the settings file <config home>/<key>/<program name>.ini, where the key is the
// one given to SetRegistryKey; before that there is no profile: reads give their defaults and
// writes fail.
#include "CZProfileStore.h"
#include "CZWinAppBase.h"
#include "WinTypes.h"

#include <memory>

class CZWinAppEx : public CZWinAppBase {
public:
  CZWinAppEx();
  virtual ~CZWinAppEx();
  CZWinAppEx(const CZWinAppEx&) = delete;
  CZWinAppEx& operator=(const CZWinAppEx&) = delete;

  // Data folder += program name + "/", created along its way (a failure is ignored); exe folder
  // set; the profile opened under "Zorvane". Always TRUE.
  virtual BOOL InitInstance();
  virtual int ExitInstance() { return 0; }
  virtual CZWinAppBase* GetAppBase() { return this; }

  // The running program's file; empty when it no longer exists.
  CString GetExePath() const;
  // The program file's name without its extension.
  const CString& GetExeName() const { return m_exeName; }

  void SetRegistryKey(const wchar_t* key);
  CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue = nullptr) const;
  BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
  UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
  BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
  // Null before SetRegistryKey.
  CZProfileStore* GetProfile() const { return m_profile.get(); }

protected:
  // Taken from the program file; a derived class may change it before InitInstance.
  CString m_exeName;

private:
  std::unique_ptr<CZProfileStore> m_profile;
};
