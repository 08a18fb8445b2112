#include "SavitzkyGolay.h"

#include "NumericalRecipes.h"
#include "WidePaths.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

// Fornberg's recursion for the finite-difference weights of derivative ld at offset 0 over the
// offsets -nl..nr, divided by ld! to give the fit's coefficient of the power ld, as savgol does.
std::vector<double> SavitzkyGolayFilter::InterpolationWeights(int nl, int nr, int ld)
{
  const int n = nl + nr; // the last node's index
  std::vector<std::vector<double>> c(size_t(n + 1), std::vector<double>(size_t(ld + 1), 0.0));
  auto node = [&](int i) { return double(i - nl); };
  double c1 = 1;
  double c4 = node(0);
  c[0][0] = 1;
  for (int i = 1; i <= n; ++i) {
    const int mn = std::min(i, ld);
    double c2 = 1;
    const double c5 = c4;
    c4 = node(i);
    for (int j = 0; j < i; ++j) {
      const double c3 = node(i) - node(j);
      c2 *= c3;
      if (j == i - 1) {
        for (int k = mn; k >= 1; --k)
          c[size_t(i)][size_t(k)] =
              c1 * (k * c[size_t(i - 1)][size_t(k - 1)] - c5 * c[size_t(i - 1)][size_t(k)]) / c2;
        c[size_t(i)][0] = -c1 * c5 * c[size_t(i - 1)][0] / c2;
      }
      for (int k = mn; k >= 1; --k)
        c[size_t(j)][size_t(k)] = (c4 * c[size_t(j)][size_t(k)] - k * c[size_t(j)][size_t(k - 1)]) / c3;
      c[size_t(j)][0] = c4 * c[size_t(j)][0] / c3;
    }
    c1 = c2;
  }
  double factorial = 1;
  for (int k = 2; k <= ld; ++k)
    factorial *= k;
  std::vector<double> weights(size_t(n + 1));
  for (int j = 0; j <= n; ++j)
    weights[size_t(j)] = c[size_t(j)][size_t(ld)] / factorial;
  return weights;
}

bool SavitzkyGolayFilter::Prepare(int nl, int nr, int ld, int m)
{
  m_ready = false;
  m_weights.clear();
  m_wrapped.clear();
  if (nl < 0 || nr < 0 || ld < 0 || m < 0 || ld > m || (long long)nl + nr < m) {
    nr::nrerror("bad args in savgol");
    return false;
  }
  // A window whose coefficients alone outgrow the FFT buffer is no smoothing anyone asks for.
  if (nl != nr || m > MaxOrder || BufferLength(nl, 1, nr) == 0)
    return false;
  const int np = nl + nr + 1;
  if (m == nl + nr) {
    // The polynomial passes through every point of the window: the fit is interpolation, whose
    // weights have a closed form. The book's normal equations lose them in double precision
    // (orders 10 and 16 among others), while these reproduce the data exactly for ld = 0.
    m_weights = InterpolationWeights(nl, nr, ld);
    m_wrapped.assign(size_t(np), 0.0);
    for (int k = -nl; k <= nr; ++k)
      m_wrapped[size_t((np - k) % np)] = m_weights[size_t(k + nl)];
  } else {
    if (!nr::savgol(m_wrapped, np, nl, nr, ld, m))
      return false;
    m_weights.resize(size_t(np));
    for (int k = -nl; k <= nr; ++k)
      m_weights[size_t(k + nl)] = m_wrapped[size_t((np - k) % np)];
  }
  m_nl = nl;
  m_nr = nr;
  if (!ReproducesPolynomials(ld, m)) {
    m_weights.clear();
    m_wrapped.clear();
    return false;
  }
  m_ready = true;
  return true;
}

// The coefficients of an exact fit give sum c_k k^j = 1 for j = ld and 0 for every other j up to
// m. A fit too ill-conditioned for double precision misses that by far more than rounding.
bool SavitzkyGolayFilter::ReproducesPolynomials(int ld, int m) const
{
  std::vector<double> power(m_weights.size(), 1.0);
  for (int j = 0; j <= m; ++j) {
    double sum = 0;
    double scale = 0;
    for (size_t i = 0; i < m_weights.size(); ++i) {
      if (j > 0)
        power[i] *= double(int(i) - m_nl);
      sum += m_weights[i] * power[i];
      scale += std::fabs(m_weights[i] * power[i]);
    }
    const double expected = j == ld ? 1.0 : 0.0;
    if (!std::isfinite(sum) || std::fabs(sum - expected) > 1e-6 * std::max(scale, 1.0))
      return false;
  }
  return true;
}

size_t SavitzkyGolayFilter::BufferLength(int nl, int count, int nr)
{
  const long long need = (long long)std::max(nl, 0) + std::max(count, 0) + std::max(nr, 0);
  size_t n = 2;
  while ((long long)n < need) {
    if (n >= MaxBufferLength)
      return 0;
    n <<= 1;
  }
  return n;
}

SavitzkyGolayFilter::Method SavitzkyGolayFilter::MethodFor(int count) const
{
  if (!m_ready || count <= 0)
    return Method::Refused;
  // Measured: the book's radix-2 transforms walk memory in strides and cost about as much per
  // value and halving as 80 multiply-adds of the direct sums.
  const double direct = double(count) * double(m_weights.size());
  const size_t n = BufferLength(m_nl, count, m_nr);
  if (n != 0 && direct > 80.0 * double(n) * std::log2(double(n)))
    return Method::Fft;
  return direct <= MaxDirectWork ? Method::Direct : Method::Refused;
}

bool SavitzkyGolayFilter::Apply(float* values, int count) const
{
  switch (MethodFor(count)) {
  case Method::Direct:
    return ApplyDirect(values, count);
  case Method::Fft:
    return ApplyFft(values, count);
  case Method::Refused:
    break;
  }
  return false;
}

namespace {

// out[k] = sum over j of w[j] x in[j + k], each sum taken from j = 0 upwards, as a plain loop
// would. Eight vectors of outputs at a time stay in registers while the window slides past them,
// so that each input is loaded once per weight instead of each partial sum being loaded and
// stored again. The vector width only groups outputs; every sum sees the same operations in the
// same order (no fused multiply-add), so the results do not depend on it.
template <typename Lanes>
[[gnu::always_inline]] inline void ConvolveLanes(const double* w, size_t np, const double* in, size_t len,
                                                 double* out)
{
  constexpr size_t Width = sizeof(Lanes) / sizeof(double);
  constexpr size_t Wide = 8 * Width;
  size_t k = 0;
  for (; k + Wide <= len; k += Wide) {
    Lanes a[8] = {};
    for (size_t j = 0; j < np; ++j) {
      Lanes wj;
      for (size_t r = 0; r < Width; ++r)
        wj[r] = w[j];
      const double* x = in + j + k;
      for (size_t r = 0; r < 8; ++r) {
        Lanes v;
        std::memcpy(&v, x + r * Width, sizeof v);
        a[r] += wj * v;
      }
    }
    std::memcpy(out + k, a, sizeof a);
  }
  for (; k < len; ++k) {
    double sum = 0;
    for (size_t j = 0; j < np; ++j)
      sum += w[j] * in[j + k];
    out[k] = sum;
  }
}

typedef double Lanes2 __attribute__((vector_size(16)));
typedef double Lanes4 __attribute__((vector_size(32)));

void Convolve(const double* w, size_t np, const double* in, size_t len, double* out)
{
  ConvolveLanes<Lanes2>(w, np, in, len, out);
}

// Twice the outputs per instruction where the processor has them.
[[gnu::target("avx2")]] void ConvolveAvx2(const double* w, size_t np, const double* in, size_t len,
                                          double* out)
{
  CountWidePathRun();
  ConvolveLanes<Lanes4>(w, np, in, len, out);
}

} // namespace

void SavitzkyGolayFilter::ConvolveBlock(const double* in, size_t len, double* out) const
{
  static const bool avx2 = __builtin_cpu_supports("avx2");
  (avx2 && WidePathsAllowed() ? ConvolveAvx2 : Convolve)(m_weights.data(), m_weights.size(), in, len, out);
}

bool SavitzkyGolayFilter::ApplyDirect(float* values, int count) const
{
  if (!m_ready || !values || count <= 0)
    return false;
  const size_t np = m_weights.size();
  const size_t n = size_t(count);
  const long long nl = m_nl;
  // The extended trace: its element e is values[e - nl], held at the ends.
  auto extended = [&](size_t e) {
    const long long i = std::clamp((long long)e - nl, 0LL, (long long)n - 1);
    return double(values[size_t(i)]);
  };

  // The extended trace is read through a sliding window of Block + np - 1 values, so that it is
  // never held whole. Every value is read before its output overwrites it: the window for a block
  // reaches nr points past the block, and only the block itself is then written.
  constexpr size_t Block = 1024;
  std::vector<double> window(Block + np - 1);
  for (size_t e = 0; e + 1 < np; ++e)
    window[e] = extended(e);
  double acc[Block];
  for (size_t start = 0; start < n; start += Block) {
    const size_t len = std::min(Block, n - start);
    for (size_t k = 0; k < len; ++k)
      window[np - 1 + k] = extended(start + np - 1 + k);
    ConvolveBlock(window.data(), len, acc);
    // Which of two NaNs an addition passes on (the sign of infinity minus infinity's, or the
    // input's) follows the order of its operands, which the compiler chooses for each path: every
    // NaN comes out as the one quiet NaN.
    for (size_t k = 0; k < len; ++k)
      values[start + k] = acc[k] == acc[k] ? float(acc[k]) : std::numeric_limits<float>::quiet_NaN();
    std::copy(window.begin() + std::ptrdiff_t(len), window.begin() + std::ptrdiff_t(len + np - 1),
              window.begin());
  }
  return true;
}

bool SavitzkyGolayFilter::ApplyFft(float* values, int count) const
{
  if (!m_ready || !values || count <= 0)
    return false;
  const size_t n = BufferLength(m_nl, count, m_nr);
  if (n == 0)
    return false;
  std::vector<double> buffer(n);
  std::fill_n(buffer.begin(), m_nl, double(values[0]));
  std::copy(values, values + count, buffer.begin() + m_nl);
  std::fill(buffer.begin() + m_nl + count, buffer.end(), double(values[count - 1]));
  std::vector<double> result;
  if (!nr::convlv(buffer, m_wrapped, m_wrapped.size(), 1, result))
    return false;
  for (int k = 0; k < count; ++k)
    values[k] = float(result[size_t(m_nl + k)]);
  return true;
}
