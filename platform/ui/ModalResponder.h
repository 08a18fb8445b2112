#pragma once
// One seam for every modal prompt of the program: message boxes (the house box and the standard
// one) and file and folder dialogs ask the installed responder first and show a real dialog only
// when none is installed. Tests install a responder that answers from a queue and records what
// was asked, so no prompt ever waits for a person.
#include "CString.h"
#include "WinTypes.h"

#include <optional>
#include <vector>

enum class EModalKind {
  MessageBox,         // the house message box (CZMessageBox, ZMessageBox)
  StandardMessageBox, // the framework's standard box (AfxMessageBox)
  FileOpen,
  FileSave,
  FolderPick,
  Dialog, // any other modal dialog of the program, named by its caption
};

struct SModalRequest {
  EModalKind kind = EModalKind::MessageBox;
  CString caption;
  CString text;         // message text, or the prompt of a file dialog
  UINT type = 0;        // MB_* type of a message box; style flags of a file dialog
  CString defaultPath;  // file dialogs: the proposed folder or file
  CString filter;       // file dialogs: the type filter text
};

struct SModalAnswer {
  int result = 0;             // button id (IDOK..IDNO) or, for file dialogs, IDOK / IDCANCEL
  std::vector<CString> paths; // file dialogs: the chosen file(s) or folder
};

class IModalResponder {
public:
  virtual ~IModalResponder() = default;
  virtual SModalAnswer Answer(const SModalRequest& request) = 0;
};

// Installs a responder (nullptr: real dialogs again) and returns the one it replaces.
IModalResponder* SetModalResponder(IModalResponder* responder);
IModalResponder* GetModalResponder();

// The answer of the installed responder, or nothing when the real dialog is to be shown.
std::optional<SModalAnswer> AskModalResponder(const SModalRequest& request);
