#pragma once
// The Savitzky-Golay filter of one trace. The trace is extended by nl copies of its first value
// before and copies of its last value after, and convolved with the coefficients of the book's
// savgol routine. Windows that the FFT convolution can represent (nl == nr) are accepted; an
// uneven window would have one side's coefficients misplaced or dropped, so it is refused.
#include <cstddef>
#include <vector>

class SavitzkyGolayFilter {
public:
  // Larger windows than this are convolved through the FFT, smaller ones directly; both give the
  // same sums to double precision.
  static constexpr int DirectMaxPoints = 64;
  // Beyond this many values in the extended trace the filter refuses to allocate.
  static constexpr long long MaxExtendedLength = 1LL << 26;

  // Computes the coefficients; false (and the filter unusable) when the window is refused. The
  // book's argument check reports through nr::nrerror.
  bool Prepare(int nl, int nr, int ld, int m);
  bool IsReady() const { return m_ready; }
  int Left() const { return m_nl; }
  int Right() const { return m_nr; }
  // The coefficient of each offset -nl..nr, in that order.
  const std::vector<double>& Weights() const { return m_weights; }
  // The same in the book's wrap-around order.
  const std::vector<double>& WrappedCoefficients() const { return m_wrapped; }

  // The length of the buffer that the FFT convolution works on: the smallest power of two 2^p,
  // p >= 1, that holds nl + count + nr values.
  static size_t BufferLength(int nl, int count, int nr);

  // Filters values[0..count - 1] in place; false when the extended trace would be too long.
  bool Apply(float* values, int count) const;
  bool ApplyDirect(float* values, int count) const;
  bool ApplyFft(float* values, int count) const;

private:
  bool m_ready = false;
  int m_nl = 0;
  int m_nr = 0;
  std::vector<double> m_weights;
  std::vector<double> m_wrapped;
};
