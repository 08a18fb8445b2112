#pragma once
// One row of the servo command table.
#include "CString.h"

struct SCmdInfo {
  // The command letters sent after "#" and the servo id, upper case.
  CString mnemonic;
  CString description;
  // 0 ordinary; 1 shown with "(B) "; 2 shown with "(A) "; 3 shown without mark (model id and
  // serial-number commands).
  int level = 0;
};
