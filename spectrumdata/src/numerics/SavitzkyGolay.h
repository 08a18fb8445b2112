#pragma once
// The Savitzky-Golay filter of one trace. The trace is extended by nl copies of its first value
// before and copies of its last value after, and convolved with the coefficients of the book's
// savgol routine.
//
// Only windows that the book's FFT convolution places correctly are accepted: it takes the
// response as a centred odd window, so nl must equal nr (an uneven window would have one side's
// coefficients misplaced, or one dropped). Windows whose fit is singular (fewer offsets than
// polynomial terms) or too ill-conditioned to reproduce its own polynomials are refused as well,
// so that a refused window leaves the data as it was instead of filling it with garbage. A window
// of exactly as many points as the polynomial has terms is interpolation and takes its weights in
// closed form.
#include <cstddef>
#include <vector>

class SavitzkyGolayFilter {
public:
  // The FFT buffer is limited (its transforms need about six times as many doubles); a trace that
  // would need more is filtered directly or, when that is too much work as well, refused.
  static constexpr size_t MaxBufferLength = size_t(1) << 24;
  // Multiply-adds the direct convolution may take before a trace is refused (some tens of seconds).
  static constexpr double MaxDirectWork = 1e11;
  // Beyond this order the sums of powers overflow before the fit means anything.
  static constexpr int MaxOrder = 32;

  enum class Method { Direct, Fft, Refused };

  // Computes the coefficients; false (and the filter unusable) when the window is refused. The
  // book's argument check reports "bad args in savgol" through nr::nrerror.
  bool Prepare(int nl, int nr, int ld, int m);
  bool IsReady() const { return m_ready; }
  // The coefficient of each offset -nl..nr, in that order.
  const std::vector<double>& Weights() const { return m_weights; }
  // The same in the book's wrap-around order.
  const std::vector<double>& WrappedCoefficients() const { return m_wrapped; }

  // The length of the buffer that the FFT convolution works on: the smallest power of two 2^p,
  // p >= 1, that holds nl + count + nr values; 0 when that exceeds MaxBufferLength.
  static size_t BufferLength(int nl, int count, int nr);
  // Both ways give the same sums to double precision; the cheaper one is taken.
  Method MethodFor(int count) const;

  // Filters values[0..count - 1] in place; false, with nothing changed, when the method for count
  // is Refused.
  bool Apply(float* values, int count) const;
  bool ApplyDirect(float* values, int count) const;
  bool ApplyFft(float* values, int count) const;

  // The coefficients of a window whose polynomial order is nl + nr, offset -nl first.
  static std::vector<double> InterpolationWeights(int nl, int nr, int ld);

private:
  bool ReproducesPolynomials(int ld, int m) const;
  // The direct sums of len outputs from in[0 .. len + taps - 2].
  void ConvolveBlock(const double* in, size_t len, double* out) const;

  bool m_ready = false;
  int m_nl = 0;
  int m_nr = 0;
  std::vector<double> m_weights;
  std::vector<double> m_wrapped;
};
