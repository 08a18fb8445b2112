#include "CStringPrinting.h"
#include "PlotClipboardText.h"
#include "PlotTestSupport.h"

#include <CArchive.h>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {
using Bytes = std::vector<BYTE>;

Bytes StoreSettings(CZSpectrumPlot& plot)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  plot.SerializeSettings(ar);
  ar.Close();
  return file.Data();
}

void LoadSettings(CZSpectrumPlot& plot, const Bytes& bytes)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  plot.SerializeSettings(ar);
}

Bytes StoreTraces(CZSpectrumPlot& plot)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  plot.SerializeTraces(ar);
  ar.Close();
  return file.Data();
}

void LoadTraces(CZSpectrumPlot& plot, const Bytes& bytes)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  plot.SerializeTraces(ar);
}

std::vector<CString> Names(const CZSpectrumPlot& plot)
{
  std::vector<CString> names;
  for (CSpectrumData* trace : ListOf(plot))
    names.push_back(trace->GetName());
  return names;
}

// Offsets in a record with empty labels: version, colour, then one byte per switch (fields 3-42).
size_t SwitchOffset(int field)
{
  return 8 + size_t(field - 3);
}

void SetUpSettings(CZSpectrumPlot& plot)
{
  plot.SetColours(RGB(1, 2, 3), 0);
  plot.SetShowXGrid(true);
  plot.SetXMin(-4);
  plot.SetYMax(9.5f);
  plot.AllowMasking(false);
  plot.SetLimitsFromAllTraces(false);
  plot.SetXMaxFloor(30, true);
  plot.SetScaleOverlapped(true, 550);
}
} // namespace

TEST(CZSpectrumPlotArchive, SettingsRoundTripAndLimitsThatAreNotFixedComeBackAsZero)
{
  CZSpectrumPlot plot;
  SetUpSettings(plot);
  auto a = MakeTrace(L"A", {0, 10}, {2, 3});
  plot.AddTrace(a.get(), false, false); // sets the automatic Y min and X max
  const Bytes stored = StoreSettings(plot);
  ASSERT_EQ(stored.size(), 94u);
  EXPECT_EQ(stored[0], 4);
  EXPECT_EQ(stored[4], 1);                // the background colour, red in the low byte
  EXPECT_EQ(stored[SwitchOffset(22)], 1); // show Y grid
  EXPECT_EQ(stored[SwitchOffset(23)], 1); // the fourth reserved switch is on from the start

  CZSpectrumPlot loaded;
  LoadSettings(loaded, stored);
  EXPECT_EQ(loaded.GetBackgroundColour(), RGB(1, 2, 3));
  EXPECT_EQ(loaded.GetXMin(), -4.0f);
  EXPECT_EQ(loaded.GetYMax(), 9.5f);
  EXPECT_FALSE(loaded.IsMaskingAllowed());
  EXPECT_EQ(plot.GetYMin(), 2.0f);
  EXPECT_EQ(loaded.GetYMin(), 0.0f);
  EXPECT_EQ(loaded.GetXMax(), 0.0f);

  // Every stored member is back: the loaded plot writes the same record, but for the limits
  // that were not fixed.
  Bytes again = StoreSettings(loaded);
  CZSpectrumPlot unfixed;
  SetUpSettings(unfixed);
  EXPECT_EQ(again, StoreSettings(unfixed));
}

TEST(CZSpectrumPlotArchive, OlderVersionsLackFieldsAndKeepThoseMembers)
{
  CZSpectrumPlot source;
  SetUpSettings(source); // masking not allowed, limits from the active trace only
  for (int version = 1; version <= 3; ++version) {
    Bytes old = StoreSettings(source);
    old.resize(old.size() - 10); // fields 52 to 55
    if (version < 3)
      old.erase(old.begin() + long(SwitchOffset(19)));
    if (version < 2)
      old.erase(old.begin() + long(SwitchOffset(7)));
    old[0] = BYTE(version);

    CZSpectrumPlot loaded;
    LoadSettings(loaded, old);
    EXPECT_EQ(loaded.IsMaskingAllowed(), version < 2) << version;
    EXPECT_EQ(loaded.GetXMin(), -4.0f) << version;
    EXPECT_EQ(loaded.GetYMax(), 9.5f) << version;
    const Bytes back = StoreSettings(loaded);
    EXPECT_EQ(back[SwitchOffset(19)], version < 3 ? 1 : 0) << version; // limits from all traces
    EXPECT_EQ(back[SwitchOffset(20)], 1) << version;                   // show X grid, wherever it was
    SYAxisPageValues y;
    SXAxisPageValues x;
    loaded.GetAxisPageValues(x, y);
    EXPECT_FALSE(y.m_scaleOverlapped) << version;
  }

  // An unknown version reads nothing more but still clears the limits that are not fixed.
  CZSpectrumPlot other;
  auto a = MakeTrace(L"A", {0, 10}, {2, 3});
  other.AddTrace(a.get(), false, false);
  LoadSettings(other, {9, 0, 0, 0});
  EXPECT_EQ(other.GetYMin(), 0.0f);
}

TEST(CZSpectrumPlotArchive, LimitsThatAreNoNumbersAreNotTaken)
{
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  CZSpectrumPlot source;
  source.SetXMin(nan);
  source.SetYMax(inf);
  source.SetYMin(1);
  source.SetXMaxFloor(inf, true);
  source.SetYMinCeiling(-inf, true);
  CZSpectrumPlot loaded;
  LoadSettings(loaded, StoreSettings(source));
  EXPECT_FALSE(loaded.IsXMinFixed() || loaded.IsYMaxFixed());
  EXPECT_EQ(loaded.GetXMin(), 0.0f);
  EXPECT_TRUE(loaded.IsYMinFixed());

  // The automatic limits stand in for them, and neither bound pushes them out to infinity.
  auto a = MakeTrace(L"A", {2, 10}, {2, 3});
  loaded.AddTrace(a.get(), false, false);
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  loaded.CalcLimits(x0, x1, y0, y1);
  EXPECT_EQ(x0, 2.0f);
  EXPECT_EQ(x1, 10.0f);
  EXPECT_EQ(y0, 1.0f);
  EXPECT_EQ(y1, 3.0f);
}

TEST(CZSpectrumPlotArchive, LimitsInTheWrongOrderAreNotTaken)
{
  // X min 9 over X max 3, and an empty Y range: both axes are automatic again, and the paint
  // draws the trace. One fixed limit alone is kept.
  CZSpectrumPlot source;
  source.SetXMin(9);
  source.SetXMax(3);
  source.SetYMin(5);
  source.SetYMax(5);
  CZSpectrumPlot loaded;
  LoadSettings(loaded, StoreSettings(source));
  EXPECT_FALSE(loaded.IsXMinFixed() || loaded.IsXMaxFixed() || loaded.IsYMinFixed() || loaded.IsYMaxFixed());
  auto a = MakeTrace(L"A", {0, 10}, {2, 3});
  loaded.AddTrace(a.get(), false, false);
  FixedMeasure measure;
  ASSERT_TRUE(loaded.PrepareFrame(measure, MakeRect(0, 0, 400, 300), nullptr));
  EXPECT_EQ(loaded.GetDrawnXMin(), 0.0f);
  EXPECT_EQ(loaded.GetDrawnXMax(), 10.0f);
  EXPECT_TRUE(loaded.ShouldDrawTraces());

  source.SetXMaxAuto(true);
  LoadSettings(loaded, StoreSettings(source));
  EXPECT_TRUE(loaded.IsXMinFixed());
  EXPECT_EQ(loaded.GetXMin(), 9.0f);
}

TEST(CZSpectrumPlotArchive, AnyNonZeroSwitchByteIsTrueAndADamagedRecordChangesNothing)
{
  CZSpectrumPlot source;
  SetUpSettings(source);
  Bytes stored = StoreSettings(source);
  stored[SwitchOffset(3)] = 2; // auto-scale all
  CZSpectrumPlot loaded;
  LoadSettings(loaded, stored);
  EXPECT_EQ(StoreSettings(loaded)[SwitchOffset(3)], 1);

  CZSpectrumPlot target;
  target.SetXLabel(L"untouched");
  const Bytes before = StoreSettings(target);
  for (size_t cut = 0; cut < stored.size(); ++cut) {
    const Bytes shorter(stored.begin(), stored.begin() + long(cut));
    EXPECT_THROW(LoadSettings(target, shorter), CArchiveException) << cut;
    ASSERT_EQ(StoreSettings(target), before) << cut;
  }
}

TEST(CZSpectrumPlotArchive, TracesStoreTheOwnedCopiesAndLoadReplacesEveryTrace)
{
  CZSpectrumPlot plot;
  auto live = MakeTrace(L"Live", {0, 1, 2}, {4, 5, 6});
  plot.AddTrace(live.get(), false, false);
  plot.HoldActiveTrace();
  ASSERT_TRUE(PasteTextAsTrace(plot, L"1\t2\n2\t3\n"));
  const Bytes stored = StoreTraces(plot);
  ASSERT_GT(stored.size(), 8u);
  EXPECT_EQ(stored[0], 1);
  EXPECT_EQ(stored[4], 2); // the caller's own trace is not written

  CZSpectrumPlot loaded;
  auto other = MakeTrace(L"Other", {0, 1}, {0, 1});
  loaded.AddTrace(other.get(), false, false);
  LoadTraces(loaded, stored);
  LoadTraces(loaded, stored);
  EXPECT_EQ(Names(loaded), (std::vector<CString>{L"Hold", L"Paste: 1"}));
  EXPECT_TRUE(loaded.IsHoldPresent());
  EXPECT_EQ(loaded.GetActiveTrace()->GetY(2), 6.0f);
  EXPECT_TRUE(loaded.IsOwnedCopy(loaded.GetActiveTrace()));

  // A later record replaces an earlier one of its name, as each add replaces by name.
  CZSpectrumPlot twice;
  auto first = MakeTrace(L"A", {0, 1}, {1, 1});
  auto b = MakeTrace(L"B", {0, 1}, {2, 2});
  auto second = MakeTrace(L"A", {0, 1}, {3, 3});
  for (CSpectrumData* data : {first.get(), b.get(), second.get()})
    twice.AddTrace(data, false, true);
  LoadTraces(loaded, StoreTraces(twice));
  EXPECT_EQ(Names(loaded), (std::vector<CString>{L"B", L"A"}));
  EXPECT_EQ(ListOf(loaded)[1]->GetY(0), 3.0f);
  // Once loaded, a trace renamed in place is still found by its new name.
  ListOf(loaded)[0]->SetName(L"C");
  auto c = MakeTrace(L"C", {0, 1}, {4, 4});
  loaded.AddTrace(c.get(), true, false);
  EXPECT_EQ(Names(loaded), (std::vector<CString>{L"A", L"C"}));

  // A wrong version leaves the plot without traces.
  LoadTraces(loaded, {2, 0, 0, 0});
  EXPECT_EQ(loaded.GetTraceCount(), 0);
}

TEST(CZSpectrumPlotArchive, ADamagedTracesRecordThrowsAndLeavesTheTraces)
{
  CZSpectrumPlot plot;
  auto live = MakeTrace(L"Live", {0, 1, 2}, {4, 5, 6});
  plot.AddTrace(live.get(), false, true);
  plot.HoldActiveTrace();
  const Bytes stored = StoreTraces(plot);

  CZSpectrumPlot target;
  auto mine = MakeTrace(L"Mine", {0, 1}, {0, 1});
  target.AddTrace(mine.get(), false, false);
  for (size_t cut = 0; cut < stored.size(); cut += 7) {
    const Bytes shorter(stored.begin(), stored.begin() + long(cut));
    EXPECT_THROW(LoadTraces(target, shorter), CArchiveException) << cut;
    ASSERT_EQ(ListOf(target), std::vector<CSpectrumData*>{mine.get()}) << cut;
  }
  // A count far beyond what the stream holds, or below zero, is found before anything is read.
  for (int count : {0x7FFFFFFF, -1}) {
    Bytes lying = stored;
    std::memcpy(&lying[4], &count, 4);
    EXPECT_THROW(LoadTraces(target, lying), CArchiveException);
  }
  EXPECT_EQ(target.GetTraceCount(), 1);
  EXPECT_FALSE(target.IsHoldPresent());
}
