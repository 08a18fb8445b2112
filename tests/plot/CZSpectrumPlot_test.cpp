#include "PlotTestSupport.h"

#include <gtest/gtest.h>

namespace {
const SNotification kTracesChanged{WM_SPECTRUM_TRACES_CHANGED, 0, 0, false};
}

TEST(CZSpectrumPlotTraces, AddTraceAppendsKeepsTheFirstActiveAndNamesUnnamedSets)
{
  CZSpectrumPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  auto a = MakeTrace(L"A", {0, 1}, {0, 1});
  auto unnamed = MakeTrace(L"", {0, 1}, {2, 3});

  EXPECT_EQ(plot.AddTrace(nullptr, false, false), 0);
  EXPECT_EQ(plot.AddTrace(a.get(), false, false), 1);
  EXPECT_EQ(plot.AddTrace(unnamed.get(), false, true), 2);

  // The caller's own data set is renamed, also when a copy is kept.
  EXPECT_EQ(unnamed->GetName(), L"no name");
  std::vector<CSpectrumData*> list = ListOf(plot);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], a.get());
  EXPECT_NE(list[1], unnamed.get());
  EXPECT_EQ(list[1]->GetName(), L"no name");
  EXPECT_TRUE(plot.IsOwnedCopy(list[1]));
  EXPECT_FALSE(plot.IsOwnedCopy(a.get()));
  EXPECT_EQ(plot.GetActiveTrace(), a.get());
  EXPECT_EQ(sink.seen, (std::vector<SNotification>{kTracesChanged, kTracesChanged}));
}

TEST(CZSpectrumPlotTraces, RemovalRulesForHoldAndAll)
{
  CZSpectrumPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  auto a = MakeTrace(L"A", {0, 1}, {0, 1});
  auto hold = MakeTrace(L"Hold", {0, 1}, {0, 1});
  auto b = MakeTrace(L"B", {0, 1}, {0, 1});
  auto hold2 = MakeTrace(L"Hold", {0, 1}, {0, 1});
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(hold.get(), false, true);
  plot.AddTrace(b.get(), false, false);
  plot.AddTrace(hold2.get(), false, false);
  sink.seen.clear();

  // "all" keeping hold traces: every trace is matched (one notification each), the holds stay.
  plot.RemoveAllTraces(true);
  EXPECT_EQ(sink.seen, std::vector<SNotification>(4, kTracesChanged));
  std::vector<CSpectrumData*> list = ListOf(plot);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->GetName(), L"Hold");
  EXPECT_EQ(list[1], hold2.get());

  // A name other than "Hold" never removes a hold trace; a trace of another name is passed over.
  sink.seen.clear();
  plot.RemoveTrace(L"B", true);
  EXPECT_TRUE(sink.seen.empty());
  EXPECT_EQ(plot.GetTraceCount(), 2);

  // The name "Hold" removes hold traces whatever keepHold says, and names compare exactly.
  plot.RemoveTrace(L"hold", false);
  EXPECT_EQ(plot.GetTraceCount(), 2);
  plot.RemoveTrace(L"Hold", true);
  EXPECT_EQ(plot.GetTraceCount(), 0);
  EXPECT_EQ(sink.Count(WM_SPECTRUM_TRACES_CHANGED), 2);

  // "all" without keepHold removes them too.
  plot.AddTrace(hold.get(), false, false);
  plot.AddTrace(a.get(), false, false);
  plot.RemoveAllTraces(false);
  EXPECT_EQ(plot.GetTraceCount(), 0);
  // The caller's data sets were never deleted (ASan would report a use after free here).
  EXPECT_EQ(a->GetName(), L"A");
  EXPECT_EQ(hold2->GetName(), L"Hold");
}

TEST(CZSpectrumPlotTraces, ReplaceSameNameReplacesHoldTracesAndFreesOwnedCopies)
{
  CZSpectrumPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  auto hold = MakeTrace(L"Hold", {0, 1}, {0, 1});
  auto live = MakeTrace(L"Live", {0, 1}, {5, 6});
  plot.AddTrace(live.get(), false, false);
  plot.AddTrace(hold.get(), true, true);
  sink.seen.clear();
  plot.AddTrace(hold.get(), true, true);
  // One for the hold copy that was replaced (and freed: ASan watches), one for the new one.
  EXPECT_EQ(sink.seen, std::vector<SNotification>(2, kTracesChanged));
  std::vector<CSpectrumData*> list = ListOf(plot);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], live.get());
  EXPECT_TRUE(plot.IsOwnedCopy(list[1]));
  EXPECT_NE(list[1], hold.get());

  // A trace by pointer with replace-same-name moves to the tail; it is not duplicated.
  plot.AddTrace(live.get(), true, false);
  list = ListOf(plot);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1], live.get());
}

TEST(CZSpectrumPlotTraces, ReAddingAnOwnedCopyNeverDeletesIt)
{
  CZSpectrumPlot plot;
  auto source = MakeTrace(L"Cal", {0, 1, 2}, {1, 2, 3});
  plot.AddTrace(source.get(), true, true);
  CSpectrumData* copy = plot.FindTrace(L"Cal");
  ASSERT_NE(copy, source.get());

  // Handing the window its own copy back: replacing the same name must not free what is added.
  EXPECT_EQ(plot.AddTrace(copy, true, false), 1);
  EXPECT_EQ(plot.FindTrace(L"Cal"), copy);
  EXPECT_EQ(copy->GetIndexRange(), 3);

  // Listed twice by pointer, it is freed once, when its last node leaves.
  plot.AddTrace(copy, false, false);
  EXPECT_EQ(plot.GetTraceCount(), 2);
  plot.RemoveTrace(L"Cal", false);
  EXPECT_EQ(plot.GetTraceCount(), 0);
  EXPECT_FALSE(plot.IsOwnedCopy(copy));
}

TEST(CZSpectrumPlotTraces, RemovalsByPositionAndTypeDeleteOnlyOwnedCopies)
{
  CZSpectrumPlot plot;
  auto mine = MakeTrace(L"M", {0, 1}, {0, 1});
  mine->SetXPos(1.5f);
  mine->SetYPos(2.5f);
  mine->SetSpectrumType(L"scan");
  auto other = MakeTrace(L"O", {0, 1}, {0, 1});
  other->SetXPos(1.5f);
  other->SetYPos(2.5f);
  plot.AddTrace(mine.get(), false, true);
  plot.AddTrace(mine.get(), false, false);
  plot.AddTrace(other.get(), false, false);

  plot.RemoveTraces(L"scan", 1.5f, 2.5f);
  std::vector<CSpectrumData*> list = ListOf(plot);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], other.get());

  plot.RemoveTracesAt(1.5f, 2.4f);
  EXPECT_EQ(plot.GetTraceCount(), 1);
  plot.RemoveTracesAt(1.5f, 2.5f);
  EXPECT_EQ(plot.GetTraceCount(), 0);
  EXPECT_EQ(mine->GetName(), L"M");
  EXPECT_EQ(other->GetName(), L"O");
}

TEST(CZSpectrumPlotTraces, BringToFrontFindAndClear)
{
  CZSpectrumPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  auto a = MakeTrace(L"A", {0}, {0});
  auto b1 = MakeTrace(L"B", {0}, {0});
  auto c = MakeTrace(L"C", {0}, {0});
  auto b2 = MakeTrace(L"B", {0}, {0});
  for (CSpectrumData* d : {a.get(), b1.get(), c.get(), b2.get()})
    plot.AddTrace(d, false, false);
  sink.seen.clear();

  EXPECT_FALSE(plot.BringTraceToFront(L"Z"));
  EXPECT_EQ(ListOf(plot), (std::vector<CSpectrumData*>{a.get(), b1.get(), c.get(), b2.get()}));
  EXPECT_TRUE(plot.BringTraceToFront(L"B"));
  // In list order, so the last one found ends at the head.
  EXPECT_EQ(ListOf(plot), (std::vector<CSpectrumData*>{b2.get(), b1.get(), a.get(), c.get()}));
  EXPECT_TRUE(sink.seen.empty());

  EXPECT_EQ(plot.FindTrace(L""), b2.get());
  EXPECT_EQ(plot.FindTrace(L"C"), c.get());
  EXPECT_EQ(plot.FindTrace(L"c"), nullptr);

  plot.AddTrace(c.get(), false, true);
  sink.seen.clear();
  plot.ClearTraceList(true);
  EXPECT_EQ(plot.GetTraceCount(), 0);
  EXPECT_TRUE(sink.seen.empty());
  EXPECT_EQ(plot.FindTrace(L""), nullptr);
}

TEST(CZSpectrumPlotTraces, DestructionFreesOwnedCopiesOnly)
{
  auto caller = MakeTrace(L"A", {0, 1}, {0, 1});
  {
    CZSpectrumPlot plot;
    plot.AddTrace(caller.get(), false, true);
    plot.AddTrace(caller.get(), false, false);
  }
  EXPECT_EQ(caller->GetIndexRange(), 2);
}

TEST(CZSpectrumPlotSettings, LimitSettersPostOnlyWhereTheyShould)
{
  CZSpectrumPlot plot;
  // Without a parent nothing is posted and nothing breaks.
  plot.SetXMin(1);
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  plot.SetXMax(10);
  EXPECT_TRUE(sink.seen.empty());
  plot.SetXMin(2);
  plot.SetYMin(-1);
  plot.SetYMax(5);
  EXPECT_EQ(sink.seen, (std::vector<SNotification>{{WM_SPECTRUM_LIMITS_CHANGED, 0, 0, false},
                                                   {WM_SPECTRUM_LIMITS_CHANGED, 0, 1, false},
                                                   {WM_SPECTRUM_LIMITS_CHANGED, 0, 1, false}}));
  EXPECT_TRUE(plot.IsXMinFixed() && plot.IsXMaxFixed() && plot.IsYMinFixed() && plot.IsYMaxFixed());
  plot.SetXMaxAuto(true);
  EXPECT_FALSE(plot.IsXMaxFixed());

  plot.SetXSpan(1200);
  EXPECT_TRUE(plot.IsXSpanOn());
  plot.SetXSpan(0);
  EXPECT_FALSE(plot.IsXSpanOn());
  plot.SetXSpan(-5);
  EXPECT_FALSE(plot.IsXSpanOn());

  plot.SetFontSize(0);
  EXPECT_EQ(plot.GetFontSize(), 12);
  plot.SetFontSize(3);
  EXPECT_EQ(plot.GetFontSize(), 6);
  plot.SetFontSize(11);
  EXPECT_EQ(plot.GetFontSize(), 11);
  EXPECT_TRUE(plot.AllowCut(true));
  EXPECT_FALSE(plot.AllowCut(false));
}

TEST(CZSpectrumPlotSettings, HasDataAndActiveArrayIndex)
{
  CZSpectrumPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  EXPECT_TRUE(plot.HasData()); // the Y title is shown at construction
  plot.SetShowYTitle(false);
  EXPECT_FALSE(plot.HasData());
  plot.SetActiveArrayIndex(1);
  EXPECT_TRUE(sink.seen.empty());

  CSpectrumData layers(L"layers", 4, 3);
  plot.AddTrace(&layers, false, false);
  EXPECT_TRUE(plot.HasData());
  sink.seen.clear();
  plot.SetActiveArrayIndex(2);
  EXPECT_EQ(layers.GetArrayIndex(), 2);
  plot.SetActiveArrayIndex(2);
  plot.SetActiveArrayIndex(9); // clamped to 2: no change
  EXPECT_EQ(sink.seen, std::vector<SNotification>{kTracesChanged});
}

TEST(CZSpectrumPlotSettings, UpdateMarkerChangesEveryMarkerOfThatLabel)
{
  CZSpectrumPlot plot;
  SSpectrumMarker m;
  m.m_label = L"edge";
  plot.GetMarkerList().AddTail(m);
  m.m_label = L"other";
  plot.GetMarkerList().AddTail(m);
  m.m_label = L"edge";
  plot.GetMarkerList().AddTail(m);
  plot.UpdateMarker(L"edge", 3.5f, 0.25f, 0x0000FF, 1, 1, 7);
  int updated = 0;
  for (POSITION pos = plot.GetMarkerList().GetHeadPosition(); pos;) {
    const SSpectrumMarker& marker = plot.GetMarkerList().GetNext(pos);
    if (marker.m_label == L"edge") {
      EXPECT_EQ(marker.m_position, 3.5f);
      EXPECT_EQ(marker.m_colour, 0x0000FFu);
      EXPECT_EQ(marker.m_tag, 7);
      ++updated;
    } else {
      EXPECT_EQ(marker.m_position, 0.0f);
    }
  }
  EXPECT_EQ(updated, 2);
}
