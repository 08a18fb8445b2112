#pragma once
// The house message box: every message of the program after start-up goes through it. It takes
// the MB_* button types and returns the id of the button pressed (IDOK to IDNO), sizes itself to
// its text, shows only the buttons of its type, answers the letter keys of those buttons and
// carries one program-wide caption. Every run asks the modal responder first.
#include "CList.h"
#include "CString.h"
#include "MessageBoxTypes.h"
#include "WinTypes.h"

#include <wx/dialog.h>

class CPictureCtrl;
class wxStaticBitmap;
class wxStaticText;

constexpr int IDD_ZMESSAGEBOX = 3400;
constexpr int IDC_ZMESSAGE_IMAGE = 3410;
constexpr int IDC_ZMESSAGE_TEXT = 3411;
constexpr int IDC_ZMESSAGE_ICON = 3413;
constexpr int IDI_ZMESSAGE = 3402;

// A string resource that the box can copy to the clipboard by its name.
struct ZResourceId {
  int id = 0;
  CString name;
};
CList<ZResourceId>& ZResourceIdList();

// The caption of every box; when empty, the application's name.
void SetDefaultCaption(const CString& caption);
const CString& GetDefaultCaption();

class CZMessageBox : public wxDialog {
public:
  explicit CZMessageBox(wxWindow* parent = nullptr);
  ~CZMessageBox() override;

  void SetText(const CString& text) { m_text = text; }
  template <typename... Args> void SetTextFormat(const wchar_t* format, const Args&... args)
  {
    CString text;
    text.Format(format, args...);
    m_text = text;
  }
  void SetType(UINT type) { m_type = type; }
  // An image file shown above the text.
  void SetImagePath(const CString& path);
  // The string resource the text came from, for Ctrl + right double-click.
  void SetResourceId(UINT id) { m_resourceId = id; }

  // Runs the box and returns the id of the button pressed; -1 when the dialog cannot be made.
  int DoModal();

  const CString& GetText() const { return m_text; }
  UINT GetType() const { return m_type; }
  int GetResult() const { return m_result; }
  const CString& GetButtonText() const { return m_buttonText; }
  int GetTextHeight() const { return m_textHeight; }
  CString GetCaption() const;

protected:
  bool CreateFromTemplate();
  void OnInitDialog(wxInitDialogEvent& event);
  void LayoutControls();
  void CentreOnOwner();
  void PressButton(int id);
  void OnCharHook(wxKeyEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnRightDoubleClick(wxMouseEvent& event);
  void CopyResourceText();
  int FocusedButton() const;

private:
  wxWindow* m_parentWindow;
  CPictureCtrl* m_picture = nullptr;
  wxStaticText* m_textControl = nullptr;
  wxStaticBitmap* m_icon = nullptr;
  CString m_text;
  int m_result = -1;
  CString m_buttonText;
  CString m_imagePath;
  UINT m_resourceId = 0;
  UINT m_type = MB_OKCANCEL;
  bool m_showText = true;
  bool m_showImage = false;
  int m_defaultResult = 0;
  int m_textHeight = 0;
  bool m_created = false;
  bool m_inLayout = false;
};

// A plain message: builds a box without parent, runs it and returns its answer. The third
// argument is not used.
int ZMessageBox(const CString& text, UINT type = MB_OK, UINT flags = 0);
