#pragma once
// The data exchange of the axis pages: check boxes with BOOL members, edits with float members.
// A float is shown as "%g" and must read back as one finite number with nothing after it.
#include <WinTypes.h>

class wxWindow;

void ExchangeCheck(wxWindow* page, int id, BOOL& value, bool save);
// False when saving an edit that holds no number: the user is told, the edit gets the focus and
// the member keeps its value.
bool ExchangeFloat(wxWindow* page, int id, float& value, bool save);
void EnableControl(wxWindow* page, int id, bool enable);
// Typing in the limit's edit takes the limit off automatic: the member and the check box autoId
// both clear. Loading the pages sets the edits without this.
void BindLimitEdit(wxWindow* page, int editId, int autoId, BOOL& automatic);
