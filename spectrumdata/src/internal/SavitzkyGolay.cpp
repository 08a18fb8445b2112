#include "SavitzkyGolay.h"

#include "NumericalRecipes.h"

#include <algorithm>

bool SavitzkyGolayFilter::Prepare(int nl, int nr, int ld, int m)
{
  m_ready = false;
  m_weights.clear();
  m_wrapped.clear();
  if (nl < 0 || nr < 0 || ld < 0 || m < 0 || ld > m || (long long)nl + nr < m) {
    nr::nrerror("bad args in savgol");
    return false;
  }
  if (nl != nr)
    return false;
  // An order this high overflows the sums of powers long before it means anything; the bound
  // keeps the normal-equation matrix small.
  if (m > 64 || (long long)nl + nr >= MaxExtendedLength)
    return false;
  const int np = nl + nr + 1;
  if (!nr::savgol(m_wrapped, np, nl, nr, ld, m))
    return false;
  m_weights.resize(size_t(np));
  for (int k = -nl; k <= nr; ++k)
    m_weights[size_t(k + nl)] = m_wrapped[size_t((np - k) % np)];
  m_nl = nl;
  m_nr = nr;
  m_ready = true;
  return true;
}

size_t SavitzkyGolayFilter::BufferLength(int nl, int count, int nr)
{
  long long need = (long long)std::max(nl, 0) + std::max(count, 0) + std::max(nr, 0);
  size_t n = 2;
  while ((long long)n < need)
    n <<= 1;
  return n;
}

bool SavitzkyGolayFilter::Apply(float* values, int count) const
{
  if (int(m_weights.size()) <= DirectMaxPoints)
    return ApplyDirect(values, count);
  return ApplyFft(values, count);
}

bool SavitzkyGolayFilter::ApplyDirect(float* values, int count) const
{
  if (!m_ready || !values || count <= 0)
    return m_ready;
  if ((long long)m_nl + count + m_nr > MaxExtendedLength)
    return false;
  const size_t np = m_weights.size();
  const size_t n = size_t(count);
  // The extended trace in double, so that the sums below read it once per coefficient.
  std::vector<double> ext(size_t(m_nl) + n + size_t(m_nr));
  std::fill_n(ext.begin(), m_nl, double(values[0]));
  std::copy(values, values + n, ext.begin() + m_nl);
  std::fill(ext.begin() + std::ptrdiff_t(size_t(m_nl) + n), ext.end(), double(values[n - 1]));

  // Blocks of outputs that stay in the first-level cache; within a block each output still sums
  // its terms from the leftmost offset to the rightmost, as a plain loop would.
  constexpr size_t Block = 512;
  double acc[Block];
  const double* w = m_weights.data();
  for (size_t start = 0; start < n; start += Block) {
    const size_t len = std::min(Block, n - start);
    const double* in = ext.data() + start;
    std::fill_n(acc, len, 0.0);
    for (size_t j = 0; j < np; ++j) {
      const double wj = w[j];
      const double* src = in + j;
      for (size_t k = 0; k < len; ++k)
        acc[k] += wj * src[k];
    }
    for (size_t k = 0; k < len; ++k)
      values[start + k] = float(acc[k]);
  }
  return true;
}

bool SavitzkyGolayFilter::ApplyFft(float* values, int count) const
{
  if (!m_ready || !values || count <= 0)
    return m_ready;
  if ((long long)m_nl + count + m_nr > MaxExtendedLength)
    return false;
  const size_t n = BufferLength(m_nl, count, m_nr);
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
