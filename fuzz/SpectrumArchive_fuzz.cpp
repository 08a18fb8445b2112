// fuzz-link: ZSpectrumData
// Loads arbitrary bytes as a data-set archive, whatever format word they begin with, and runs the
// library's main routines on what loads. A load that fails must leave the data set as it was; one
// that succeeds must store an archive that loads back to the same archive.
#include <ZSpectrumData/CHistogram.h>
#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>
#include <CFile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<BYTE> Store(CSpectrumData& data)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  data.Serialize(ar);
  return file.Data();
}

bool Load(CSpectrumData& data, const void* bytes, size_t size)
{
  CMemFile file(bytes, size);
  CArchive ar(&file, CArchive::load);
  try {
    data.Serialize(ar);
  } catch (const CArchiveException& e) {
    if (e.m_cause == CArchiveException::none || e.m_cause == CArchiveException::readOnly)
      std::abort();
    return false;
  }
  return true;
}

// The routines that read and write inside the windows the archive set.
void Exercise(const CSpectrumData& loaded)
{
  CSpectrumData data(loaded);
  const long long points = (long long)data.GetVectorSize() * data.GetArraySize();
  data.RecalcLimits();
  const float x0 = data.GetX(data.GetFirstIndex());
  const float x1 = data.GetX(data.GetLastIndex());
  int pos = 0;
  data.GetY((x0 + x1) / 2, true);
  data.GetY(x1, pos);
  data.GetY(data.GetZ(0), data.GetFirstIndex(), pos);
  data.GetIndex(x1);
  data.GetArrayIndex(data.GetZ(0));
  data.GetTotalArea();
  data.GetLogYRange(true);
  data.GetDataAsText();
  if (points <= 100000) {
    data.Smooth(6);
    CSpectrumData derivative;
    CSpectrumData::Derivative(&data, &derivative, 1, 2, 2);
  }
  data.RemoveArrayTrace(data.GetLastArrayIndex());
  data.CropTo(data.GetFirstIndex() + 1, data.GetLastIndex());
  data.Pad(2, 2);
  CSpectrumData copy;
  copy.CopyArray(data);
  copy.Resize(std::min(copy.GetVectorSize(), 64) + 1, 2);

  // The loaded values counted into a histogram over the loaded x range.
  const int bins = 16;
  CHistogram histogram(L"Fuzz", bins);
  histogram.SetLimitsFromFirstBin(x0, (x1 - x0) / bins);
  histogram.SetResolution(loaded.GetResolution());
  for (int i = loaded.GetFirstIndex(); i <= loaded.GetLastIndex() && i - loaded.GetFirstIndex() < 4096; ++i)
    histogram.AddCount(loaded.GetY(i), 1);
  histogram.GetCount(x1);
  histogram.GetMaxCount();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CSpectrumData before(L"Before", 3, 2);
  before.AddVerticalMarker(L"m", 1, 1, 0, true);
  const std::vector<BYTE> untouched = Store(before);

  CSpectrumData loaded(before);
  if (!Load(loaded, data, size)) {
    if (Store(loaded) != untouched)
      std::abort();
    return 0;
  }
  const std::vector<BYTE> stored = Store(loaded);
  CSpectrumData again;
  if (!Load(again, stored.data(), stored.size()))
    std::abort();
  // The markers that were there before the first load are in the second load too.
  if (Store(again) != stored)
    std::abort();
  Exercise(loaded);
  return 0;
}
