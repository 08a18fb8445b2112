#pragma once
// Where per-user state lives, by the XDG rules: a variable that holds an absolute path wins,
// otherwise the default under the home folder. The texts have no trailing '/'.
#include "CString.h"

CString GetUserDataHome();   // $XDG_DATA_HOME, default ~/.local/share
CString GetUserConfigHome(); // $XDG_CONFIG_HOME, default ~/.config
// The running program's file, links resolved; empty when the system cannot say.
CString GetRunningProgramPath();
