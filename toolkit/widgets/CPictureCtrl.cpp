#include "CPictureCtrl.h"

#include "EmbeddedResources.h"
#include "NativePath.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include <wx/dcclient.h>
#include <wx/graphics.h>

CPictureCtrl::CPictureCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                           long style)
{
  Create(parent, id, pos, size, style);
}

CPictureCtrl::~CPictureCtrl()
{
  Unload();
}

bool CPictureCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
{
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxWindow::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE))
    return false;
  Bind(wxEVT_PAINT, &CPictureCtrl::OnPaint, this);
  return true;
}

void CPictureCtrl::Unload()
{
  m_loaded = FALSE;
  m_stream.clear();
  m_stream.shrink_to_fit();
}

bool CPictureCtrl::Load(const CString& path)
{
  errno = 0;
  Unload();
  bool read = false;
  if (path.IsEmpty()) {
    errno = ENOENT;
  } else if (FILE* file = std::fopen(NativePath(path).c_str(), "rb")) {
    unsigned char chunk[1024];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
      m_stream.insert(m_stream.end(), chunk, chunk + count);
    read = !std::ferror(file);
    const int error = errno;
    std::fclose(file);
    if (!read) {
      m_stream.clear();
      errno = error ? error : EIO;
    }
  }
  m_loaded = read ? TRUE : FALSE;
  // Also a failed load repaints: the control is empty now and must not keep showing the
  // picture of an earlier load.
  if (GetHandle()) {
    // Repainting goes through the window system, which may leave errno changed.
    const int error = errno;
    Refresh(true);
    Update();
    errno = error;
  }
  return read;
}

BOOL CPictureCtrl::DrawToDC(wxDC* dc)
{
  if (!m_loaded || !dc)
    return FALSE;
  wxImage image = DecodeImageBytes(m_stream.data(), m_stream.size());
  if (!image.IsOk())
    return FALSE;
  const wxSize client = GetClientSize();
  std::unique_ptr<wxGraphicsContext> graphics(wxGraphicsContext::CreateFromUnknownDC(*dc));
  if (!graphics)
    return FALSE;
  graphics->SetInterpolationQuality(wxINTERPOLATION_GOOD);
  graphics->DrawBitmap(wxBitmap(image), 0, 0, client.x, client.y);
  return TRUE;
}

void CPictureCtrl::OnPaint(wxPaintEvent&)
{
  wxPaintDC dc(this);
  dc.SetBackground(wxBrush(GetParent() ? GetParent()->GetBackgroundColour() : GetBackgroundColour()));
  dc.Clear();
  DrawToDC(&dc);
}
