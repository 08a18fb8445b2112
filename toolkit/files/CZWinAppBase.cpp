#include "CZWinAppBase.h"

#include "UserFolders.h"

CZWinAppBase::CZWinAppBase()
{
  m_dataFolder.Format(L"%s/%s/", GetUserDataHome(), L"Zorvane");
}
