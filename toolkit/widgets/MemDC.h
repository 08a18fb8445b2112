#pragma once
// The off-screen device context that every paint of the house widgets goes through: drawing
// lands in a bitmap of the rectangle's size (kept by the caller between paints when it passes
// one), and the destructor copies the rectangle to the target in one go.
#include "WinTypes.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

class MemDC : public wxMemoryDC {
public:
  // copyBackground: start from the target's pixels. A window's paint context cannot be read
  // back on every back end; it then starts from the target's background brush instead.
  MemDC(wxDC* target, const RECT& rect, bool copyBackground = true, wxBitmap* cache = nullptr);
  ~MemDC() override;
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;

  bool IsValid() const { return m_valid; }

private:
  wxDC* m_target;
  RECT m_rect;
  bool m_copyBackground;
  wxBitmap m_ownBitmap;
  bool m_valid = false;
};
