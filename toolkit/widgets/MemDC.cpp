#include "MemDC.h"

#include <algorithm>

MemDC::MemDC(wxDC* target, const RECT& rect, bool copyBackground, wxBitmap* cache)
    : m_target(target), m_rect(rect), m_copyBackground(copyBackground)
{
  const int width = std::max<int>(rect.right - rect.left, 1);
  const int height = std::max<int>(rect.bottom - rect.top, 1);
  wxBitmap* bitmap = cache ? cache : &m_ownBitmap;
  if (!bitmap->IsOk() || bitmap->GetWidth() != width || bitmap->GetHeight() != height)
    *bitmap = wxBitmap(width, height, 24);
  SelectObject(*bitmap);
  if (!IsOk() || !m_target)
    return;
  SetDeviceOrigin(-rect.left, -rect.top);
  if (m_copyBackground) {
    if (auto* memory = dynamic_cast<wxMemoryDC*>(m_target); memory && memory->IsOk()) {
      Blit(rect.left, rect.top, width, height, memory, rect.left, rect.top);
    } else {
      const wxBrush& brush = m_target->GetBackground();
      SetBackground(brush.IsOk() ? brush : *wxWHITE_BRUSH);
      Clear();
    }
  }
  m_valid = true;
}

MemDC::~MemDC()
{
  if (m_valid)
    m_target->Blit(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, this,
                   m_rect.left, m_rect.top);
  SelectObject(wxNullBitmap);
}
