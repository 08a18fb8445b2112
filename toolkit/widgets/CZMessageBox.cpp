#include "CZMessageBox.h"

#include "CPictureCtrl.h"
#include "CZDlgTools.h"
#include "DialogUnits.h"
#include "EmbeddedResources.h"
#include "MessageBoxRules.h"
#include "ModalResponder.h"
#include "StandardMessageBox.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace {
constexpr wchar_t kMissingResources[] =
    L"ZMessageBox Resources Missing? Must include ZMessageDlgRes and ZMessageDlg in resource includes";

// Dialog 3400: 164 x 208 dialog units. The layout moves everything; the template gives the
// controls their first sizes.
constexpr SDialogControl kTemplate[] = {
    {IDOK, EDialogControlKind::PushButton, {107, 187, 50, 14}, L"OK"},
    {IDCANCEL, EDialogControlKind::PushButton, {53, 187, 50, 14}, L"Cancel"},
    {IDABORT, EDialogControlKind::PushButton, {7, 170, 50, 14}, L"Abort"},
    {IDRETRY, EDialogControlKind::PushButton, {57, 170, 50, 14}, L"Retry"},
    {IDIGNORE, EDialogControlKind::PushButton, {107, 170, 50, 14}, L"Ignore"},
    {IDYES, EDialogControlKind::PushButton, {7, 153, 50, 14}, L"Yes"},
    {IDNO, EDialogControlKind::PushButton, {57, 153, 50, 14}, L"No"},
    {IDC_ZMESSAGE_IMAGE, EDialogControlKind::Placeholder, {0, 0, 164, 120}, L"Static Image"},
    {IDC_ZMESSAGE_TEXT, EDialogControlKind::Label, {35, 127, 122, 24}, L"Message\nline2\nline3"},
};
constexpr int kPinOrder[] = {IDYES, IDNO, IDOK, IDCANCEL, IDRETRY, IDIGNORE, IDABORT};
constexpr int kMargin = 8;
constexpr int kIconSize = 32;

CString& Caption()
{
  static CString caption;
  return caption;
}
} // namespace

CList<ZResourceId>& ZResourceIdList()
{
  static CList<ZResourceId> list;
  return list;
}

void SetDefaultCaption(const CString& caption)
{
  Caption() = caption;
}
const CString& GetDefaultCaption()
{
  return Caption();
}

CZMessageBox::CZMessageBox(wxWindow* parent) : m_parentWindow(parent) {}

CZMessageBox::~CZMessageBox() = default;

void CZMessageBox::SetImagePath(const CString& path)
{
  m_imagePath = path;
  m_showImage = !path.IsEmpty();
}

CString CZMessageBox::GetCaption() const
{
  if (!Caption().IsEmpty())
    return Caption();
  return wxTheApp ? CString(wxTheApp->GetAppDisplayName().wc_str()) : CString();
}

int CZMessageBox::DoModal()
{
  SModalRequest request;
  request.kind = EModalKind::MessageBox;
  request.caption = GetCaption();
  request.text = m_text;
  request.type = m_type;
  if (auto answer = AskModalResponder(request)) {
    m_result = answer->result;
    return m_result;
  }
  if (!m_created && !CreateFromTemplate())
    return -1;
  return FromWindowId(ShowModal());
}

bool CZMessageBox::CreateFromTemplate()
{
  // A caption and no system menu: the box closes through its buttons only.
  if (!Create(m_parentWindow, IDD_ZMESSAGEBOX, wxString(), wxDefaultPosition, wxDefaultSize, wxCAPTION))
    return false;
  SetFont(wxFont(wxFontInfo(9)));
  CreateDialogControls(this, kTemplate);
  m_textControl = dynamic_cast<wxStaticText*>(FindWindow(IDC_ZMESSAGE_TEXT));
  m_picture =
      new CPictureCtrl(this, IDC_ZMESSAGE_IMAGE, DialogUnitsToPixels(this, kTemplate[7].rect).GetPosition(),
                       DialogUnitsToPixels(this, kTemplate[7].rect).GetSize());
  wxBitmap icon = LoadEmbeddedBitmap(IDI_ZMESSAGE);
  if (!icon.IsOk())
    icon = wxBitmap(kIconSize, kIconSize, 24);
  m_icon = new wxStaticBitmap(this, IDC_ZMESSAGE_ICON, icon, wxPoint(kMargin, kMargin), icon.GetSize());
  // The box answers its keys itself; wx's own Enter and Esc handling must not close it.
  SetEscapeId(wxID_NONE);
  SetAffirmativeId(wxID_NONE);
  for (int id : kMessageBoxButtonOrder)
    Bind(
        wxEVT_BUTTON, [this, id](wxCommandEvent&) { PressButton(id); }, ToWindowId(id));
  Bind(wxEVT_INIT_DIALOG, &CZMessageBox::OnInitDialog, this);
  Bind(wxEVT_CHAR_HOOK, &CZMessageBox::OnCharHook, this);
  Bind(wxEVT_SIZE, &CZMessageBox::OnSize, this);
  Bind(wxEVT_RIGHT_DCLICK, &CZMessageBox::OnRightDoubleClick, this);
  // Static controls let the mouse through to their dialog; here they are windows of their own.
  m_textControl->Bind(wxEVT_RIGHT_DCLICK, &CZMessageBox::OnRightDoubleClick, this);
  m_icon->Bind(wxEVT_RIGHT_DCLICK, &CZMessageBox::OnRightDoubleClick, this);
  m_created = true;
  return true;
}

void CZMessageBox::OnInitDialog(wxInitDialogEvent&)
{
  m_result = -1;
  m_buttonText.Empty();
  m_picture->Load(m_imagePath);
  m_defaultResult = MessageBoxDefaultButton(m_type);
  SetTitle(wxString(GetCaption().GetString()));
  LayoutControls();
  if (m_defaultResult)
    if (auto* button = dynamic_cast<wxButton*>(FindWindow(ToWindowId(m_defaultResult)))) {
      button->SetDefault();
      button->SetFocus();
    }
  wxBell();
}

void CZMessageBox::LayoutControls()
{
  if (!m_created || m_inLayout)
    return;
  m_inLayout = true;
  const std::vector<int> shown = MessageBoxButtons(m_type);
  const int n = int(shown.size());

  // Measured with the text's own font and wrapped at the widest the box allows, so that the
  // text control is as high as the wrapped text.
  wxClientDC dc(this);
  dc.SetFont(m_textControl->GetFont());
  const int maxWidth = MessageBoxMaxTextWidth(m_showImage);
  const CString wrapped = WrapMessageText(
      m_text, maxWidth, [&dc](const CString& s) { return dc.GetTextExtent(wxString(s.GetString())).x; });
  wxCoord w = 0, h = 0;
  dc.GetMultiLineTextExtent(wxString(wrapped.GetString()), &w, &h);
  m_textControl->SetLabelText(wxString(wrapped.GetString()));

  int buttonHeight = 0;
  for (int id : shown)
    buttonHeight = std::max(buttonHeight, FindWindow(ToWindowId(id))->GetSize().y);
  const wxSize iconSize = m_icon->GetSize();

  SMessageBoxMeasure measure;
  measure.buttons = n;
  measure.showImage = m_showImage;
  measure.textWidth = w;
  measure.textHeight = h;
  measure.averageCharWidth = dc.GetCharWidth();
  measure.textOverhead = std::max(42, 2 * kMargin + iconSize.x + 1 + 2);
  // The first row starts at the top margin plus the row spacing; the buttons are pinned to the
  // bottom margin below it.
  const int pictureHeight = m_showImage ? m_picture->GetSize().y : 0;
  measure.minimumHeight = 5 + kMargin + std::max<int>(h, iconSize.y) + kMargin + buttonHeight + kMargin +
                          (m_showImage ? pictureHeight - 250 : 0);
  const SMessageBoxSize size = MessageBoxSize(measure);
  m_textHeight = size.textHeight;
  m_textControl->SetSize(m_textControl->GetSize().x, size.textHeight);
  SetClientSize(size.width, size.height);
  CentreOnOwner();

  CZDlgTools tools(this);
  if (m_showImage) {
    tools.SetTopMargin(0);
    tools.SetLeftMargin(0);
    tools.SetRightMargin(0);
    tools.SetRowSpacing(0);
    tools.AddItem(IDC_ZMESSAGE_IMAGE, m_showImage && m_picture->GetHandle());
    tools.Layout(1);
  } else {
    tools.AddItem(IDC_ZMESSAGE_IMAGE, false);
    tools.StretchRight(0);
  }
  tools.SetMargins(kMargin);
  tools.SetRowSpacing(kMargin);
  tools.AddItemPair(IDC_ZMESSAGE_ICON, IDC_ZMESSAGE_TEXT, m_textHeight, m_showText);
  tools.Layout(1);
  for (int id : kMessageBoxButtonOrder)
    tools.AddButton(id, MessageBoxShowsButton(m_type, id));
  tools.Layout(n);
  for (int id : kPinOrder)
    tools.PinBottom(id);
  m_inLayout = false;
}

void CZMessageBox::CentreOnOwner()
{
  // A box built without a parent belongs to the program's main window, as a parentless dialog
  // does on the platform the box comes from; without one it centres on the screen.
  wxWindow* owner = m_parentWindow;
  if (!owner && wxTheApp && wxTheApp->GetTopWindow() != this)
    owner = wxTheApp->GetTopWindow();
  const int display = wxDisplay::GetFromWindow(owner && owner->IsShown() ? owner : this);
  const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
  const wxRect around = owner && owner->IsShown() ? owner->GetScreenRect() : screen;
  const wxSize size = GetSize();
  wxPoint at(around.x + (around.width - size.x) / 2, around.y + (around.height - size.y) / 2);
  // Never off the screen, even over a parent that partly is.
  at.x = std::max(screen.x, std::min(at.x, screen.GetRight() + 1 - size.x));
  at.y = std::max(screen.y, std::min(at.y, screen.GetBottom() + 1 - size.y));
  Move(at);
}

void CZMessageBox::PressButton(int id)
{
  if (wxWindow* button = FindWindow(ToWindowId(id)))
    m_buttonText = CString(button->GetLabel().wc_str());
  m_result = id;
  if (IsModal())
    EndModal(id);
}

int CZMessageBox::FocusedButton() const
{
  wxWindow* focus = wxWindow::FindFocus();
  if (!focus || focus->GetParent() != this)
    return 0;
  const int id = FromWindowId(focus->GetId());
  return id >= IDOK && id <= IDNO ? id : 0;
}

void CZMessageBox::OnCharHook(wxKeyEvent& event)
{
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE)
    return;
  SMessageBoxKey pressed;
  pressed.keyCode = key;
  pressed.ctrl = event.RawControlDown();
  pressed.alt = event.AltDown();
  pressed.focusedButton = FocusedButton();
  if (const int id = MessageBoxKeyButton(m_type, pressed)) {
    PressButton(id);
    return;
  }
  // Enter must never reach wx's default handling, which would press a button of its own choice.
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)
    return;
  event.Skip();
}

void CZMessageBox::OnSize(wxSizeEvent& event)
{
  event.Skip();
  LayoutControls();
}

void CZMessageBox::OnRightDoubleClick(wxMouseEvent& event)
{
  if (event.ControlDown() && m_resourceId != 0)
    CopyResourceText();
  event.Skip();
}

void CZMessageBox::CopyResourceText()
{
  CString clip;
  for (POSITION pos = ZResourceIdList().GetHeadPosition(); pos;) {
    const ZResourceId& entry = ZResourceIdList().GetNext(pos);
    if (entry.id == int(m_resourceId)) {
      clip.Format(L"%s,\"%s\"", entry.name, LoadResString(m_resourceId));
      break;
    }
  }
  if (!wxTheClipboard->Open())
    return;
  wxTheClipboard->Clear();
  if (!wxTheClipboard->SetData(new wxTextDataObject(wxString(clip.GetString()))))
    AfxMessageBox(L"Clipboard copy error!", 0);
  wxTheClipboard->Close();
}

int ZMessageBox(const CString& text, UINT type, UINT /*flags*/)
{
  CZMessageBox box(nullptr);
  box.SetText(text);
  box.SetType(type);
  const int result = box.DoModal();
  if (result == -1)
    AfxMessageBox(kMissingResources, 0);
  return result;
}
