#pragma once
// The program's string table: texts looked up by a numeric resource id.
#include "CString.h"
#include "WinTypes.h"

void SetStringResource(UINT id, const CString& text);
// False, and the text untouched, when there is no string with that id.
bool LoadStringResource(UINT id, CString& text);
