#pragma once
// The numerical routines under the library's filtering and frequency spectrum, after the published
// Numerical Recipes algorithms, in double precision and with 0-based storage. Where the book's
// routine would run past its arrays or divide by zero after reporting an error, these report the
// same message and then return false instead of producing garbage.
#include <cstddef>
#include <vector>

namespace nr {

// Writes the book's three-line report to the standard error stream and returns; nothing ends the
// process.
void nrerror(const char* message);

// A rows x columns block with a table of row pointers, as the routines index it.
class Matrix {
public:
  Matrix(int rows, int columns);
  double* operator[](int row) { return m_rows[size_t(row)]; }
  const double* operator[](int row) const { return m_rows[size_t(row)]; }
  int Rows() const { return int(m_rows.size()); }

private:
  std::vector<double> m_block;
  std::vector<double*> m_rows;
};

// LU decomposition with implicit partial pivoting, in place. false (after "Singular matrix in
// routine ludcmp") for a matrix with an all-zero row.
bool ludcmp(Matrix& a, std::vector<int>& indx, double& d);
void lubksb(const Matrix& a, const std::vector<int>& indx, std::vector<double>& b);

// Savitzky-Golay coefficients for np >= nl + nr + 1 points, in wrap-around order: c[0] is offset 0,
// c[k] offset -k (k = 1..nl), c[np - k] offset +k (k = 1..nr). The argument check reports "bad args
// in savgol" and returns false, as does a fit that does not give finite coefficients.
bool savgol(std::vector<double>& c, int np, int nl, int nr, int ld, int m);

// Complex radix-2 FFT of nn points, data interleaved (re, im) in 2 nn values; isign 1 or -1.
void four1(double* data, size_t nn, int isign);
// FFT of n real values (n a power of two) in place; the inverse (isign -1) returns n / 2 times
// the data.
void realft(double* data, size_t n, int isign);
// The transforms of two real sequences of n values at once; fft1 and fft2 hold 2 n values each.
void twofft(const double* data1, const double* data2, double* fft1, double* fft2, size_t n);
// Convolution (isign 1) or deconvolution (isign -1) of data (n values, n a power of two) with a
// response of m values (m odd, m <= n, in wrap-around order). ans is sized to the 2 n values the
// transforms write; its first n values are the result.
bool convlv(const std::vector<double>& data, const std::vector<double>& respns, size_t m, int isign,
            std::vector<double>& ans);

void avevar(const double* data, size_t n, double& ave, double& var);
// Lomb normalized periodogram of n points (x, y): frequencies px and powers py, at most np of
// each; nout is how many were written, jmax the index of the largest power, prob its
// significance. false for too few points or x values that do not spread, with nothing written,
// and for zero variance (after the book's message), with the frequencies written, each with power
// 0, jmax 0 and prob 1.
bool period(const double* x, const double* y, int n, double ofac, double hifac, double* px, double* py,
            int np, int& nout, int& jmax, double& prob);
// The significance of a periodogram's power pmax among nout frequencies oversampled by ofac: the
// probability that noise alone reaches it (the book's first-order form where that is small).
double FalseAlarmProbability(double pmax, int nout, double ofac);

} // namespace nr
