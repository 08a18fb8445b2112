// fuzz-link: plot_logic ZSpectrumData
// Loads arbitrary bytes as the plot window's settings record or traces record; the first byte
// picks which. A load that throws must leave the plot exactly as it was; a load that succeeds
// must give a plot whose own record loads again and writes itself back unchanged, and that paints.
#include "CArchive.h"
#include "CZSpectrumPlot.h"
#include "../tests/plot/PlotTestSupport.h" // FixedMeasure: text sizes without a display

#include <ZSpectrumData/CSpectrumData.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
using Bytes = std::vector<BYTE>;

Bytes Store(CZSpectrumPlot& plot, bool traces)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  traces ? plot.SerializeTraces(ar) : plot.SerializeSettings(ar);
  ar.Close();
  return file.Data();
}

void Load(CZSpectrumPlot& plot, bool traces, const void* data, size_t size)
{
  CMemFile file(data, size);
  CArchive ar(&file, CArchive::load);
  traces ? plot.SerializeTraces(ar) : plot.SerializeSettings(ar);
}

// Whatever the record held, an axis whose two ends it fixed is in order, and a paint of the loaded
// plot, with a trace of its own beside what it loaded, lays out and draws without throwing.
void Paint(CZSpectrumPlot& plot)
{
  if ((plot.IsXMinFixed() && plot.IsXMaxFixed() && !(plot.GetXMin() < plot.GetXMax())) ||
      (plot.IsYMinFixed() && plot.IsYMaxFixed() && !(plot.GetYMin() < plot.GetYMax())))
    std::abort();
  CSpectrumData ramp;
  ramp.SetName(L"Ramp");
  for (int i = 0; i < 16; ++i)
    ramp.AddPoint(float(i), float(i % 5));
  plot.AddTrace(&ramp, false, false);
  FixedMeasure measure;
  if (plot.PrepareFrame(measure, MakeRect(0, 0, 400, 300), nullptr) && plot.ShouldDrawTraces()) {
    STraceGeometry geometry;
    for (CSpectrumData* trace : plot.TracesInDrawingOrder())
      plot.BuildTraceGeometry(*trace, geometry);
  }
  plot.RemoveTrace(L"Ramp", false);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  const bool traces = (data[0] & 1) != 0;
  CSpectrumData mine(L"Mine", 2, 1);
  CZSpectrumPlot plot;
  plot.AddTrace(&mine, false, false);
  plot.HoldActiveTrace();
  const Bytes before = Store(plot, traces);
  const int countBefore = plot.GetTraceCount();

  try {
    Load(plot, traces, data + 1, size - 1);
  } catch (const CArchiveException&) {
    if (Store(plot, traces) != before || plot.GetTraceCount() != countBefore)
      std::abort();
    return 0;
  }

  const Bytes written = Store(plot, traces);
  CZSpectrumPlot again;
  try {
    Load(again, traces, written.data(), written.size());
  } catch (const CArchiveException&) {
    std::abort();
  }
  if (!traces && Store(again, traces) != written)
    std::abort();
  Paint(again);
  return 0;
}
