#include "ConnectStatus.h"

#include "TextConversion.h"
#include "WinSerial.h"

#include <grp.h>
#include <sys/stat.h>

CString ConnectFailureMessage(int status)
{
  switch (status) {
  case 0:
  case 14:
  case 15:
    return CString();
  case 1:
    return L"HVX PRO device not found at this port!";
  case 2:
    return L"Master id not found!\nTry disconnecting and reconnecting the usb cable and/or toggle the power "
           L"to "
           L"the connected servo.";
  case 7:
    return L"Port not available!\nMake sure it is not already connected through another application.";
  case 8:
    return L"Port configuration failed!";
  case 11:
    return L"Servo not found!";
  case 13:
    return L"Serial port timeout!";
  default:
    return L"Unknown error trying to connect!";
  }
}

CString PortAccessHint(DWORD openError, const std::string& devicePath)
{
  if (openError != ERROR_ACCESS_DENIED || devicePath.empty())
    return CString();
  const CString refused = L"You have no permission to use " + FromUtf8(devicePath) + L".";
  struct stat info {};
  if (stat(devicePath.c_str(), &info) != 0)
    return refused;
  const struct group* entry = getgrgid(info.st_gid);
  const CString owner = FromUtf8(entry ? std::string(entry->gr_name) : std::to_string(info.st_gid));
  return refused + L" Join its group \"" + owner + L"\" (sudo usermod -aG " + owner +
         L" $USER), then log out and in again.";
}
