#include "SpectrumPeakArchive.h"

#include <CArchive.h>

#include <cstddef>
#include <cstring>

namespace {

float* Floats(SSpectrumPeak& peak)
{
  return &peak.m_wavelength;
}
const float* Floats(const SSpectrumPeak& peak)
{
  return &peak.m_wavelength;
}
constexpr int FloatCount = 10;
constexpr UINT StoredLabelBytes = SSpectrumPeak::LabelSize - 1;

static_assert(offsetof(SSpectrumPeak, m_value10) == (FloatCount - 1) * sizeof(float));
static_assert(offsetof(SSpectrumPeak, m_label) == FloatCount * sizeof(float));

} // namespace

void StorePeak(CArchive& ar, const SSpectrumPeak& peak)
{
  ar << int(1);
  for (int i = 0; i < FloatCount; ++i)
    ar << Floats(peak)[i];
  ar.Write(peak.m_label, StoredLabelBytes);
}

void LoadPeak(CArchive& ar, SSpectrumPeak& peak)
{
  int version = 0;
  ar >> version;
  if (version == 1) {
    for (int i = 0; i < FloatCount; ++i)
      ar >> Floats(peak)[i];
    ar.ReadExact(peak.m_label, StoredLabelBytes);
  } else {
    // The raw record: the word just read is the first float's bytes.
    BYTE rest[sizeof(SSpectrumPeak) - sizeof(float)];
    ar.ReadExact(rest, sizeof rest);
    std::memcpy(&peak.m_wavelength, &version, sizeof(float));
    std::memcpy(Floats(peak) + 1, rest, (FloatCount - 1) * sizeof(float));
    std::memcpy(peak.m_label, rest + (FloatCount - 1) * sizeof(float), SSpectrumPeak::LabelSize);
  }
  // A raw label need not be terminated; every later copy reads it as a C string.
  peak.m_label[SSpectrumPeak::LabelSize - 1] = '\0';
}
