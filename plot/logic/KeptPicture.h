#pragma once
// A picture kept in memory between paints to be written back over the last one. Most of the plot
// under its traces is two flat colours, the plot area and what lies around it, so it is kept as
// those two areas and the few pixels that differ from them (grid dots, frame, ticks, labels):
// writing it back is then mostly a fill, which costs a third of a copy of the same bytes.
#include "PlotGeometry.h"

#include <cstdint>
#include <vector>

class CKeptPicture {
public:
  // Keeps the image of width x height 32-bit pixels whose rows lie stride bytes apart; inner
  // (in the image's pixels) is the area of innerPixel, the rest is the area of outerPixel.
  void Keep(const unsigned char* pixels, int stride, int width, int height, const RECT& inner,
            uint32_t innerPixel, uint32_t outerPixel);
  // Writes it back into an image of the same size and stride; false, and nothing written, when
  // none is kept or the size differs.
  bool Restore(unsigned char* pixels, int stride, int width, int height) const;
  void Clear();
  bool IsKept() const { return m_width > 0; }

private:
  int m_width = 0, m_height = 0, m_stride = 0;
  RECT m_inner{};
  uint32_t m_innerPixel = 0, m_outerPixel = 0;
  std::vector<size_t> m_at;      // the byte offsets of the pixels that differ from their area's colour
  std::vector<uint32_t> m_pixel; // and those pixels
  std::vector<uint32_t> m_whole; // every pixel, where those would be too many
};
