#include "KeptPicture.h"

#include <algorithm>
#include <cstring>

namespace {
uint32_t* Row(unsigned char* pixels, int stride, int y)
{
  return reinterpret_cast<uint32_t*>(pixels + ptrdiff_t(y) * stride);
}

const uint32_t* Row(const unsigned char* pixels, int stride, int y)
{
  return reinterpret_cast<const uint32_t*>(pixels + ptrdiff_t(y) * stride);
}
} // namespace

void CKeptPicture::Clear()
{
  m_width = m_height = 0;
  m_at.clear();
  m_pixel.clear();
  m_whole.clear();
}

void CKeptPicture::Keep(const unsigned char* pixels, int stride, int width, int height, const RECT& inner,
                        uint32_t innerPixel, uint32_t outerPixel)
{
  Clear();
  if (!pixels || width <= 0 || height <= 0 || stride < width * 4)
    return;
  m_width = width;
  m_height = height;
  m_stride = stride;
  // Held inside the image, and empty rather than turned inside out.
  m_inner.left = std::clamp<LONG>(inner.left, 0, width);
  m_inner.right = std::clamp<LONG>(inner.right, m_inner.left, width);
  m_inner.top = std::clamp<LONG>(inner.top, 0, height);
  m_inner.bottom = std::clamp<LONG>(inner.bottom, m_inner.top, height);
  m_innerPixel = innerPixel;
  m_outerPixel = outerPixel;
  const size_t most = size_t(width) * size_t(height) / 8;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = Row(pixels, stride, y);
    const bool innerRow = y >= m_inner.top && y < m_inner.bottom;
    for (int x = 0; x < width; ++x) {
      const bool in = innerRow && x >= m_inner.left && x < m_inner.right;
      if (row[x] == (in ? innerPixel : outerPixel))
        continue;
      if (m_at.size() == most) {
        // A picture that is no flat area: kept whole.
        m_at.clear();
        m_pixel.clear();
        m_whole.resize(size_t(width) * size_t(height));
        for (int r = 0; r < height; ++r)
          std::memcpy(m_whole.data() + size_t(r) * size_t(width), Row(pixels, stride, r), size_t(width) * 4);
        return;
      }
      m_at.push_back(size_t(y) * size_t(stride) + size_t(x) * 4);
      m_pixel.push_back(row[x]);
    }
  }
}

bool CKeptPicture::Restore(unsigned char* pixels, int stride, int width, int height) const
{
  if (!IsKept() || !pixels || width != m_width || height != m_height || stride != m_stride)
    return false;
  const size_t w = size_t(width);
  if (!m_whole.empty()) {
    for (int y = 0; y < height; ++y)
      std::memcpy(Row(pixels, stride, y), m_whole.data() + size_t(y) * w, w * 4);
    return true;
  }
  for (int y = 0; y < height; ++y) {
    uint32_t* row = Row(pixels, stride, y);
    if (y < m_inner.top || y >= m_inner.bottom) {
      std::fill_n(row, w, m_outerPixel);
      continue;
    }
    std::fill(row, row + m_inner.left, m_outerPixel);
    std::fill(row + m_inner.left, row + m_inner.right, m_innerPixel);
    std::fill(row + m_inner.right, row + w, m_outerPixel);
  }
  for (size_t k = 0; k < m_at.size(); ++k)
    std::memcpy(pixels + m_at[k], &m_pixel[k], 4);
  return true;
}
