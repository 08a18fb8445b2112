#pragma once
// The folders an application of the house library owns: the folder of its program file and its
// per-user data folder, where downloads and calibration files go.
#include "CString.h"

class CZWinAppBase {
public:
  // The data folder starts as <data home>/Zorvane/; CZWinAppEx::InitInstance adds the program's
  // name.
  CZWinAppBase();

  // Callers append file and folder names to it directly.
  CString GetDataFolder() const { return m_dataFolder; }
  // Empty until CZWinAppEx::InitInstance.
  CString GetExeFolder() const { return m_exeFolder; }

protected:
  CString m_exeFolder;
  CString m_dataFolder;
};
