#pragma once
// What the two script editors show besides the command table: their placeholder lists with the
// descriptions, and the line breaks of a script on its way into and out of a multi-line edit.
#include "CString.h"

#include <vector>

enum class EScriptEditor { Action, TraceQuery };

std::vector<CString> EditorTokens(EScriptEditor editor);
// The description of one of the editor's tokens, or false (description untouched) for any other
// text.
bool EditorTokenDescription(EScriptEditor editor, const CString& token, CString& description);

// The action editor's own command besides the table's mnemonics.
inline constexpr const wchar_t* kWaitCommand = L"WAIT";
inline constexpr const wchar_t* kWaitDescription = L"Wait in milliseconds";

// Scripts hold "\r\n" between lines; the toolkit's multi-line edit holds "\n".
CString ScriptToEditText(const CString& script);
// Any "\r\n", lone "\r" or "\n" becomes "\r\n".
CString EditTextToScript(const CString& text);
