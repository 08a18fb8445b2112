#include "CZDlgTools.h"

#include "DialogUnits.h"
#include "StringResources.h"

#include <wx/window.h>

CZDlgTools::CZDlgTools(wxWindow* parent) : m_parent(parent) {}

wxWindow* CZDlgTools::Control(int id) const
{
  if (!m_parent || id == 0)
    return nullptr;
  for (wxWindow* child : m_parent->GetChildren())
    if (child->GetId() == ToWindowId(id))
      return child;
  return nullptr;
}

void CZDlgTools::ShowOrList(int id1, int id2, int kind, bool show)
{
  wxWindow* first = Control(id1);
  wxWindow* second = id2 ? Control(id2) : nullptr;
  if (!first || (id2 && !second))
    return;
  if (show)
    m_items.AddTail(SDlgItemPairID{id1, id2, kind});
  first->Show(show);
  if (second)
    second->Show(show);
}

void CZDlgTools::AddItem(int id, bool show)
{
  ShowOrList(id, 0, int(EDlgItemKind::Single), show);
}

void CZDlgTools::AddItemPair(int labelId, int fieldId, int minHeight, bool show)
{
  m_settings.pairMinHeight = minHeight;
  ShowOrList(labelId, fieldId, int(EDlgItemKind::Pair), show);
}

void CZDlgTools::AddButton(int id, bool show)
{
  ShowOrList(id, 0, int(EDlgItemKind::Button), show);
}

void CZDlgTools::SetMargins(int value)
{
  m_settings.topMargin = m_settings.leftMargin = m_settings.rightMargin = m_settings.bottomMargin = value;
}

void CZDlgTools::Place(wxWindow* control, const RECT& r) const
{
  control->SetSize(r.left, r.top, r.right - r.left, r.bottom - r.top, wxSIZE_ALLOW_MINUS_ONE);
  control->Refresh(true);
  control->Update();
}

bool CZDlgTools::Layout(int columns)
{
  if (m_items.IsEmpty() || !Control(m_items.GetHead().id1))
    return false;
  const wxSize client = m_parent->GetClientSize();
  RECT area{0, 0, client.x, client.y};
  if (m_referenceId)
    if (wxWindow* reference = Control(m_referenceId)) {
      const wxRect r = reference->GetRect();
      area = RECT{r.x, r.y, r.x + r.width, r.y + r.height};
    }

  std::vector<SDlgLayoutInput> inputs;
  std::vector<std::pair<wxWindow*, wxWindow*>> windows;
  for (POSITION pos = m_items.GetHeadPosition(); pos;) {
    const SDlgItemPairID& item = m_items.GetNext(pos);
    wxWindow* first = Control(item.id1);
    wxWindow* second = item.id2 ? Control(item.id2) : nullptr;
    if (!first || (item.id2 && !second))
      continue;
    SDlgLayoutInput input;
    input.kind = EDlgItemKind(item.kind);
    input.size1 = SIZE{first->GetSize().x, first->GetSize().y};
    if (second)
      input.size2 = SIZE{second->GetSize().x, second->GetSize().y};
    inputs.push_back(input);
    windows.emplace_back(first, second);
  }
  const SDlgLayoutResult plan = PlanDlgLayout(area, inputs, m_settings, columns, m_currentY);
  for (size_t i = 0; i < plan.placements.size(); ++i) {
    Place(windows[i].first, plan.placements[i].rect1);
    if (windows[i].second)
      Place(windows[i].second, plan.placements[i].rect2);
  }
  m_currentY = plan.currentY;
  m_items.RemoveAll();
  return true;
}

bool CZDlgTools::StretchRight(int id)
{
  if (id == 0) {
    m_currentY = m_settings.topMargin;
    return false;
  }
  wxWindow* control = Control(id);
  if (!control)
    return false;
  const wxSize client = m_parent->GetClientSize();
  const RECT r{m_settings.leftMargin, m_settings.topMargin, client.x - m_settings.rightMargin,
               m_settings.topMargin + control->GetSize().y};
  Place(control, r);
  m_currentY = r.bottom + m_settings.rowSpacing;
  return true;
}

bool CZDlgTools::PinBottom(int id)
{
  wxWindow* control = Control(id);
  if (!control)
    return false;
  const wxRect now = control->GetRect();
  const int bottom = m_parent->GetClientSize().y - m_settings.bottomMargin;
  Place(control, RECT{now.x, bottom - now.height, now.x + now.width, bottom});
  return true;
}

CString LoadResString(UINT id)
{
  CString text;
  if (!LoadStringResource(id, text))
    return CString(L"???");
  return text;
}
