#include "CZSpectrumWnd.h"

#include "PlotClipboardText.h"
#include "StandardMessageBox.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <wx/clipbrd.h>
#include <wx/utils.h>

namespace {
// The clipboard's text, or nothing when it holds none or cannot be opened.
bool ReadClipboardText(CString& text)
{
  if (!wxTheClipboard->Open())
    return false;
  // Any text form will do: other programs offer their text in several.
  wxTextDataObject data;
  const bool read = wxTheClipboard->GetData(data);
  if (read)
    text = CString(data.GetText().ToStdWstring());
  wxTheClipboard->Close();
  return read;
}
} // namespace

bool CZSpectrumWnd::CopyToClipboard(const CString& text)
{
  if (!wxTheClipboard->Open())
    return false;
  wxTheClipboard->Clear();
  const bool copied = wxTheClipboard->SetData(new wxTextDataObject(wxString(text.GetString())));
  if (!copied)
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
  CString text;
  if (ReadClipboardText(text))
    PasteTextAsTrace(*this, text);
}

bool CZSpectrumWnd::CanPaste()
{
  CString text;
  return ReadClipboardText(text) && CanPasteText(text);
}
