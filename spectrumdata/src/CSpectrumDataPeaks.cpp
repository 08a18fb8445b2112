// The peak table: peaks-per-trace records for every trace of the array size, record k of trace t
// at k + t x peaks per trace. Whatever changes the number of traces keeps the table that size.
#include "ZSpectrumData/CSpectrumData.h"

#include "SpectrumArrays.h"

#include <algorithm>

size_t CSpectrumData::PeakRecordCount() const
{
  const int perTrace = m_peakFindParams.m_peaksPerTrace;
  return perTrace > 0 ? size_t(perTrace) * size_t(m_arraySize) : 0;
}

const SSpectrumPeak* CSpectrumData::PeakRecord(int trace, int k) const
{
  const int perTrace = m_peakFindParams.m_peaksPerTrace;
  if (!m_peaks || !IsTrace(trace) || k < 0 || k >= perTrace)
    return nullptr;
  return &m_peaks[size_t(trace) * size_t(perTrace) + size_t(k)];
}

void CSpectrumData::ResizePeakTable(int oldArraySize, int newArraySize)
{
  const int perTrace = m_peakFindParams.m_peaksPerTrace;
  if (!m_peaks || perTrace <= 0 || oldArraySize == newArraySize)
    return;
  const size_t records = size_t(newArraySize) * size_t(perTrace);
  auto table = ZeroArray<SSpectrumPeak>(records);
  CopyInto(table.get(), m_peaks.get(), size_t(std::min(oldArraySize, newArraySize)) * size_t(perTrace));
  m_peaks = std::move(table);
}

void CSpectrumData::RemovePeakTrace(int trace)
{
  const int perTrace = m_peakFindParams.m_peaksPerTrace;
  if (!m_peaks || perTrace <= 0 || !IsTrace(trace) || m_arraySize <= 1)
    return;
  const size_t below = size_t(trace) * size_t(perTrace);
  const size_t above = size_t(m_arraySize - 1 - trace) * size_t(perTrace);
  auto table = ZeroArray<SSpectrumPeak>(below + above);
  CopyInto(table.get(), m_peaks.get(), below);
  CopyInto(table.get() + below, m_peaks.get() + below + size_t(perTrace), above);
  m_peaks = std::move(table);
}

void CSpectrumData::InitPeakArray(int n)
{
  m_peaks.reset();
  if (n > 0)
    m_peaks = ZeroArray<SSpectrumPeak>(size_t(m_arraySize) * size_t(n));
  m_peakFindParams.m_peaksPerTrace = n;
}

float CSpectrumData::GetPeakWavelength(int trace, int k) const
{
  const SSpectrumPeak* peak = PeakRecord(trace, k);
  return peak ? peak->m_wavelength : 0;
}

float CSpectrumData::GetPeakIntensity(int trace, int k) const
{
  const SSpectrumPeak* peak = PeakRecord(trace, k);
  return peak ? peak->m_intensity : 0;
}
