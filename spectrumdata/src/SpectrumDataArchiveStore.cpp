// Storing a data set: format 401 (and 308, the same without the info text) and the float layout
// that readers of the 3.07 family expect.
#include "SpectrumDataArchive.h"

#include "SpectrumPeakArchive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace {

// Raw blocks go through UINT counts.
constexpr size_t kChunk = size_t(1) << 30;

void StoreMarkers(CArchive& ar, const CSpectrumMarkerList& markers)
{
  ar << int(markers.GetCount());
  for (POSITION pos = markers.GetHeadPosition(); pos;)
    const_cast<SSpectrumMarker&>(markers.GetNext(pos)).Serialize(ar);
}

} // namespace

// Every record the reader will expect, from the table or zero-filled where there is none.
void SpectrumDataArchive::StorePeaks(CArchive& ar, const CSpectrumData& data, int traces, bool raw)
{
  const int perTrace = data.m_peakFindParams.m_peaksPerTrace;
  if (perTrace <= 0)
    return;
  const size_t records = size_t(traces) * size_t(perTrace);
  const SSpectrumPeak empty;
  for (size_t k = 0; k < records; ++k) {
    const SSpectrumPeak& peak = data.m_peaks && k < data.PeakRecordCount() ? data.m_peaks[k] : empty;
    if (!raw) {
      StorePeak(ar, peak);
      continue;
    }
    for (const float* f = &peak.m_wavelength; f <= &peak.m_value10; ++f)
      ar << *f;
    WriteBytes(ar, peak.m_label, SSpectrumPeak::LabelSize);
  }
}

void SpectrumDataArchive::WriteBytes(CArchive& ar, const void* bytes, size_t count)
{
  const BYTE* from = static_cast<const BYTE*>(bytes);
  for (size_t done = 0; done < count; done += kChunk)
    ar.Write(from + done, UINT(std::min(kChunk, count - done)));
}

void SpectrumDataArchive::WriteFloats(CArchive& ar, const float* values, size_t count)
{
  if constexpr (std::endian::native == std::endian::little) {
    WriteBytes(ar, values, count * sizeof(float));
  } else {
    for (size_t i = 0; i < count; ++i)
      ar << values[i];
  }
}

void SpectrumDataArchive::Store401(CArchive& ar, const CSpectrumData& d, int format)
{
  if (ar.IsLoading())
    AfxThrowArchiveException(CArchiveException::readOnly);
  const int n = std::max(d.m_vectorSize, 0);
  const int t = std::max(d.m_arraySize, 1);
  ar << format << d.m_absoluteIntensity << d.m_cieX << d.m_cieY << d.m_cieLuminance
     << d.m_cieDominantWavelength << d.m_cieIntensity;
  ar << d.m_xLabel << d.m_xUnits << d.m_yLabel << d.m_yUnits << d.m_zLabel << d.m_zUnits;
  ar << t;
  if (d.m_z)
    WriteFloats(ar, d.m_z.get(), size_t(t));
  else
    WriteFloats(ar, std::vector<float>(size_t(t), 0.0f).data(), size_t(t));
  ar << n;
  if (n > 0) {
    const std::vector<float> zeros(d.m_x && d.m_y ? 0 : size_t(n) * size_t(t), 0.0f);
    WriteFloats(ar, d.m_x ? d.m_x.get() : zeros.data(), size_t(n));
    WriteFloats(ar, d.m_y ? d.m_y.get() : zeros.data(), size_t(n) * size_t(t));
    // Every masked point counts, also those outside the window: the window may open again later.
    const bool anyMasked =
        d.m_mask && std::any_of(d.m_mask.get(), d.m_mask.get() + n, [](BYTE b) { return b; });
    ar << BYTE(d.m_maskEnabled ? 1 : 0) << BYTE(anyMasked ? 1 : 0);
    if (anyMasked)
      WriteBytes(ar, d.m_mask.get(), size_t(n));
  }
  ar << d.m_name << d.m_firstIndex << d.m_indexOfMaxY << d.m_indexOfMinY << d.m_lastIndex << d.m_lineStyle
     << d.m_lineWidth << d.m_noiseProbability;
  const_cast<SPeakFindParams&>(d.m_peakFindParams).Serialize(ar);
  StorePeaks(ar, d, t, false);
  ar << int(d.m_region ? 1 : 0);
  if (d.m_region)
    ar << d.m_region->GetFirstIndex() << d.m_region->GetLastIndex();
  ar << d.m_resolution << d.m_spectrumType << UINT(d.m_colour) << int(d.m_valid);
  const_cast<SSpectrumViewLimits&>(d.m_viewLimits).Serialize(ar);
  ar << d.m_xLabelOffset << d.m_xLabelScaling;
  StoreMarkers(ar, d.m_verticalMarkers);
  ar << d.m_xMin << d.m_xPos << d.m_yLabelOffset << d.m_yLabelScaling;
  StoreMarkers(ar, d.m_secondMarkers);
  ar << d.m_yMax << d.m_yMin << d.m_yOffset << d.m_yPos << d.m_yRange << d.m_yScale;
  ar << d.m_arrayIndexRange << d.m_firstArrayIndex << d.m_lastArrayIndex << d.m_traceOfMaxY << d.m_traceOfMinY
     << d.m_arrayIndex;
  if (format >= 401)
    ar << d.m_infoText;
}

void SpectrumDataArchive::Store307(CArchive& ar, const CSpectrumData& d)
{
  if (ar.IsLoading())
    AfxThrowArchiveException(CArchiveException::readOnly);
  const int n = std::max(d.m_vectorSize, 0);
  ar << 3.07f << (n - 1) << n;
  if (n > 0) {
    const std::vector<float> zeros(d.m_x && d.m_y ? 0 : size_t(n), 0.0f);
    WriteFloats(ar, d.m_x ? d.m_x.get() : zeros.data(), size_t(n));
    WriteFloats(ar, d.m_y ? d.m_y.get() : zeros.data(), size_t(n));
  }
  ar << d.m_firstIndex << d.m_lastIndex << d.m_yOffset << d.m_yScale;
  ar << d.m_xLabel << d.m_yLabel << d.m_xUnits << d.m_yUnits << d.m_name << d.m_spectrumType;
  ar << d.m_xPos << d.m_yPos << d.m_resolution << 0.0f << d.m_indexOfMaxY;
  const SPeakFindParams& params = d.m_peakFindParams;
  ar << params.m_peaksPerTrace << params.m_xFrom << params.m_xTo << params.m_thresholdFraction
     << params.m_smoothingWidth << params.m_baseLevel << params.m_useBaseLevel;
  StorePeaks(ar, d, 1, true); // the raw records of trace 0, as this layout's readers take them
  ar << d.m_absoluteIntensity << UINT(d.m_colour) << d.m_lineStyle << d.m_cieIntensity << d.m_cieX << d.m_cieY
     << d.m_cieDominantWavelength;
  const SSpectrumViewLimits& view = d.m_viewLimits;
  ar << view.m_xMin << view.m_yMin << view.m_xMax << view.m_yMax << view.m_user1 << view.m_user2;
}
