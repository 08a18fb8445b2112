#pragma once
// The framework's standard message box (AfxMessageBox): a native box with the application's name
// as its caption. It asks the modal responder first (EModalKind::StandardMessageBox).
#include "CString.h"
#include "MessageBoxTypes.h"

int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);

// How an MB_* type is shown by the native box, and what its answer means. The native box knows
// only OK, Cancel, Yes and No, so Abort/Retry/Ignore ride on relabelled buttons.
struct SStandardBoxButtons {
  long style = 0;     // wxOK, wxCANCEL, wxYES_NO, wxICON_* and default-button flags
  CString labels[3];  // relabelled Yes, No, Cancel (or OK, Cancel); empty: the stock label
};
SStandardBoxButtons StandardBoxButtons(UINT type);
int StandardBoxResult(UINT type, int wxReturnCode);
