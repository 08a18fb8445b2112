#include "CZSpectrumWnd.h"

#include "CZMessageBox.h"
#include "ClipboardTextHead.h"
#include "PlotClipboardText.h"
#include "StandardMessageBox.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <wx/clipbrd.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <utility>

namespace {
// Text this program put on the clipboard, kept where it can be read without the clipboard handing
// all of it over again (a right-click asks for its first lines every time). The clipboard deletes
// its data object as soon as it holds anything else.
class COwnClipboardText : public wxTextDataObject {
public:
  explicit COwnClipboardText(const CString& text) : m_text(text.GetString()) {}
  ~COwnClipboardText() override
  {
    if (s_held == this)
      s_held = nullptr;
  }
  size_t GetTextLength() const override { return m_text.length() + 1; }
  wxString GetText() const override { return m_text; }
  void SetText(const wxString& text) override { m_text = text; }
  // Once the clipboard has taken it.
  void Hold() { s_held = this; }
  static const wxString* Held() { return s_held ? &s_held->m_text : nullptr; }

private:
  wxString m_text;
  static inline COwnClipboardText* s_held = nullptr;
};

// The clipboard's text; false when it holds none or cannot be opened.
bool ReadClipboardText(CString& text)
{
  if (!wxTheClipboard->Open())
    return false;
  bool got = true;
  // Another program's text is read as the paste offer reads it, which wx would not do: text that
  // is not valid UTF-8 would reach us empty.
  if (const wxString* own = COwnClipboardText::Held())
    text = CString(own->ToStdWstring());
  else
    got = ClipboardText(text);
  wxTheClipboard->Close();
  return got;
}
} // namespace

bool CZSpectrumWnd::CopyToClipboard(const CString& text)
{
  if (!wxTheClipboard->Open())
    return false;
  wxTheClipboard->Clear();
  auto* data = new COwnClipboardText(text);
  const bool copied = wxTheClipboard->SetData(data);
  if (copied)
    data->Hold();
  else
    AfxMessageBox(L"Clipboard copy error!", MB_OK);
  wxTheClipboard->Close();
  return copied;
}

void CZSpectrumWnd::OnEditCopy()
{
  if (GetTraceCount() == 0)
    return;
  wxBusyCursor wait;
  CopyToClipboard(PlotCopyText(*this));
}

void CZSpectrumWnd::OnEditCut()
{
  bool cut = false;
  {
    wxBusyCursor wait;
    cut = CutActiveTrace(*this, [this](const CString& text) { return CopyToClipboard(text); });
  }
  if (cut)
    RedrawNow();
}

void CZSpectrumWnd::OnCopyAll()
{
  if (GetTraceCount() == 0)
    return;
  wxBusyCursor wait;
  CopyToClipboard(PlotCopyAllText(*this));
}

void CZSpectrumWnd::OnEditPaste()
{
  if (m_pasteWaits)
    return; // reached other than through the menu; the waiting Paste is the one that counts
  CString text;
  bool read = false;
  {
    // The wait runs the event loop, in which this window may be closed.
    const wxWeakRef<wxWindow> alive(this);
    m_pasteWaits = true;
    read = ReadClipboardText(text);
    if (!alive)
      return;
    m_pasteWaits = false;
  }
  if (read)
    PasteTextAsTrace(*this, text);
  else
    ZMessageBox(L"The clipboard's text could not be read.", MB_OK | MB_ICONEXCLAMATION);
  for (const UINT command : std::exchange(m_afterPaste, {}))
    CallAfter([this, command] { OnCommand(command); });
}

bool CZSpectrumWnd::CanPaste()
{
  // Every right-click asks, so only the first lines are looked at: our own copy where it lies,
  // another program's text as it was fetched when that program took the clipboard. Until that
  // fetch has answered, Paste is not offered, as for a clipboard that cannot be opened.
  if (const wxString* own = COwnClipboardText::Held())
    return CanPasteText(std::wstring_view(own->wc_str(), own->length()));
  std::wstring head;
  return ClipboardTextHead(kPasteOfferLines, head) == EClipboardHead::Text && CanPasteText(head);
}
