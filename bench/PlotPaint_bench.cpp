// The plot window's paint into its bitmap, against the floor of this machine measured in the same
// run on a bitmap of the same size: one DrawLines call per polyline of the same points. Two loads:
// the program's live plot after 20 minutes (8 traces of 2,400 points) and one data set of
// 1,000,000 points. Four floors: every point of the data (what drawing the data takes without the
// paint's one point per pixel column), only the points the paint draws (its polylines), those
// same polylines written the paint's own way, straight into the bitmap's pixels (the raster), and
// the whole paint's floor (see PictureFloorOnce): what any paint of this picture must do at least.
// Then what the mouse costs: a cursor move repaints the places the overlay left and reached, from
// the kept picture with the overlay over them, against a plain copy of the whole picture; a
// Ctrl+wheel step repaints everything at new X limits.
//
// The machine is shared: other processes take the processor away for milliseconds at a time, and
// a mean of a thousand steps of a tenth of a millisecond carries the few that were stopped. Each
// step is timed on its own next to its baseline, and the ratio is the median of the steps' ratios
// to theirs: a stretch in which the machine runs slower holds both sides of a pair back alike.
#include "BenchTiming.h"
#include "CZSpectrumWnd.h"
#include "Colours.h"
#include "TraceRaster.h"

#include <ZSpectrumData/CSpectrumData.h>
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
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
  // Filled whole: point by point the arrays would grow 128 points at a time.
  constexpr int kPoints = 1000000;
  auto data = std::make_unique<CSpectrumData>(L"Scan", kPoints, 1);
  data->SetTraceColour(0x0000C8);
  std::mt19937 random(5);
  std::normal_distribution<float> noise(0.0f, 0.05f);
  std::vector<float> xs(kPoints), ys(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    xs[size_t(i)] = float(i) * 0.001f;
    ys[size_t(i)] = std::sin(xs[size_t(i)] * 0.02f) + noise(random);
  }
  data->SetXData(xs.data());
  data->SetYData(ys.data(), 0);
  plot.AddTrace(data.get(), true, false);
  load->traces.push_back(std::move(data));
  return load;
}

using Polylines = std::vector<std::vector<wxPoint>>;

// Every point of every trace, in the pixels of the last paint.
Polylines AllPoints(PaintLoad& load)
{
  Polylines all;
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

// The trace lines of the last paint, as the paint hands them to the raster.
std::vector<STraceGeometry> DrawnGeometry(PaintLoad& load)
{
  std::vector<STraceGeometry> geometries;
  for (CSpectrumData* trace : load.plot->TracesInDrawingOrder()) {
    geometries.emplace_back();
    load.plot->BuildTraceGeometry(*trace, geometries.back());
  }
  return geometries;
}

// The polylines of the last paint.
Polylines DrawnPoints(const std::vector<STraceGeometry>& geometries)
{
  Polylines drawn;
  for (const STraceGeometry& geometry : geometries) {
    for (size_t run = 0; run < geometry.runStarts.size(); ++run) {
      const size_t end =
          run + 1 < geometry.runStarts.size() ? geometry.runStarts[run + 1] : geometry.points.size();
      std::vector<wxPoint> points;
      for (size_t i = geometry.runStarts[run]; i < end; ++i)
        points.emplace_back(geometry.points[i].x, geometry.points[i].y);
      drawn.push_back(std::move(points));
    }
  }
  return drawn;
}

double Mean(const std::vector<double>& samples)
{
  double sum = 0;
  for (double s : samples)
    sum += s;
  return samples.empty() ? 0 : sum / double(samples.size());
}

double MedianRatio(const std::vector<double>& steps, const std::vector<double>& baselines)
{
  std::vector<double> ratios;
  for (size_t i = 0; i < steps.size() && i < baselines.size(); ++i)
    if (baselines[i] > 0)
      ratios.push_back(steps[i] / baselines[i]);
  return Median(std::move(ratios));
}

// One DrawLines call per polyline on a bitmap of the plot's size.
double DrawLinesOnce(wxBitmap& bitmap, const Polylines& lines)
{
  wxMemoryDC dc(bitmap);
  if (wxGraphicsContext* gc = dc.GetGraphicsContext())
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
  const auto start = std::chrono::steady_clock::now();
  for (size_t t = 0; t < lines.size(); ++t) {
    dc.SetPen(wxPen(ToWxColour(kColours[t % 8]), 1));
    dc.DrawLines(int(lines[t].size()), lines[t].data());
  }
  return Seconds(std::chrono::steady_clock::now() - start);
}

// The lines written straight into the pixels, a raster opened for each trace, as the paint does.
void WriteLines(wxDC& dc, const std::vector<STraceGeometry>& geometries, const RECT& clip)
{
  for (const STraceGeometry& geometry : geometries) {
    CTraceRaster raster(dc);
    raster.DrawRuns(geometry.points, geometry.runStarts, geometry.colour, clip);
  }
}

// The same lines written into the pixels of a bitmap of the plot's size.
double RasterOnce(wxBitmap& bitmap, const std::vector<STraceGeometry>& geometries, const RECT& clip)
{
  wxMemoryDC dc(bitmap);
  if (wxGraphicsContext* gc = dc.GetGraphicsContext())
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
  const auto start = std::chrono::steady_clock::now();
  WriteLines(dc, geometries, clip);
  return Seconds(std::chrono::steady_clock::now() - start);
}

// The least a paint of the picture must do, the paint's own way, on a bitmap of the plot's size:
// clear it to the background (one fill, the plot area filled once more only where its colour
// differs), write the same drawn lines into its pixels, and copy it to the window once. Frame,
// grid and labels are left out: they are the same from paint to paint while limits, size and
// settings stay, so a paint need not draw them again (their pixels still have to be put back,
// which the clear stands for at its cheapest, a fill rather than a copy). The paint's memory DC
// on the bitmap is counted, since the copy to the window needs it closed.
double PictureFloorOnce(wxBitmap& bitmap, wxDC& window, const CZSpectrumWnd& plot,
                        const std::vector<STraceGeometry>& geometries, const RECT& clip)
{
  const auto start = std::chrono::steady_clock::now();
  {
    wxMemoryDC dc(bitmap);
    if (wxGraphicsContext* gc = dc.GetGraphicsContext())
      gc->SetAntialiasMode(wxANTIALIAS_NONE);
    dc.SetBackground(wxBrush(ToWxColour(plot.CZSpectrumPlot::GetBackgroundColour())));
    dc.Clear();
    if (plot.GetPlotColour() != plot.CZSpectrumPlot::GetBackgroundColour()) {
      const RECT& r = plot.GetPlotRect();
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(ToWxColour(plot.GetPlotColour())));
      dc.DrawRectangle(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    WriteLines(dc, geometries, clip);
  }
  window.DrawBitmap(bitmap, 0, 0);
  return Seconds(std::chrono::steady_clock::now() - start);
}

// The best of a few rounds.
double DrawLinesFloor(const Polylines& lines, int rounds)
{
  wxBitmap bitmap(RectWidth(kArea), RectHeight(kArea), 24);
  double best = 1e9;
  for (int round = 0; round < rounds; ++round)
    best = std::min(best, DrawLinesOnce(bitmap, lines));
  return best;
}

struct SLoadRun {
  std::unique_ptr<PaintLoad> load;
  std::vector<STraceGeometry> geometries;
  RECT clip{};
  Polylines drawn;
  size_t allPoints = 0, drawnPoints = 0;
  double allFloor = 0;
  double paint = 0, drawnFloor = 0, rasterFloor = 0, pictureFloor = 0; // medians of the last benchmark run
  double cursorMove = 0, blit = 0;                                     // the same
  // Medians of each step's ratio to its baseline, and the ratios of the means (a stopped step and all).
  double paintRatio = 0, rasterRatio = 0, pictureRatio = 0, moveRatio = 0;
  double paintMeans = 0, rasterMeans = 0, pictureMeans = 0, moveMeans = 0;
  double wheelStep = 0, wheelStepMax = 0;
};

std::map<std::string, SLoadRun>& Runs()
{
  static std::map<std::string, SLoadRun> runs;
  return runs;
}

// The load and its floors are made once; the benchmark library calls the function several times.
SLoadRun& Prepare(const char* name, std::unique_ptr<PaintLoad> (*make)())
{
  SLoadRun& run = Runs()[name];
  if (run.load)
    return run;
  run.load = make();
  wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
  {
    wxMemoryDC dc(screen);
    run.load->plot->Draw(dc, &kArea);
  }
  const Polylines all = AllPoints(*run.load);
  run.geometries = DrawnGeometry(*run.load);
  run.clip = run.load->plot->GetTraceClipRect();
  run.drawn = DrawnPoints(run.geometries);
  for (const auto& line : all)
    run.allPoints += line.size();
  for (const auto& line : run.drawn)
    run.drawnPoints += line.size();
  run.allFloor = DrawLinesFloor(all, run.allPoints > 100000 ? 2 : 10);
  return run;
}

void PaintAgainstFloors(benchmark::State& state, const char* name, std::unique_ptr<PaintLoad> (*make)())
{
  SLoadRun& run = Prepare(name, make);
  wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
  wxBitmap floorBitmap(RectWidth(kArea), RectHeight(kArea), 24);
  std::vector<double> paints, floors, rasters, pictures;
  for (auto _ : state) {
    {
      wxMemoryDC dc(screen);
      const auto start = std::chrono::steady_clock::now();
      run.load->plot->Draw(dc, &kArea);
      paints.push_back(Seconds(std::chrono::steady_clock::now() - start));
    }
    floors.push_back(DrawLinesOnce(floorBitmap, run.drawn));
    rasters.push_back(RasterOnce(floorBitmap, run.geometries, run.clip));
    wxMemoryDC window(screen);
    pictures.push_back(PictureFloorOnce(floorBitmap, window, *run.load->plot, run.geometries, run.clip));
  }
  run.paint = Median(paints);
  run.drawnFloor = Median(floors);
  run.rasterFloor = Median(rasters);
  run.pictureFloor = Median(pictures);
  run.paintRatio = MedianRatio(paints, floors);
  run.rasterRatio = MedianRatio(paints, rasters);
  run.pictureRatio = MedianRatio(paints, pictures);
  run.paintMeans = Mean(paints) / Mean(floors);
  run.rasterMeans = Mean(paints) / Mean(rasters);
  run.pictureMeans = Mean(paints) / Mean(pictures);
  state.counters["paint_ms"] = run.paint * 1e3;
  state.counters["all_points_ratio"] = run.paint / run.allFloor;
  state.counters["drawn_points_ratio"] = run.paintRatio;
  state.counters["raster_ratio"] = run.rasterRatio;
  state.counters["picture_ratio"] = run.pictureRatio;
}

// The cursor walks along the data, one pixel column at a time, as a drag with the button down.
// Each move's timing covers what the window does for it: the move itself, which works out where
// the overlay was and where it now is, and the repaint of exactly those strips and boxes (the
// region the window invalidates, which is all its paint draws). The baseline stays a plain copy
// of the whole window's picture, the least a repaint of everything would cost.
void CursorMoveAgainstBlit(benchmark::State& state, const char* name, std::unique_ptr<PaintLoad> (*make)())
{
  SLoadRun& run = Prepare(name, make);
  CZSpectrumWnd& plot = *run.load->plot;
  wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
  const RECT plotRect = plot.GetInnerPlotRect();
  const int row = (plotRect.top + plotRect.bottom) / 2;
  plot.LButtonDown(MK_LBUTTON, POINT{plotRect.left, row});
  std::vector<double> moves, blits;
  int column = plotRect.left;
  for (auto _ : state) {
    wxMemoryDC dc(screen);
    column = column + 1 < plotRect.right ? column + 1 : plotRect.left;
    const auto start = std::chrono::steady_clock::now();
    plot.MouseMove(MK_LBUTTON, POINT{column, row});
    plot.RepaintOverlay(dc); // the region this move dirtied, as the window's paint would
    const auto middle = std::chrono::steady_clock::now();
    dc.DrawBitmap(plot.GetPlotBitmap(), 0, 0);
    blits.push_back(Seconds(std::chrono::steady_clock::now() - middle));
    moves.push_back(Seconds(middle - start));
  }
  plot.LButtonUp(0, POINT{column, row});
  plot.SetCursorIndex(-1);
  run.cursorMove = Median(moves);
  run.blit = Median(blits);
  run.moveRatio = MedianRatio(moves, blits);
  run.moveMeans = Mean(moves) / Mean(blits);
  state.counters["move_ms"] = run.cursorMove * 1e3;
  state.counters["blit_ratio"] = run.moveRatio;
}

// Ctrl+wheel forward four steps, then back out four, each with the paint it asks for.
void WheelSteps(benchmark::State& state, const char* name, std::unique_ptr<PaintLoad> (*make)())
{
  SLoadRun& run = Prepare(name, make);
  CZSpectrumWnd& plot = *run.load->plot;
  wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
  double total = 0, worst = 0;
  int64_t steps = 0;
  for (auto _ : state) {
    for (int k = 0; k < 8; ++k) {
      wxMemoryDC dc(screen);
      const auto start = std::chrono::steady_clock::now();
      plot.MouseWheel(MK_CONTROL, k < 4 ? 120 : -120);
      plot.Draw(dc, &kArea);
      const double step = Seconds(std::chrono::steady_clock::now() - start);
      total += step;
      worst = std::max(worst, step);
      ++steps;
    }
  }
  plot.SetXMinAuto(true);
  plot.SetXMaxAuto(true);
  run.wheelStep = total / double(std::max<int64_t>(steps, 1));
  run.wheelStepMax = worst;
  state.counters["step_ms"] = run.wheelStep * 1e3;
}

// A paint that follows a change of its data or limits has to read, at least once, every point of
// the X window it shows: the automatic Y limits come from them. This is that pass at its cheapest,
// over plain copies of x and y: the lowest and highest y of the points inside [xMin, xMax].
struct SPointCopy {
  std::vector<float> xs, ys;
};

double ReadPassOnce(const std::vector<SPointCopy>& copies, float xMin, float xMax)
{
  const auto start = std::chrono::steady_clock::now();
  float lo = INFINITY, hi = -INFINITY;
  for (const SPointCopy& copy : copies) {
    const size_t first = size_t(std::lower_bound(copy.xs.begin(), copy.xs.end(), xMin) - copy.xs.begin());
    const size_t last = size_t(std::upper_bound(copy.xs.begin(), copy.xs.end(), xMax) - copy.xs.begin());
    for (size_t i = first; i < last; ++i) {
      lo = std::min(lo, copy.ys[i]);
      hi = std::max(hi, copy.ys[i]);
    }
  }
  benchmark::DoNotOptimize(lo);
  benchmark::DoNotOptimize(hi);
  return Seconds(std::chrono::steady_clock::now() - start);
}

std::vector<SPointCopy> CopyPoints(const PaintLoad& load)
{
  std::vector<SPointCopy> copies;
  for (const auto& trace : load.traces) {
    SPointCopy copy;
    for (int i = trace->GetFirstIndex(); i <= trace->GetLastIndex(); ++i) {
      copy.xs.push_back(trace->GetX(i));
      copy.ys.push_back(trace->GetY(i));
    }
    copies.push_back(std::move(copy));
  }
  return copies;
}

struct SChangeRun {
  double paint = 0, floor = 0, ratio = 0, means = 0, unchanged = 0;
  size_t readPoints = 0;
};

std::map<std::string, SChangeRun>& ChangeRuns()
{
  static std::map<std::string, SChangeRun> runs;
  return runs;
}

// Loads of their own, whose data and limits these benchmarks change; gone before the toolkit is.
std::map<std::string, std::unique_ptr<PaintLoad>>& ChangeLoads()
{
  static std::map<std::string, std::unique_ptr<PaintLoad>> loads;
  return loads;
}

// Paints after a change, each timed next to its floor: one pass over the points the paint must
// read (ReadPassOnce) and the picture's floor (PictureFloorOnce) with the lines this paint drew.
// change makes the change and gives the X window whose points the paint must read.
template <typename Change>
void PaintAfterChange(benchmark::State& state, const char* name, PaintLoad& load, Change change)
{
  CZSpectrumWnd& plot = *load.plot;
  wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
  wxBitmap floorBitmap(RectWidth(kArea), RectHeight(kArea), 24);
  std::vector<SPointCopy> copies = CopyPoints(load);
  std::vector<double> paints, floors, unchanged;
  size_t readPoints = 0;
  for (auto _ : state) {
    float xMin = 0, xMax = 0;
    change(copies, xMin, xMax);
    {
      wxMemoryDC dc(screen);
      const auto start = std::chrono::steady_clock::now();
      plot.Draw(dc, &kArea);
      paints.push_back(Seconds(std::chrono::steady_clock::now() - start));
    }
    {
      // The same paint once more with nothing changed, for the figure the change costs on top.
      wxMemoryDC dc(screen);
      const auto start = std::chrono::steady_clock::now();
      plot.Draw(dc, &kArea);
      unchanged.push_back(Seconds(std::chrono::steady_clock::now() - start));
    }
    state.PauseTiming();
    const std::vector<STraceGeometry> geometries = DrawnGeometry(load);
    const RECT clip = plot.GetTraceClipRect();
    state.ResumeTiming();
    double floor = ReadPassOnce(copies, xMin, xMax);
    wxMemoryDC window(screen);
    floor += PictureFloorOnce(floorBitmap, window, plot, geometries, clip);
    floors.push_back(floor);
    readPoints = 0;
    for (const SPointCopy& copy : copies)
      readPoints += size_t(std::upper_bound(copy.xs.begin(), copy.xs.end(), xMax) -
                           std::lower_bound(copy.xs.begin(), copy.xs.end(), xMin));
  }
  SChangeRun& run = ChangeRuns()[name];
  run.paint = Median(paints);
  run.floor = Median(floors);
  run.unchanged = Median(unchanged);
  run.ratio = MedianRatio(paints, floors);
  run.means = Mean(paints) / Mean(floors);
  run.readPoints = readPoints;
  state.counters["paint_ms"] = run.paint * 1e3;
  state.counters["floor_ratio"] = run.ratio;
}

// The program's live plot at a timer tick: one sample more on each of its 8 traces, the newest
// 1,200 s in the window.
void BM_PaintAfterLiveTick(benchmark::State& state)
{
  std::unique_ptr<PaintLoad>& load = ChangeLoads()["live tick"];
  if (!load) {
    load = LiveTraces();
    wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
    wxMemoryDC dc(screen);
    load->plot->Draw(dc, &kArea);
  }
  std::mt19937 random(11);
  std::normal_distribution<float> step(0.0f, 1.0f);
  PaintAfterChange(state, "live tick, 8 traces x 2,400 points", *load,
                   [&](std::vector<SPointCopy>& copies, float& xMin, float& xMax) {
                     for (size_t t = 0; t < load->traces.size(); ++t) {
                       SPointCopy& copy = copies[t];
                       const float x = copy.xs.back() + 0.5f, y = copy.ys.back() + step(random);
                       load->traces[t]->AddPoint(x, y);
                       copy.xs.push_back(x);
                       copy.ys.push_back(y);
                     }
                     xMax = copies.front().xs.back();
                     xMin = xMax - 1200.0f;
                   });
}

// New fixed X limits over the million points (as the X page or a zoom sets them), never the same
// twice, with the Y limits automatic.
void BM_PaintAfterLimitChangeMillionPoints(benchmark::State& state)
{
  std::unique_ptr<PaintLoad>& load = ChangeLoads()["limit change"];
  if (!load) {
    load = MillionPoints();
    wxBitmap screen(RectWidth(kArea), RectHeight(kArea), 24);
    wxMemoryDC dc(screen);
    load->plot->Draw(dc, &kArea);
  }
  int step = 0;
  PaintAfterChange(state, "limit change, 1,000,000 points", *load,
                   [&](std::vector<SPointCopy>&, float& xMin, float& xMax) {
                     ++step;
                     xMin = 100.0f + 0.013f * float(step % 5000);
                     xMax = 900.0f - 0.011f * float(step % 5000);
                     load->plot->SetXMin(xMin);
                     load->plot->SetXMax(xMax);
                   });
}

void PrintRatios()
{
  for (const auto& [name, run] : ChangeRuns())
    std::printf("\nPaint after a %s: %.3f ms (the unchanged repaint after it %.3f ms, %.1fx);\n"
                "  against one pass over the %zu points of the window plus the picture's floor, %.3f ms:\n"
                "  ratio %.2f (of the means %.2f)\n",
                name.c_str(), run.paint * 1e3, run.unchanged * 1e3,
                run.paint / std::max(run.unchanged, 1e-12), run.readPoints, run.floor * 1e3, run.ratio,
                run.means);
  std::printf(
      "\nPaint into the bitmap against one DrawLines call per polyline on the same bitmap, against\n"
      "the same lines written into its pixels, and against the least any paint of the picture does.\n"
      "Times are medians of steps timed one by one; the floors of the drawn points are timed next to\n"
      "each paint, the blit next to each cursor move, and their ratios are medians of each pair's:\n");
  for (const auto& [name, run] : Runs()) {
    if (!run.load)
      continue;
    std::printf("%s: paint %.3f ms\n", name.c_str(), run.paint * 1e3);
    std::printf("  DrawLines of all %zu points: %.3f ms, ratio %.3f\n", run.allPoints, run.allFloor * 1e3,
                run.paint / run.allFloor);
    std::printf("  DrawLines of the %zu points drawn: %.3f ms, ratio %.2f (of the means %.2f)\n",
                run.drawnPoints, run.drawnFloor * 1e3, run.paintRatio, run.paintMeans);
    std::printf("  the same lines written into the pixels (the paint's raster): %.3f ms, ratio %.2f (of the "
                "means %.2f)\n",
                run.rasterFloor * 1e3, run.rasterRatio, run.rasterMeans);
    std::printf(
        "  the picture's floor (clear, those lines, one copy to the window): %.3f ms, ratio %.2f (of the "
        "means %.2f)\n",
        run.pictureFloor * 1e3, run.pictureRatio, run.pictureMeans);
    if (run.blit > 0)
      std::printf("  cursor move (its strips from the picture + overlay): %.3f ms against a plain blit %.3f "
                  "ms, ratio %.2f (of the means %.2f)\n",
                  run.cursorMove * 1e3, run.blit * 1e3, run.moveRatio, run.moveMeans);
    if (run.wheelStep > 0)
      std::printf("  Ctrl+wheel step with its repaint: %.3f ms on average, %.3f ms at most\n",
                  run.wheelStep * 1e3, run.wheelStepMax * 1e3);
  }
}

void BM_PaintLiveTraces(benchmark::State& state)
{
  PaintAgainstFloors(state, "8 traces x 2,400 points", LiveTraces);
}
void BM_PaintMillionPoints(benchmark::State& state)
{
  PaintAgainstFloors(state, "1,000,000 points", MillionPoints);
}
void BM_CursorMoveLiveTraces(benchmark::State& state)
{
  CursorMoveAgainstBlit(state, "8 traces x 2,400 points", LiveTraces);
}
void BM_CursorMoveMillionPoints(benchmark::State& state)
{
  CursorMoveAgainstBlit(state, "1,000,000 points", MillionPoints);
}
void BM_WheelStepMillionPoints(benchmark::State& state)
{
  WheelSteps(state, "1,000,000 points", MillionPoints);
}
BENCHMARK(BM_PaintLiveTraces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintMillionPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMoveLiveTraces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMoveMillionPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelStepMillionPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintAfterLiveTick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintAfterLimitChangeMillionPoints)->Unit(benchmark::kMillisecond);

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
  PrintRatios();
  Runs().clear();
  ChangeRuns().clear();
  ChangeLoads().clear();
  benchmark::Shutdown();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
