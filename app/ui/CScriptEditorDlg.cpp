#include "CScriptEditorDlg.h"

#include "CZMessageBox.h"
#include "CommandLines.h"
#include "DialogUnits.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
enum : int {
  IDC_SCRIPT = 1050,
  IDC_ADD_TOKEN = 1052,
  IDC_NAME = 1053,
  IDC_TOKENS = 1054,
  IDC_TOKEN_DESCRIPTION = 1055,
  IDC_ACTION_COMMANDS = 1056,
  IDC_ADD_COMMAND = 1057,
  IDC_COMMAND_DESCRIPTION = 1058,
  IDC_TRACE_COMMANDS = 1059,
};

// The template's 142 x 159 dialog units leave no room for GTK's taller and wider controls.
constexpr int kWidthDlu = 200;
constexpr int kHeightDlu = 190;

CString Selected(wxChoice* combo)
{
  const int row = combo->GetSelection();
  return row == wxNOT_FOUND ? CString() : CString(combo->GetString(unsigned(row)).ToStdWstring());
}
} // namespace

CScriptEditorDlg::CScriptEditorDlg(EScriptEditor editor) : m_editor(editor) {}

int CScriptEditorDlg::CommandComboId() const
{
  return m_editor == EScriptEditor::Action ? IDC_ACTION_COMMANDS : IDC_TRACE_COMMANDS;
}

int CScriptEditorDlg::DoModal()
{
  const bool action = m_editor == EScriptEditor::Action;
  if (!Create(nullptr, wxID_ANY, action ? L"Custom Action" : L"Custom Trace Query"))
    return IDCANCEL;
  SetClientSize(DialogUnitsToPixels(this, kWidthDlu, kHeightDlu));
  using K = EDialogControlKind;
  const SDialogControl controls[] = {
      {wxID_ANY, K::Label, {7, 10, 52, 9}, action ? L"Action Name:" : L"Trace Name:"},
      {IDC_NAME, K::Edit, {60, 6, 133, 16}},
      {IDC_SCRIPT, K::MultiEdit, {7, 26, 186, 70}, L"", wxHSCROLL | wxVSCROLL},
      {IDC_TOKENS, K::DropList, {7, 102, 130, 16}, L"", wxCB_SORT},
      {IDC_ADD_TOKEN, K::PushButton, {143, 102, 50, 16}, L"Add"},
      {IDC_TOKEN_DESCRIPTION, K::Label, {7, 121, 186, 9}, L"description"},
      {CommandComboId(), K::DropList, {7, 134, 130, 16}, L"", wxCB_SORT},
      {IDC_ADD_COMMAND, K::PushButton, {143, 134, 50, 16}, L"Add"},
      {IDC_COMMAND_DESCRIPTION, K::Label, {7, 153, 186, 9}, L"description"},
      {wxID_OK, K::DefPushButton, {89, 168, 50, 16}, L"OK"},
      {wxID_CANCEL, K::PushButton, {143, 168, 50, 16}, L"Cancel"},
  };
  CreateDialogControls(this, controls);
  m_textEdit = dynamic_cast<wxTextCtrl*>(FindWindow(IDC_SCRIPT));
  m_tokenCombo = dynamic_cast<wxChoice*>(FindWindow(IDC_TOKENS));
  m_commandCombo = dynamic_cast<wxChoice*>(FindWindow(CommandComboId()));

  Bind(
      wxEVT_CHOICE, [this](wxCommandEvent&) { OnTokenSelChange(); }, IDC_TOKENS);
  Bind(
      wxEVT_CHOICE, [this](wxCommandEvent&) { OnCommandSelChange(); }, CommandComboId());
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddToken(); }, IDC_ADD_TOKEN);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddCommand(); }, IDC_ADD_COMMAND);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
  Bind(wxEVT_CHAR_HOOK, &CScriptEditorDlg::OnCharHook, this);

  OnInitDialog();
  Centre();
  return ShowModal() == wxID_OK ? IDOK : IDCANCEL;
}

bool CScriptEditorDlg::OnInitDialog()
{
  for (const CString& token : EditorTokens(m_editor))
    m_tokenCombo->Append(token.GetString());
  if (m_cmdInfoList) {
    const bool action = m_editor == EScriptEditor::Action;
    for (const CString& mnemonic :
         action ? ActionEditorMnemonics(*m_cmdInfoList) : TraceEditorMnemonics(*m_cmdInfoList))
      m_commandCombo->Append(mnemonic.GetString());
  }
  if (m_editor == EScriptEditor::Action)
    m_commandCombo->Append(kWaitCommand);
  UpdateData(false);
  return true;
}

void CScriptEditorDlg::DoDataExchange(bool save)
{
  auto* name = dynamic_cast<wxTextCtrl*>(FindWindow(IDC_NAME));
  auto* tokenDescription = FindWindow(IDC_TOKEN_DESCRIPTION);
  auto* commandDescription = FindWindow(IDC_COMMAND_DESCRIPTION);
  if (save) {
    m_name = CString(name->GetValue().ToStdWstring());
    m_text = EditTextToScript(CString(m_textEdit->GetValue().ToStdWstring()));
    m_token = Selected(m_tokenCombo);
    m_command = Selected(m_commandCombo);
    return;
  }
  name->ChangeValue(m_name.GetString());
  const CString shown = ScriptToEditText(m_text);
  if (CString(m_textEdit->GetValue().ToStdWstring()) != shown)
    m_textEdit->ChangeValue(shown.GetString());
  tokenDescription->SetLabel(m_tokenDescription.GetString());
  commandDescription->SetLabel(m_commandDescription.GetString());
}

void CScriptEditorDlg::OnTokenSelChange()
{
  UpdateData(true);
  EditorTokenDescription(m_editor, m_token, m_tokenDescription);
  UpdateData(false);
}

void CScriptEditorDlg::OnCommandSelChange()
{
  UpdateData(true);
  if (m_cmdInfoList)
    FindCommandDescription(*m_cmdInfoList, m_command, m_commandDescription);
  if (m_editor == EScriptEditor::Action && m_command == kWaitCommand)
    m_commandDescription = kWaitDescription;
  UpdateData(false);
}

void CScriptEditorDlg::OnAddToken()
{
  UpdateData(true);
  InsertInScript(m_token);
}

void CScriptEditorDlg::OnAddCommand()
{
  UpdateData(true);
  InsertInScript(m_command);
}

void CScriptEditorDlg::InsertInScript(const CString& text)
{
  long from = 0;
  long to = 0;
  m_textEdit->GetSelection(&from, &to);
  m_textEdit->Replace(from, to, text.GetString());
}

void CScriptEditorDlg::OnOK()
{
  const bool action = m_editor == EScriptEditor::Action;
  if (ZMessageBox(action ? L"Save custom action?" : L"Save custom trace query?", MB_YESNO, 0) != IDYES)
    return;
  UpdateData(true);
  EndModal(wxID_OK);
}

// Enter in the script presses OK, as everywhere in the dialog; Ctrl+Enter is the line break.
void CScriptEditorDlg::OnCharHook(wxKeyEvent& event)
{
  const int key = event.GetKeyCode();
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && event.GetEventObject() == m_textEdit) {
    if (event.ControlDown())
      InsertInScript(L"\n");
    else
      OnOK();
    return;
  }
  event.Skip();
}
