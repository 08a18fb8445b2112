// The frequency spectrum (Lomb periodogram) of a data set and the thickness distribution of an
// interference spectrum built on it.
#include "ZSpectrumData/CSpectrumData.h"

#include "NumericalRecipes.h"

#include <algorithm>
#include <cmath>
#include <vector>

int CSpectrumData::FrequencySpectrum(CSpectrumData* src, CSpectrumData* out, int step, float minFrequency)
{
  constexpr double kOversampling = 4.0;
  constexpr double kHighFrequencyFactor = 1.0;
  // A negative step would sample backwards (step -1 not at all), and one sample has no spectrum.
  if (!src || !out)
    return -1;
  out->m_indexOfMaxY = -1;
  if (step < 0 || !src->HasPoints() || !src->m_x || !src->m_y)
    return -1;
  const int stride = step + 1;
  const int b = src->m_indexRange / stride;
  if (b < 2)
    return -1;
  const int np = 2 * b;
  if (np - 1 < out->m_vectorSize) {
    out->m_lastIndex = np - 1;
    out->m_indexRange = np - out->m_firstIndex;
  }

  std::vector<double> x(static_cast<size_t>(b)), y(static_cast<size_t>(b));
  std::vector<double> px(static_cast<size_t>(np)), py(static_cast<size_t>(np));
  for (int j = 0; j < b; ++j)
    x[size_t(j)] = src->GetX(src->m_firstIndex + j * stride);
  const int firstTrace = std::max(src->m_firstArrayIndex, 0);
  const int lastTrace = std::min(src->m_lastArrayIndex, src->m_arraySize - 1);
  for (int t = firstTrace; t <= lastTrace; ++t) {
    for (int j = 0; j < b; ++j)
      y[size_t(j)] = src->GetY(t, src->m_firstIndex + j * stride);
    int nout = 0;
    int jmax = 0;
    double prob = 1;
    // A trace without variance has power 0 at every frequency and no largest power; it takes
    // nothing from the traces before it, and the traces after it are still done.
    const bool varied = nr::period(x.data(), y.data(), b, kOversampling, kHighFrequencyFactor, px.data(),
                                   py.data(), np, nout, jmax, prob);
    // The largest power among the frequencies at or above the minimum; the last of equals wins.
    jmax = -1;
    double pmax = 0;
    for (int i = 0; varied && i < nout; ++i)
      if (px[size_t(i)] >= double(minFrequency) && py[size_t(i)] >= pmax) {
        jmax = i;
        pmax = py[size_t(i)];
      }
    if (varied)
      prob = nr::FalseAlarmProbability(pmax, nout, kOversampling);
    out->m_indexOfMaxY = jmax;
    out->m_noiseProbability = float(prob);
    const int first = out->m_firstIndex;
    for (int i = first; i <= out->m_lastIndex && i - first < nout; ++i) {
      out->SetX(i, float(px[size_t(i - first)]));
      out->SetY(t, i, float(py[size_t(i - first)]));
    }
  }
  return -1;
}

bool CSpectrumData::ConvertInterferenceToThickness(ZSpectrumMaterial material)
{
  if (material != ZMaterialHighIndex && material != ZMaterialFusedSilica)
    return false;
  CSpectrumData output(*this);
  for (int i = m_firstIndex; i <= m_lastIndex; ++i) {
    const double l = GetX(i);
    auto term = [l](double b, double c) { return b / (1 - (c / l) * (c / l)); };
    const double n2 =
        material == ZMaterialHighIndex
            ? 3.6 + term(1.75, 256) + term(4.1, 17860)
            : 1 + term(0.6961663, 68.4043) + term(0.4079426, 116.2414) + term(0.8974794, 9896.161);
    SetX(i, float(std::sqrt(n2) / l));
  }
  FrequencySpectrum(this, &output, 0, 0);
  output.SetXLabel(L"Thickness");
  output.SetYLabel(L"Probability");
  output.SetYUnits(L"");
  *this = output;
  return true;
}
