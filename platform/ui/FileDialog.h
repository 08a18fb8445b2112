#pragma once
// The system's file-open and file-save dialogs, asked through the modal responder first (see
// ModalResponder.h), so that tests choose the file.
#include "CString.h"
#include "ModalResponder.h"
#include "WinTypes.h"

#include <optional>

class wxWindow;

// Flags of the dialog, as the program passes them.
inline constexpr UINT OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr UINT OFN_HIDEREADONLY = 0x00000004;

// kind is EModalKind::FileOpen or EModalKind::FileSave. fileName is the name proposed in the
// dialog; filter is "description|pattern" pairs joined by '|' ("Settings (*.csv)|*.csv"). The
// chosen path, or nothing when the user did not press OK.
std::optional<CString> AskFilePath(wxWindow* parent, EModalKind kind, const CString& fileName,
                                   const CString& filter, UINT flags);
