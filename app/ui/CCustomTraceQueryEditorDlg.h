#pragma once
// Dialog 105: the editor of one trace query, opened by a Ctrl+click on its trace box.
#include "CScriptEditorDlg.h"

class CCustomTraceQueryEditorDlg : public CScriptEditorDlg {
public:
  CCustomTraceQueryEditorDlg() : CScriptEditorDlg(EScriptEditor::TraceQuery) {}
};
