#pragma once
// The twin editors of a custom action and of a trace query (dialogs 104 and 105): the name, the
// multi-line script and two pick lists whose entries go in at the caret, placeholders and the
// command table's mnemonics, each with its description. OK asks before it saves.
#include "CCmdInfoList.h"
#include "CString.h"
#include "ScriptEditorTexts.h"

#include <wx/dialog.h>

class wxChoice;
class wxKeyEvent;
class wxTextCtrl;

class CScriptEditorDlg : public wxDialog {
public:
  // IDOK or IDCANCEL; on IDOK name and text hold what was edited.
  int DoModal();

  CString m_name;
  CString m_text; // lines separated by "\r\n"
  CString m_token;
  CString m_tokenDescription = L"description";
  CString m_command;
  CString m_commandDescription = L"description";
  const CCmdInfoList* m_cmdInfoList = nullptr; // not owned; set by the caller before DoModal

  // Handlers, reachable by tests as the controls' notifications.
  void OnTokenSelChange();
  void OnCommandSelChange();
  void OnAddToken();
  void OnAddCommand();
  void OnOK();

protected:
  explicit CScriptEditorDlg(EScriptEditor editor);

private:
  bool OnInitDialog();
  void DoDataExchange(bool saveAndValidate);
  void UpdateData(bool saveAndValidate) { DoDataExchange(saveAndValidate); }
  void InsertInScript(const CString& text);
  void OnCharHook(wxKeyEvent& event);
  int CommandComboId() const;

  EScriptEditor m_editor;
  wxTextCtrl* m_textEdit = nullptr;
  wxChoice* m_tokenCombo = nullptr;
  wxChoice* m_commandCombo = nullptr;
};
