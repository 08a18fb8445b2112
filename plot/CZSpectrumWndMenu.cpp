#include "CZSpectrumWnd.h"

#include "ClipboardTextHead.h"
#include "PlotClipboardText.h"
#include "StringResources.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <wx/menu.h>

void CZSpectrumWnd::BindMenuCommands()
{
  Bind(wxEVT_CONTEXT_MENU, &CZSpectrumWnd::OnContextMenu, this);
  // Another program's copy is fetched as it arrives, so that the menu never asks that program.
  WatchClipboardText(kPasteOfferLines);
}

void CZSpectrumWnd::OnContextMenu(wxContextMenuEvent& event)
{
  // The menu key and Shift+F10 give no position.
  const wxPoint point =
      event.GetPosition() == wxDefaultPosition ? wxPoint(5, 5) : ScreenToClient(event.GetPosition());

  std::vector<SPlotMenuEntry> entries = BuildPlotMenu(MenuState(m_allowPaste && CanPaste()));
  for (POSITION pos = m_userMenuItems.GetHeadPosition(); pos;) {
    const UserMenuItem& user = m_userMenuItems.GetNext(pos);
    SPlotMenuEntry entry;
    entry.id = user.commandId;
    LoadStringResource(user.stringId, entry.caption);
    entry.checkable = entry.checked = user.checked != FALSE;
    entries.push_back(entry);
  }

  const UINT chosen = TrackPopupMenu(entries, point);
  // Run once the menu and its own event loop are gone, so that the Settings sheet never runs
  // inside them.
  if (chosen != 0)
    CallAfter([this, chosen] { RunChosenCommand(chosen); });
}

void CZSpectrumWnd::RunChosenCommand(UINT commandId)
{
  if (m_pasteWaits)
    m_afterPaste.push_back(commandId);
  else
    OnCommand(commandId);
}

UINT CZSpectrumWnd::TrackPopupMenu(const std::vector<SPlotMenuEntry>& entries, const wxPoint& point)
{
  // wx takes item ids below 0x7FFF only, and the commands' ids lie above: the items are numbered
  // by their place instead.
  constexpr int kFirstItemId = 100;
  wxMenu menu;
  for (size_t i = 0; i < entries.size(); ++i) {
    const SPlotMenuEntry& entry = entries[i];
    const int id = kFirstItemId + int(i);
    const wxString caption(entry.caption.GetString());
    wxMenuItem* item = entry.checkable ? menu.AppendCheckItem(id, caption) : menu.Append(id, caption);
    item->Enable(entry.enabled);
    if (entry.checkable)
      item->Check(entry.checked);
  }
  const int chosen = GetPopupMenuSelectionFromUser(menu, point) - kFirstItemId;
  return chosen >= 0 && size_t(chosen) < entries.size() ? entries[size_t(chosen)].id : 0;
}

void CZSpectrumWnd::OnCommand(UINT commandId)
{
  for (POSITION pos = m_userMenuItems.GetHeadPosition(); pos;) {
    const UserMenuItem& user = m_userMenuItems.GetNext(pos);
    if (user.commandId != commandId || user.target == this)
      continue;
    if (user.target) {
      wxCommandEvent command(wxEVT_MENU, int(commandId));
      command.SetEventObject(this);
      user.target->GetEventHandler()->ProcessEvent(command);
    }
    break;
  }

  switch (commandId) {
  case ID_EDIT_COPY:
    return OnEditCopy();
  case ID_EDIT_CUT:
    return OnEditCut();
  case ID_EDIT_PASTE:
    return OnEditPaste();
  case ID_SPECTRUM_COPY_ALL:
    return OnCopyAll();
  case ID_SPECTRUM_SETTINGS:
    return OnSettings();
  case ID_SPECTRUM_HOLD:
    return OnHold();
  case ID_SPECTRUM_CLEAR_HOLD:
    return OnClearHold();
  case ID_SPECTRUM_MASK:
    return OnMask();
  case ID_SPECTRUM_ENABLE_MASKING:
    return OnEnableMasking();
  case ID_SPECTRUM_UNMASK:
    return OnUnMask();
  default: {
    // Handlers bound on this window see the id; like a window's own command map, the command
    // goes no further up.
    wxCommandEvent command(wxEVT_MENU, int(commandId));
    command.SetEventObject(this);
    command.StopPropagation();
    GetEventHandler()->ProcessEvent(command);
  }
  }
}

void CZSpectrumWnd::RedrawNow()
{
  if (!m_created)
    return;
  Refresh(true);
  Update();
}

void CZSpectrumWnd::OnHold()
{
  HoldActiveTrace();
}

void CZSpectrumWnd::OnClearHold()
{
  ClearHold();
}

void CZSpectrumWnd::OnMask()
{
  if (MaskCursorPoint())
    RedrawNow();
}

void CZSpectrumWnd::OnUnMask()
{
  if (UnMaskCursorPoint() && GetActiveTrace()->MaskEnabled())
    RedrawNow();
}

void CZSpectrumWnd::OnEnableMasking()
{
  if (SwitchMasking())
    RedrawNow();
}
