// The plot window's paint into its bitmap, against the floor of this machine: one DrawLines call
// of the same points on a bitmap of the same size. Two loads: the program's live plot after 20
// minutes (8 traces of 2,400 points) and one data set of 1,000,000 points.
#include "CZSpectrumWnd.h"
#include "PlotColour.h"

#include <ZSpectrumData/CSpectrumData.h>
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {
const RECT kArea = MakeRect(0, 0, 900, 420);
const COLORREF kColours[8] = {0x0000FF, 0x00C800, 0xFF0000, 0x00C8C8, 0xC800C8, 0xC8C800, 0x808080, 0x4080FF};

struct PaintLoad {
  std::vector<std::unique_ptr<CSpectrumData>> traces;
  std::unique_ptr<CZSpectrumWnd> plot = std::make_unique<CZSpectrumWnd>();
};

void SetUpLivePlot(CZSpectrumWnd& plot)
{
  plot.SetFontSize(11);
  plot.SetPlotFont(nullptr);
  plot.SetXSpan(1200);
  plot.SetXLabel(L"Time (sec)");
  plot.SetShowXGrid(true);
  plot.SetShowYGrid(true);
  plot.SetAutoScaleAll(true);
  plot.SetXTitleInline(false);
  plot.SetShowXTicks(true);
  plot.SetShowXTickLabels(true);
  plot.SetShowYTicks(true);
  plot.SetShowYTickLabels(true);
  plot.SetColours(0x393939, 0x393939);
}

std::unique_ptr<PaintLoad> LiveTraces()
{
  auto load = std::make_unique<PaintLoad>();
  SetUpLivePlot(*load->plot);
  std::mt19937 random(3);
  std::normal_distribution<float> step(0.0f, 1.0f);
  for (int t = 0; t < 8; ++t) {
    auto data = std::make_unique<CSpectrumData>();
    CString name;
    name.Format(L"Trace %d", t + 1);
    data->SetName(name);
    data->SetTraceColour(kColours[t]);
    float value = 100.0f * float(t);
    for (int i = 0; i < 2400; ++i) {
      value += step(random);
      data->AddPoint(float(i) * 0.5f + 0.5f, value);
    }
    load->plot->AddTrace(data.get(), true, false);
    load->traces.push_back(std::move(data));
  }
  return load;
}

std::unique_ptr<PaintLoad> MillionPoints()
{
  auto load = std::make_unique<PaintLoad>();
  CZSpectrumWnd& plot = *load->plot;
  plot.SetFontSize(11);
  plot.SetPlotFont(nullptr);
  plot.SetShowXGrid(true);
  plot.SetShowXTickLabels(true);
  plot.SetShowYTickLabels(true);
  plot.SetColours(0xFFFFFF, 0xFFFFFF);
  auto data = std::make_unique<CSpectrumData>();
  data->SetName(L"Scan");
  data->SetTraceColour(0x0000C8);
  std::mt19937 random(5);
  std::normal_distribution<float> noise(0.0f, 0.05f);
  for (int i = 0; i < 1000000; ++i) {
    const float x = float(i) * 0.001f;
    data->AddPoint(x, std::sin(x * 0.02f) + noise(random));
  }
  plot.AddTrace(data.get(), true, false);
  load->traces.push_back(std::move(data));
  return load;
}

// Every point of every trace, in the pixels of the last paint.
std::vector<std::vector<wxPoint>> AllPoints(PaintLoad& load)
{
  std::vector<std::vector<wxPoint>> all;
  for (auto& trace : load.traces) {
    std::vector<wxPoint> points;
    points.reserve(size_t(trace->GetIndexRange()));
    const float scale = trace->GetYScale(), offset = trace->GetYOffset();
    for (int i = trace->GetFirstIndex(); i <= trace->GetLastIndex(); ++i)
      points.emplace_back(load.plot->XToPixel(trace->GetX(i)),
                          load.plot->YToPixel(trace->GetY(i) * scale + offset));
    all.push_back(std::move(points));
  }
  return all;
}

double Seconds(std::chrono::steady_clock::duration d)
{
  return std::chrono::duration<double>(d).count();
}

// The best of a few rounds of one DrawLines call per trace.
double DrawLinesFloor(const std::vector<std::vector<wxPoint>>& all)
{
  wxBitmap bitmap(RectWidth(kArea), RectHeight(kArea), 24);
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    wxMemoryDC dc(bitmap);
    if (wxGraphicsContext* gc = dc.GetGraphicsContext())
      gc->SetAntialiasMode(wxANTIALIAS_NONE);
    const auto start = std::chrono::steady_clock::now();
    for (size_t t = 0; t < all.size(); ++t) {
      dc.SetPen(wxPen(ToWxColour(kColours[t % 8]), 1));
      dc.DrawLines(int(all[t].size()), all[t].data());
    }
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

void PaintAgainstFloor(benchmark::State& state, const char* name, std::unique_ptr<PaintLoad> (*make)())
{
  std::unique_ptr<PaintLoad> load = make();
  wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
  {
    wxMemoryDC dc(screen);
    load->plot->Draw(dc, &kArea);
  }
  const double floor = DrawLinesFloor(AllPoints(*load));
  double paint = 0;
  int64_t paints = 0;
  for (auto _ : state) {
    wxMemoryDC dc(screen);
    const auto start = std::chrono::steady_clock::now();
    load->plot->Draw(dc, &kArea);
    paint += Seconds(std::chrono::steady_clock::now() - start);
    ++paints;
  }
  const double perPaint = paint / double(std::max<int64_t>(paints, 1));
  state.counters["paint_ms"] = perPaint * 1e3;
  state.counters["drawlines_ms"] = floor * 1e3;
  state.counters["ratio"] = perPaint / floor;
  std::printf("%s: paint %.3f ms, one DrawLines of the same points %.3f ms, ratio %.2f\n", name,
              perPaint * 1e3, floor * 1e3, perPaint / floor);
}

void BM_PaintLiveTraces(benchmark::State& state)
{
  PaintAgainstFloor(state, "8 traces x 2,400 points", LiveTraces);
}
void BM_PaintMillionPoints(benchmark::State& state)
{
  PaintAgainstFloor(state, "1,000,000 points", MillionPoints);
}
BENCHMARK(BM_PaintLiveTraces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintMillionPoints)->Unit(benchmark::kMillisecond);

class BenchApp : public wxApp {
public:
  bool OnInit() override { return true; }
};
} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  wxApp::SetInstance(new BenchApp);
  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
    std::printf("PlotPaint_bench needs a display (run it under xvfb-run); skipped\n");
    return 0;
  }
  delete wxLog::SetActiveTarget(new wxLogStderr);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
