#pragma once
// Dialog 104: the editor of one custom action, opened by a Ctrl+click on its button.
#include "CScriptEditorDlg.h"

class CCustomActionEditorDlg : public CScriptEditorDlg {
public:
  CCustomActionEditorDlg() : CScriptEditorDlg(EScriptEditor::Action) {}
};
