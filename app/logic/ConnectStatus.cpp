#include "ConnectStatus.h"

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
