// The eight custom action buttons: a click runs the action's script against the selected servo,
// a Ctrl+click opens its editor. The script's expansion is ExpandActionScript.
#include "CCustomActionEditorDlg.h"
#include "CZHVXProConfigDlg.h"
#include "CommandLines.h"
#include "CustomActionScript.h"
#include "MainDialogIds.h"
#include "MessageBoxTypes.h"
#include "ServoReply.h"

#include "WinTime.h"

#include <wx/utils.h>

void CZHVXProConfigDlg::RunCustomAction(int action)
{
  UpdateData(true);
  if (m_ctrlDown) {
    m_ctrlDown = 0;
    EditCustomAction(action);
  } else if (IsServoSelected()) {
    const CString& command = m_profile.actionCommand[action];
    if (command.IsEmpty()) {
      Ask(L"No Custom Action was assigned to this button. Press CTRL and click the button to customize.",
          MB_OK);
    } else {
      if (NeedsOriginOffset(command))
        QueryOriginOffset();
      const SActionScript script =
          ExpandActionScript(command, m_currentId, m_servoValues.ValuesOf(m_currentId));
      if (script.error.IsEmpty())
        RunActionSteps(script);
      else if (script.overBudget)
        LogLine(L"\"" + m_profile.actionTitle[action] + L"\": " + script.error);
      else
        Ask(script.error, MB_OK);
    }
  }
  UpdateControls();
}

void CZHVXProConfigDlg::EditCustomAction(int action)
{
  CCustomActionEditorDlg editor;
  if (EditScript(editor, m_profile.actionTitle[action], m_profile.actionCommand[action],
                 kActionButtonIds[action]))
    WriteProfile();
}

bool CZHVXProConfigDlg::EditScript(CScriptEditorDlg& editor, CString& title, CString& command, int buttonId)
{
  editor.m_name = title;
  editor.m_text = command;
  editor.m_cmdInfoList = &m_cmdInfoList;
  m_busy = 1;
  const int result = editor.DoModal();
  m_busy = 0;
  if (result != IDOK)
    return false;
  title = editor.m_name;
  command = editor.m_text;
  SetButtonCaption(buttonId, title);
  return true;
}

// A failed query keeps the offset of the last run that got one from this servo; without one, a
// script that uses "<OFFSET>" is refused.
void CZHVXProConfigDlg::QueryOriginOffset()
{
  if (m_port.Send(m_currentId, "QO") == CHVXProControlPort::StatusSuccess)
    m_servoValues.SetOffset(m_currentId, ServoReplyValueText(m_port.GetLastCommand(), m_port.GetLastReply()));
}

void CZHVXProConfigDlg::RunActionSteps(const SActionScript& script)
{
  for (const SActionStep& step : script.steps) {
    if (step.wait) {
      wxBusyCursor waiting;
      Sleep(step.waitMs);
    } else if (m_port.Transact(step.line) == CHVXProControlPort::StatusSuccess) {
      LogLine(m_port.GetLastCommand());
      // A line may name a servo of its own ("#7D0"); that one is asked for its error.
      CheckCommandError(AddressedId(step.line, m_currentId));
    } else {
      Ask(L"Command syntax error!", MB_OK);
    }
  }
}

// Edits reach the profile at once: a crash would otherwise lose every one made since the start.
void CZHVXProConfigDlg::WriteProfile()
{
  WriteTraceActionProfile(m_profile, &CZHVXProConfigDlg::WriteProfileString);
}
