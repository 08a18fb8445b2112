#pragma once
// A static control that shows an image file (any format wx decodes) stretched over its client
// area, without keeping the aspect ratio. The file's bytes are held in memory and decoded afresh
// on every paint.
#include "CString.h"
#include "WinTypes.h"

#include <vector>

#include <wx/window.h>

class wxDC;

class CPictureCtrl : public wxWindow {
public:
  CPictureCtrl() = default;
  CPictureCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = 0);
  ~CPictureCtrl() override;

  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0);

  // Reads the whole file. On failure errno tells why, and the control shows nothing (also not
  // the picture it showed before).
  bool Load(const CString& path);
  // Draws the picture over the client rectangle on dc; FALSE when there is none.
  virtual BOOL DrawToDC(wxDC* dc);
  BOOL IsLoaded() const { return m_loaded; }

protected:
  void OnPaint(wxPaintEvent& event);
  void Unload();

private:
  std::vector<unsigned char> m_stream;
  BOOL m_loaded = FALSE;
};
