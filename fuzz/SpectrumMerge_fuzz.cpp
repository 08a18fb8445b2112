// fuzz-link: ZSpectrumData
// Builds two data sets from arbitrary bytes and merges them, plain and resampled, with and without
// level matching; aborts when a merge breaks a property that every pair must keep (the checks the
// randomised merge test makes: tests/spectrumdata/MergeProperties.h).
//
// Byte 0 chooses the options and how the second set lies against the first (overlapping, equal
// starts, equal ends, inside, identical, or x read raw from the bytes, NaN and falling x
// included). Each set then takes a size, a start, a step across six decades, and per point a byte
// that stretches its interval (0 repeats the x) and one for its y.
#include "../tests/spectrumdata/MergeProperties.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using merge_properties::Set;

class Bytes {
public:
  Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool Empty() const { return m_at >= m_size; }
  uint8_t Byte(uint8_t otherwise = 0) { return m_at < m_size ? m_data[m_at++] : otherwise; }
  int Word() { return Byte() | (Byte() << 8); }
  float Float()
  {
    uint32_t bits =
        uint32_t(Byte()) | uint32_t(Byte()) << 8 | uint32_t(Byte()) << 16 | uint32_t(Byte()) << 24;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_at = 0;
};

double Step(Bytes& in)
{
  return std::pow(10.0, double(in.Byte() % 61) / 10 - 3);
}

// n points from start, each interval step stretched by its byte (a 0 repeats the x).
Set Grow(Bytes& in, int n, double start, double step)
{
  Set s;
  double x = start;
  for (int i = 0; i < n; ++i) {
    if (i > 0) {
      const uint8_t b = in.Byte(1);
      x += b == 0 ? 0.0 : step * (1 + double(b - 1) / 64);
    }
    s.x.push_back(float(x));
    const uint8_t y = in.Byte(64);
    s.y.push_back(y == 255 ? 1e36f : y == 254 ? -3e38f : float(int(y) - 64) * 0.25f);
  }
  return s;
}

int Size(Bytes& in)
{
  const int b = in.Byte(8);
  return b < 200 ? 1 + b % 40 : 1 + in.Word() % 2000;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Bytes in(data, size);
  const uint8_t flags = in.Byte();
  const bool matchLevels = flags & 1;
  const bool swap = flags & 2;
  const int relation = (flags >> 2) % 6;
  const int nL = Size(in);
  const int nU = Size(in);
  Set low;
  Set up;
  if (relation == 5) {
    // x as the bytes give them: anything a float can be.
    for (int i = 0; i < nL; ++i) {
      low.x.push_back(in.Float());
      low.y.push_back(in.Float());
    }
    for (int i = 0; i < nU; ++i) {
      up.x.push_back(in.Float());
      up.y.push_back(in.Float());
    }
  } else {
    const double start = double(int16_t(in.Word())) / 8;
    low = Grow(in, nL, start, Step(in));
    const double lowFirst = low.x.front();
    const double lowLast = low.x.back();
    const double stepU = Step(in);
    const double at = double(in.Byte()) / 255;
    switch (relation) {
    case 0:
      up = Grow(in, nU, lowFirst + (lowLast - lowFirst) * (at * 1.2 - 0.1), stepU);
      break;
    case 1:
      up = Grow(in, nU, lowFirst, stepU);
      break;
    case 2: {
      // Grown forward, then moved so that its last x is the lower set's last.
      up = Grow(in, nU, 0, stepU);
      const double shift = lowLast - double(up.x.back());
      for (float& x : up.x)
        x = float(double(x) + shift);
      up.x.back() = float(lowLast);
      for (size_t i = up.x.size() - 1; i-- > 0;)
        up.x[i] = std::min(up.x[i], up.x[i + 1]);
      break;
    }
    case 3:
      up = Grow(in, nU, lowFirst + (lowLast - lowFirst) * at / 2, std::min(stepU, (lowLast - lowFirst) / nU));
      break;
    default: {
      up = Grow(in, nL, 0, 1);
      up.x = low.x;
      break;
    }
    }
  }
  merge_properties::Tally tally;
  const std::string broken =
      merge_properties::Check(swap ? up : low, swap ? low : up, matchLevels, tally, /*maxGrid=*/200000);
  if (!broken.empty()) {
    std::fprintf(stderr, "merge property broken: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
