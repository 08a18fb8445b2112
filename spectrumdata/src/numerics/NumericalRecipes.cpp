#include "NumericalRecipes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

// The loops keep the book's 1-based indices, so that each one can be checked against it; the
// helpers below shift them onto 0-based storage.
namespace nr {
namespace {

constexpr double Tiny = 1.0e-20;
constexpr double TwoPi = 6.283185307179586476;

template <typename T> struct OneBased {
  T* base;
  T& operator[](size_t i) const { return base[i - 1]; }
};
template <typename T> OneBased<T> From1(T* p)
{
  return OneBased<T>{p};
}

} // namespace

void nrerror(const char* message)
{
  std::fprintf(stderr, "Numerical Recipes run-time error...\n");
  std::fprintf(stderr, "%s\n", message ? message : "");
  std::fprintf(stderr, "...now exiting to system...\n");
  std::fflush(stderr);
}

Matrix::Matrix(int rows, int columns)
    : m_block(size_t(std::max(rows, 0)) * size_t(std::max(columns, 0)), 0.0),
      m_rows(size_t(std::max(rows, 0)))
{
  for (size_t r = 0; r < m_rows.size(); ++r)
    m_rows[r] = m_block.data() + r * size_t(std::max(columns, 0));
}

bool ludcmp(Matrix& a, std::vector<int>& indx, double& d)
{
  const int n = a.Rows();
  std::vector<double> vv(static_cast<size_t>(n));
  indx.assign(size_t(n), 0);
  d = 1.0;
  for (int i = 0; i < n; ++i) {
    double big = 0.0;
    for (int j = 0; j < n; ++j)
      big = std::max(big, std::fabs(a[i][j]));
    if (big == 0.0) {
      nrerror("Singular matrix in routine ludcmp");
      return false;
    }
    vv[size_t(i)] = 1.0 / big;
  }
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < j; ++i) {
      double sum = a[i][j];
      for (int k = 0; k < i; ++k)
        sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
    }
    double big = 0.0;
    int imax = j; // the book leaves it unset when every candidate is NaN
    for (int i = j; i < n; ++i) {
      double sum = a[i][j];
      for (int k = 0; k < j; ++k)
        sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
      double dum = vv[size_t(i)] * std::fabs(sum);
      if (dum >= big) {
        big = dum;
        imax = i;
      }
    }
    if (j != imax) {
      for (int k = 0; k < n; ++k)
        std::swap(a[imax][k], a[j][k]);
      d = -d;
      vv[size_t(imax)] = vv[size_t(j)];
    }
    indx[size_t(j)] = imax;
    if (a[j][j] == 0.0)
      a[j][j] = Tiny;
    if (j != n - 1) {
      double dum = 1.0 / a[j][j];
      for (int i = j + 1; i < n; ++i)
        a[i][j] *= dum;
    }
  }
  return true;
}

void lubksb(const Matrix& a, const std::vector<int>& indx, std::vector<double>& b)
{
  const int n = a.Rows();
  int ii = -1;
  for (int i = 0; i < n; ++i) {
    int ip = indx[size_t(i)];
    double sum = b[size_t(ip)];
    b[size_t(ip)] = b[size_t(i)];
    if (ii >= 0)
      for (int j = ii; j <= i - 1; ++j)
        sum -= a[i][j] * b[size_t(j)];
    else if (sum != 0.0)
      ii = i;
    b[size_t(i)] = sum;
  }
  for (int i = n - 1; i >= 0; --i) {
    double sum = b[size_t(i)];
    for (int j = i + 1; j < n; ++j)
      sum -= a[i][j] * b[size_t(j)];
    b[size_t(i)] = sum / a[i][i];
  }
}

bool savgol(std::vector<double>& c, int np, int nl, int nr, int ld, int m)
{
  // The book checks the first five; a negative order or derivative would index outside b. With
  // fewer offsets than coefficients (nl + nr < m) the normal equations are singular, and the
  // book's run on regardless gives garbage.
  if (np < nl + nr + 1 || nl < 0 || nr < 0 || ld > m || nl + nr < m || ld < 0 || m < 0) {
    nrerror("bad args in savgol");
    return false;
  }
  Matrix a(m + 1, m + 1);
  for (int ipj = 0; ipj <= (m << 1); ++ipj) {
    double sum = ipj ? 0.0 : 1.0;
    for (int k = 1; k <= nr; ++k)
      sum += std::pow(double(k), double(ipj));
    for (int k = 1; k <= nl; ++k)
      sum += std::pow(double(-k), double(ipj));
    int mm = std::min(ipj, 2 * m - ipj);
    for (int imj = -mm; imj <= mm; imj += 2)
      a[(ipj + imj) / 2][(ipj - imj) / 2] = sum;
  }
  std::vector<int> indx;
  double d = 0;
  if (!ludcmp(a, indx, d))
    return false;
  std::vector<double> b(size_t(m + 1), 0.0);
  b[size_t(ld)] = 1.0;
  lubksb(a, indx, b);
  c.assign(size_t(np), 0.0);
  for (int k = -nl; k <= nr; ++k) {
    double sum = b[0];
    double fac = 1.0;
    for (int mm = 1; mm <= m; ++mm)
      sum += b[size_t(mm)] * (fac *= k);
    int kk = (np - k) % np;
    c[size_t(kk)] = sum;
  }
  return std::all_of(c.begin(), c.end(), [](double v) { return std::isfinite(v); });
}

void four1(double* data0, size_t nn, int isign)
{
  auto data = From1(data0);
  size_t n = nn << 1;
  size_t j = 1;
  for (size_t i = 1; i < n; i += 2) {
    if (j > i) {
      std::swap(data[j], data[i]);
      std::swap(data[j + 1], data[i + 1]);
    }
    size_t m = nn;
    while (m >= 2 && j > m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }
  size_t mmax = 2;
  while (n > mmax) {
    size_t istep = mmax << 1;
    double theta = isign * (TwoPi / double(mmax));
    double wtemp = std::sin(0.5 * theta);
    double wpr = -2.0 * wtemp * wtemp;
    double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (size_t m = 1; m < mmax; m += 2) {
      for (size_t i = m; i <= n; i += istep) {
        j = i + mmax;
        double tempr = wr * data[j] - wi * data[j + 1];
        double tempi = wr * data[j + 1] + wi * data[j];
        data[j] = data[i] - tempr;
        data[j + 1] = data[i + 1] - tempi;
        data[i] += tempr;
        data[i + 1] += tempi;
      }
      wr = (wtemp = wr) * wpr - wi * wpi + wr;
      wi = wi * wpr + wtemp * wpi + wi;
    }
    mmax = istep;
  }
}

void realft(double* data0, size_t n, int isign)
{
  auto data = From1(data0);
  double c1 = 0.5;
  double c2;
  double theta = 3.141592653589793 / double(n >> 1);
  if (isign == 1) {
    c2 = -0.5;
    four1(data0, n >> 1, 1);
  } else {
    c2 = 0.5;
    theta = -theta;
  }
  double wtemp = std::sin(0.5 * theta);
  double wpr = -2.0 * wtemp * wtemp;
  double wpi = std::sin(theta);
  double wr = 1.0 + wpr;
  double wi = wpi;
  size_t np3 = n + 3;
  for (size_t i = 2; i <= (n >> 2); ++i) {
    size_t i1 = i + i - 1;
    size_t i2 = 1 + i1;
    size_t i3 = np3 - i2;
    size_t i4 = 1 + i3;
    double h1r = c1 * (data[i1] + data[i3]);
    double h1i = c1 * (data[i2] - data[i4]);
    double h2r = -c2 * (data[i2] + data[i4]);
    double h2i = c2 * (data[i1] - data[i3]);
    data[i1] = h1r + wr * h2r - wi * h2i;
    data[i2] = h1i + wr * h2i + wi * h2r;
    data[i3] = h1r - wr * h2r + wi * h2i;
    data[i4] = -h1i + wr * h2i + wi * h2r;
    wr = (wtemp = wr) * wpr - wi * wpi + wr;
    wi = wi * wpr + wtemp * wpi + wi;
  }
  double h1r = data[1];
  if (isign == 1) {
    data[1] = h1r + data[2];
    data[2] = h1r - data[2];
  } else {
    data[1] = c1 * (h1r + data[2]);
    data[2] = c1 * (h1r - data[2]);
    four1(data0, n >> 1, -1);
  }
}

void twofft(const double* data10, const double* data20, double* fft10, double* fft20, size_t n)
{
  auto data1 = From1(data10);
  auto data2 = From1(data20);
  auto fft1 = From1(fft10);
  auto fft2 = From1(fft20);
  size_t nn2 = 2 + n + n;
  size_t nn3 = 1 + nn2;
  for (size_t j = 1, jj = 2; j <= n; ++j, jj += 2) {
    fft1[jj - 1] = data1[j];
    fft1[jj] = data2[j];
  }
  four1(fft10, n, 1);
  fft2[1] = fft1[2];
  fft1[2] = fft2[2] = 0.0;
  for (size_t j = 3; j <= n + 1; j += 2) {
    double rep = 0.5 * (fft1[j] + fft1[nn2 - j]);
    double rem = 0.5 * (fft1[j] - fft1[nn2 - j]);
    double aip = 0.5 * (fft1[j + 1] + fft1[nn3 - j]);
    double aim = 0.5 * (fft1[j + 1] - fft1[nn3 - j]);
    fft1[j] = rep;
    fft1[j + 1] = aim;
    fft1[nn2 - j] = rep;
    fft1[nn3 - j] = -aim;
    fft2[j] = aip;
    fft2[j + 1] = -rem;
    fft2[nn2 - j] = aip;
    fft2[nn3 - j] = rem;
  }
}

bool convlv(const std::vector<double>& data0, const std::vector<double>& respns0, size_t m, int isign,
            std::vector<double>& ans0)
{
  const size_t n = data0.size();
  // The transforms need a power of two of at least two points and an odd response that fits.
  if (n < 2 || (n & (n - 1)) != 0 || m % 2 == 0 || m > n || respns0.size() < m)
    return false;
  if (isign != 1 && isign != -1) {
    nrerror("No meaning for isign in convlv");
    return false;
  }
  // The book rearranges the caller's response in place and needs it n long; this works on a copy.
  std::vector<double> respnsBuffer(n, 0.0);
  std::copy(respns0.begin(), respns0.begin() + std::ptrdiff_t(m), respnsBuffer.begin());
  std::vector<double> fftBuffer(n << 1);
  ans0.assign(n << 1, 0.0);
  auto respns = From1(respnsBuffer.data());
  auto fft = From1(fftBuffer.data());
  auto ans = From1(ans0.data());

  for (size_t i = 1; i <= (m - 1) / 2; ++i)
    respns[n + 1 - i] = respns[m + 1 - i];
  for (size_t i = (m + 3) / 2; i <= n - (m - 1) / 2; ++i)
    respns[i] = 0.0;
  twofft(data0.data(), respnsBuffer.data(), fftBuffer.data(), ans0.data(), n);
  const double no2 = double(n >> 1);
  bool ok = true;
  for (size_t i = 2; i <= n + 2; i += 2) {
    double dum = ans[i - 1];
    if (isign == 1) {
      ans[i - 1] = (fft[i - 1] * dum - fft[i] * ans[i]) / no2;
      ans[i] = (fft[i] * dum + fft[i - 1] * ans[i]) / no2;
    } else {
      double mag2 = ans[i - 1] * ans[i - 1] + ans[i] * ans[i];
      if (mag2 == 0.0) {
        if (ok)
          nrerror("Deconvolving at response zero in convlv");
        ok = false;
        ans[i - 1] = ans[i] = 0.0; // rather than the book's division by zero
        continue;
      }
      ans[i - 1] = (fft[i - 1] * dum + fft[i] * ans[i]) / mag2 / no2;
      ans[i] = (fft[i] * dum - fft[i - 1] * ans[i]) / mag2 / no2;
    }
  }
  ans[2] = ans[n + 1];
  realft(ans0.data(), n, -1);
  return ok;
}

void avevar(const double* data, size_t n, double& ave, double& var)
{
  ave = 0.0;
  var = 0.0;
  if (n == 0)
    return;
  for (size_t j = 0; j < n; ++j)
    ave += data[j];
  ave /= double(n);
  if (n < 2)
    return; // the book divides by n - 1
  double ep = 0.0;
  for (size_t j = 0; j < n; ++j) {
    double s = data[j] - ave;
    ep += s;
    var += s * s;
  }
  var = (var - ep * ep / double(n)) / double(n - 1);
}

bool period(const double* x, const double* y, int n, double ofac, double hifac, double* px, double* py,
            int np, int& nout, int& jmax, double& prob)
{
  nout = 0;
  jmax = 0;
  prob = 1.0;
  if (n < 1 || !x || !y)
    return false;
  nout = int(0.5 * ofac * hifac * n);
  if (nout > np) {
    nrerror("output arrays too short in period");
    nout = std::max(np, 0); // the book writes on past the caller's arrays
  }
  if (nout < 0)
    nout = 0;
  double ave = 0;
  double var = 0;
  avevar(y, size_t(n), ave, var);
  // The book stops here. Without variance there is no power at any frequency: the frequencies
  // are still given, each with power 0, so that a caller has a spectrum to show.
  const bool varied = var > 0.0;
  if (!varied)
    nrerror("zero variance in period");
  double xmax = x[0];
  double xmin = x[0];
  for (int j = 0; j < n; ++j) {
    xmax = std::max(xmax, x[j]);
    xmin = std::min(xmin, x[j]);
  }
  double xdif = xmax - xmin;
  if (!(xdif > 0.0) || !(ofac > 0.0)) {
    nout = 0;
    return false;
  }
  double xave = 0.5 * (xmax + xmin);
  double pymax = 0.0;
  double pnow = 1.0 / (xdif * ofac);
  const size_t count = static_cast<size_t>(n);
  std::vector<double> wi(count), wpi(count), wpr(count), wr(count);
  for (int j = 0; j < n; ++j) {
    double arg = TwoPi * ((x[j] - xave) * pnow);
    double s = std::sin(0.5 * arg);
    wpr[size_t(j)] = -2.0 * s * s;
    wpi[size_t(j)] = std::sin(arg);
    wr[size_t(j)] = std::cos(arg);
    wi[size_t(j)] = wpi[size_t(j)];
  }
  for (int i = 0; i < nout; ++i) {
    px[i] = pnow;
    if (!varied) {
      py[i] = 0.0;
      pnow += 1.0 / (ofac * xdif);
      continue;
    }
    double sumsh = 0.0;
    double sumc = 0.0;
    for (int j = 0; j < n; ++j) {
      double c = wr[size_t(j)];
      double s = wi[size_t(j)];
      sumsh += s * c;
      sumc += (c - s) * (c + s);
    }
    double wtau = 0.5 * std::atan2(2.0 * sumsh, sumc);
    double swtau = std::sin(wtau);
    double cwtau = std::cos(wtau);
    double sums = 0.0;
    double sumsy = 0.0;
    double sumcy = 0.0;
    sumc = 0.0;
    for (int j = 0; j < n; ++j) {
      double s = wi[size_t(j)];
      double c = wr[size_t(j)];
      double ss = s * cwtau - c * swtau;
      double cc = c * cwtau + s * swtau;
      sums += ss * ss;
      sumc += cc * cc;
      double yy = y[j] - ave;
      sumsy += yy * ss;
      sumcy += yy * cc;
      double wtemp = wr[size_t(j)];
      wr[size_t(j)] = (wtemp * wpr[size_t(j)] - wi[size_t(j)] * wpi[size_t(j)]) + wr[size_t(j)];
      wi[size_t(j)] = (wi[size_t(j)] * wpr[size_t(j)] + wtemp * wpi[size_t(j)]) + wi[size_t(j)];
    }
    // A frequency at which every point falls on a node has an empty sum; it adds no power.
    double cosPart = sumc > 0.0 ? sumcy * sumcy / sumc : 0.0;
    double sinPart = sums > 0.0 ? sumsy * sumsy / sums : 0.0;
    py[i] = 0.5 * (cosPart + sinPart) / var;
    if (py[i] >= pymax) {
      jmax = i;
      pymax = py[i];
    }
    pnow += 1.0 / (ofac * xdif);
  }
  if (!varied) {
    jmax = 0;
    return false;
  }
  prob = FalseAlarmProbability(pymax, nout, ofac);
  return true;
}

double FalseAlarmProbability(double pmax, int nout, double ofac)
{
  const double expy = std::exp(-pmax);
  const double effm = 2.0 * nout / ofac;
  const double prob = effm * expy;
  return prob > 0.01 ? 1.0 - std::pow(1.0 - expy, effm) : prob;
}

} // namespace nr
