// Lifetime, copies and the operations that change the sizes of a data set.
#include "CStringPrinting.h"
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <vector>

TEST(CSpectrumData, NewDataSetsHaveTheirSizesAndAtLeastOneTrace)
{
  CSpectrumData empty(L"Empty", 0, 0);
  EXPECT_EQ(empty.GetName(), CString(L"Empty"));
  EXPECT_EQ(empty.GetArraySize(), 1);
  EXPECT_EQ(empty.GetArrayIndexRange(), 1);
  EXPECT_EQ(empty.GetLastArrayIndex(), 0);
  EXPECT_EQ(empty.GetVectorSize(), 0);
  EXPECT_EQ(empty.GetLastIndex(), 0);
  EXPECT_EQ(empty.GetIndexRange(), 0);
  EXPECT_FALSE(empty.IsValid());
  EXPECT_EQ(empty.GetZ(0), 0.0f);
  EXPECT_EQ(empty.GetX(0), 0.0f);
  EXPECT_EQ(empty.GetY(0), 0.0f);
  EXPECT_EQ(empty.GetTotalArea(), 0.0f);
  EXPECT_EQ(empty.GetSerializeVersion(), 401);

  CSpectrumData grid(L"Grid", 5, 3);
  EXPECT_TRUE(grid.IsValid());
  EXPECT_EQ(grid.GetVectorSize(), 5);
  EXPECT_EQ(grid.GetLastIndex(), 4);
  EXPECT_EQ(grid.GetIndexRange(), 5);
  EXPECT_EQ(grid.GetArraySize(), 3);
  EXPECT_EQ(grid.GetLastArrayIndex(), 2);
  EXPECT_EQ(grid.GetArrayIndexRange(), 3);
  EXPECT_EQ(grid.GetTraceLineWidth(), 1);
  EXPECT_EQ(grid.GetYScale(), 1.0f);
  EXPECT_EQ(grid.GetXLabelValueScaling(), 1.0f);
  EXPECT_EQ(grid.GetYLabelValueScaling(), 1.0f);
  EXPECT_EQ(grid.GetY(2, 4), 0.0f);

  // Negative sizes are no points and one trace, not a crash.
  CSpectrumData negative(L"", -4, -2);
  EXPECT_EQ(negative.GetVectorSize(), 0);
  EXPECT_EQ(negative.GetArraySize(), 1);
  EXPECT_EQ(CSpectrumData(static_cast<CSpectrumData*>(nullptr)).GetVectorSize(), 0);
}

TEST(CSpectrumData, CopiesAreDeepAndLeaveOutTheInfoText)
{
  CSpectrumData source(L"Source", 4, 2);
  FillGrid(source);
  source.SetXLabel(L"Time");
  source.SetYUnits(L"deg");
  source.SetSpectrumType(L"Trace");
  source.SetInfoText(L"not copied");
  source.SetTraceColour(RGB(1, 2, 3));
  source.SetTraceLineWidth(3);
  source.SetResolution(0.5f);
  source.EnableMask(true);
  source.Mask(2, true);
  source.SetArrayIndex(1);
  source.AddVerticalMarker(L"m", 1.5f, 0.1f, RGB(9, 9, 9), true);
  SSpectrumViewLimits view;
  view.m_user2 = 6;
  source.SetViewLimits(view);

  CSpectrumData copied(source);
  CSpectrumData fromPointer(&source);
  CSpectrumData assigned(L"Old", 9, 1);
  assigned.SetInfoText(L"kept");
  assigned = source;
  for (const CSpectrumData* copy : {&copied, &fromPointer, &assigned}) {
    EXPECT_EQ(copy->GetName(), CString(L"Source"));
    EXPECT_EQ(copy->GetXLabel(), CString(L"Time"));
    EXPECT_EQ(copy->GetYUnits(), CString(L"deg"));
    EXPECT_EQ(copy->GetSpectrumType(), CString(L"Trace"));
    EXPECT_EQ(copy->GetTraceColour(), RGB(1, 2, 3));
    EXPECT_EQ(copy->GetTraceLineWidth(), 3);
    EXPECT_EQ(copy->GetResolution(), 0.5f);
    EXPECT_TRUE(copy->MaskEnabled());
    EXPECT_TRUE(copy->IsMasked(2));
    EXPECT_EQ(copy->GetArrayIndex(), 1);
    EXPECT_EQ(copy->GetViewLimits().m_user2, 6);
    EXPECT_EQ(TraceValues(*copy, 1), (std::vector<float>{100, 101, 102, 103}));
    EXPECT_EQ(copy->GetZ(1), 10.0f);
    EXPECT_EQ(const_cast<CSpectrumData*>(copy)->GetVerticalMarkerList().GetCount(), 1);
  }
  EXPECT_EQ(copied.GetInfoText(), CString());
  EXPECT_EQ(assigned.GetInfoText(), CString(L"kept"));

  source.SetY(1, 0, -7.0f);
  source.ClearVerticalMarkers();
  EXPECT_EQ(copied.GetY(1, 0), 100.0f);
  EXPECT_EQ(assigned.GetVerticalMarkerList().GetCount(), 1);
}

TEST(CSpectrumData, SelfAssignmentKeepsTheData)
{
  CSpectrumData data(L"Self", 3, 2);
  FillGrid(data);
  data.InitPeakArray(2);
  CSpectrumDataLayout::Peak(data, 1, 1).m_intensity = 5;
  data.AddVerticalMarker(L"m", 1, 1, 0, true);
  CSpectrumDataLayout::StringList(data).AddTail(L"kept");
  CSpectrumData& same = data;
  data = same;
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{100, 101, 102}));
  EXPECT_EQ(data.GetName(), CString(L"Self"));
  EXPECT_EQ(data.GetPeakIntensity(1, 1), 5.0f);
  EXPECT_EQ(data.GetVerticalMarkerList().GetCount(), 1);
  EXPECT_EQ(CSpectrumDataLayout::StringList(data).GetCount(), 1);
  EXPECT_NE(CSpectrumDataLayout::Region(data), nullptr);
  data.CopyArray(same);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1, 2}));
}

TEST(CSpectrumData, CopyArrayTakesTheSourceSizesAndOnlyTheNumbers)
{
  CSpectrumData source(L"Source", 10, 2);
  FillGrid(source);
  source.SetXLabel(L"Time");
  source.SetLastIndex(6);

  CSpectrumData target(L"Target", 0, 0);
  target.CopyArray(source);
  EXPECT_EQ(target.GetVectorSize(), 10);
  EXPECT_EQ(target.GetArraySize(), 2);
  EXPECT_EQ(target.GetLastIndex(), 6);
  EXPECT_TRUE(target.IsValid());
  EXPECT_EQ(TraceValues(target, 1), TraceValues(source, 1));
  EXPECT_EQ(target.GetX(6), 6.0f);
  EXPECT_EQ(target.GetZ(1), 10.0f);
  EXPECT_EQ(target.GetName(), CString(L"Target"));
  EXPECT_EQ(target.GetXLabel(), CString());

  // Same sizes: the values are copied into the arrays in place.
  CSpectrumData again(L"Again", 10, 2);
  again.CopyArray(source);
  EXPECT_EQ(again.GetY(1, 3), 103.0f);
}

namespace {
// Two peaks per trace: record k of trace t has the intensity 10 t + k + 1.
void FillPeaks(CSpectrumData& data)
{
  data.InitPeakArray(2);
  for (int t = 0; t < data.GetArraySize(); ++t)
    for (int k = 0; k < 2; ++k)
      CSpectrumDataLayout::Peak(data, t, k).m_intensity = float(10 * t + k + 1);
}
} // namespace

// The peak table keeps the traces both sizes share and starts the others empty. Shrinking first
// leaves stale records behind wherever a table is not cut to size.
TEST(CSpectrumData, ThePeakTableFollowsResizeAndCopyArray)
{
  CSpectrumData resized(L"R", 3, 3);
  FillPeaks(resized);
  resized.Resize(3, 1);
  resized.Resize(4, 3);
  EXPECT_EQ(resized.GetPeakIntensity(0, 1), 2.0f);
  EXPECT_EQ(resized.GetPeakIntensity(2, 1), 0.0f);
  EXPECT_EQ(resized.GetPeakIntensity(1, 0), 0.0f);

  CSpectrumData oneTrace(L"One", 2, 1);
  CSpectrumData threeTraces(L"Three", 2, 3);
  CSpectrumData copied(L"C", 3, 3);
  FillPeaks(copied);
  copied.CopyArray(threeTraces); // new points, the same traces: every trace keeps its peaks
  EXPECT_EQ(copied.GetPeakIntensity(2, 1), 22.0f);
  copied.CopyArray(oneTrace);
  copied.CopyArray(threeTraces);
  EXPECT_EQ(copied.GetPeakIntensity(0, 0), 1.0f);
  EXPECT_EQ(copied.GetPeakIntensity(1, 0), 0.0f);
  EXPECT_EQ(copied.GetPeakIntensity(2, 1), 0.0f);
}

TEST(CSpectrumData, AddPointGrowsEveryTraceBy128Points)
{
  CSpectrumData data;
  EXPECT_EQ(data.AddPoint(0.5f, 2.0f, 3), 1); // the trace argument is not read
  EXPECT_EQ(data.GetVectorSize(), 128);
  EXPECT_EQ(data.GetLastIndex(), 0);
  EXPECT_EQ(data.GetIndexRange(), 1);
  EXPECT_TRUE(data.IsValid());
  EXPECT_EQ(data.GetY(0, 0), 2.0f);
  for (int i = 1; i < 129; ++i)
    data.AddPoint(float(i), float(i * 2));
  EXPECT_EQ(data.GetVectorSize(), 256);
  EXPECT_EQ(data.GetIndexRange(), 129);
  EXPECT_EQ(data.GetX(127), 127.0f);
  EXPECT_EQ(data.GetY(128), 256.0f);

  // With several traces each one keeps its points at their indices after the growth.
  CSpectrumData traces(L"Traces", 3, 3);
  FillGrid(traces);
  traces.AddPoint(3.0f, 42.0f);
  EXPECT_EQ(traces.GetVectorSize(), 131);
  EXPECT_EQ(traces.GetLastIndex(), 3);
  EXPECT_EQ(traces.GetY(0, 3), 42.0f);
  for (int t = 1; t < 3; ++t) {
    EXPECT_EQ(traces.GetY(t, 1), 100.0f * float(t) + 1) << t;
    EXPECT_EQ(traces.GetY(t, 3), 0.0f) << t;
  }
}

TEST(CSpectrumData, ResizeKeepsTheOverlap)
{
  CSpectrumData data(L"R", 3, 1);
  FillGrid(data);
  data.SetLastIndex(1);
  data.Resize(5, 3);
  EXPECT_EQ(data.GetVectorSize(), 5);
  EXPECT_EQ(data.GetArraySize(), 3);
  EXPECT_EQ(data.GetLastIndex(), 4);
  EXPECT_EQ(data.GetLastArrayIndex(), 2);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1, 2, 0, 0}));
  EXPECT_EQ(TraceValues(data, 2), (std::vector<float>(5, 0.0f)));
  EXPECT_EQ(data.GetX(2), 2.0f);

  data.Resize(2, 0); // 0 traces keeps the number of traces
  EXPECT_EQ(data.GetArraySize(), 3);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1}));
  data.Resize(-1, 2);
  data.Resize(2, -1);
  EXPECT_EQ(data.GetVectorSize(), 2);
  EXPECT_EQ(data.GetArraySize(), 3);

  data.SetXLabel(L"kept");
  data.Resize(0, 4);
  EXPECT_EQ(data.GetVectorSize(), 0);
  EXPECT_EQ(data.GetArraySize(), 1);
  EXPECT_FALSE(data.IsValid());
  EXPECT_EQ(data.GetXLabel(), CString(L"kept"));
}

TEST(CSpectrumData, RemoveAllDataLeavesOneEmptyTrace)
{
  CSpectrumData data(L"Name", 4, 3);
  FillGrid(data);
  data.SetArrayIndex(2);
  data.AddVerticalMarker(L"m", 1, 1, 0, true);
  data.RemoveAllData();
  EXPECT_EQ(data.GetVectorSize(), 0);
  EXPECT_EQ(data.GetArraySize(), 1);
  EXPECT_EQ(data.GetArrayIndex(), 0);
  EXPECT_EQ(data.GetIndexRange(), 0);
  EXPECT_FALSE(data.IsValid());
  EXPECT_EQ(data.GetZ(0), 0.0f);
  EXPECT_EQ(data.GetName(), CString(L"Name"));
  EXPECT_EQ(data.GetVerticalMarkerList().GetCount(), 1);
  EXPECT_EQ(data.AddPoint(1, 2), 1);
  EXPECT_EQ(data.GetY(0), 2.0f);
}

TEST(CSpectrumData, CropToKeepsThePointsOfTheTraceWindow)
{
  CSpectrumData data(L"C", 10, 3);
  FillGrid(data);
  data.SetLastArrayIndex(1);
  data.CropTo(0, 9);
  data.CropTo(5, 2);
  data.CropTo(-1, 4);
  EXPECT_EQ(data.GetVectorSize(), 10);

  data.CropTo(2, 5);
  EXPECT_EQ(data.GetVectorSize(), 4);
  EXPECT_EQ(data.GetFirstIndex(), 0);
  EXPECT_EQ(data.GetLastIndex(), 3);
  EXPECT_EQ(XValues(data), (std::vector<float>{2, 3, 4, 5}));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{102, 103, 104, 105}));
  EXPECT_EQ(TraceValues(data, 2), (std::vector<float>(4, 0.0f)));

  data.CropTo(2, 100); // the end is limited to the last point
  EXPECT_EQ(XValues(data), (std::vector<float>{4, 5}));
  data.CropTo(4.2f, 5.0f);
  EXPECT_EQ(XValues(data), (std::vector<float>{4, 5}));
}

TEST(CSpectrumData, PadAddsZeroPointsOnlyForEqualSides)
{
  CSpectrumData data(L"P", 5, 2);
  FillGrid(data);
  data.RecalcLimits();
  data.Pad(3, 4);
  EXPECT_EQ(data.GetVectorSize(), 5);
  data.Pad(2, 2);
  EXPECT_EQ(data.GetVectorSize(), 9);
  EXPECT_EQ(data.GetIndexRange(), 9);
  EXPECT_EQ(data.GetLastIndex(), 8);
  EXPECT_EQ(XValues(data), (std::vector<float>{0, 0, 0, 1, 2, 3, 4, 0, 0}));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{0, 0, 100, 101, 102, 103, 104, 0, 0}));
  EXPECT_EQ(data.GetIndexOfMaxY(), 6);
  data.Pad(-1, -1);
  EXPECT_EQ(data.GetVectorSize(), 9);
}

TEST(CSpectrumData, RemoveArrayTraceMovesLaterTracesDownAndKeepsTheLastOne)
{
  CSpectrumData data(L"T", 3, 3);
  FillGrid(data);
  data.InitPeakArray(1);
  data.RemoveArrayTrace(-1);
  data.RemoveArrayTrace(3);
  EXPECT_EQ(data.GetArraySize(), 3);

  data.RemoveArrayTrace(1);
  EXPECT_EQ(data.GetArraySize(), 2);
  EXPECT_EQ(data.GetLastArrayIndex(), 1);
  EXPECT_EQ(data.GetArrayIndexRange(), 2);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1, 2}));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{200, 201, 202}));
  EXPECT_EQ(data.GetZ(1), 20.0f);
  EXPECT_EQ(data.GetPeakIntensity(1, 0), 0.0f);

  data.RemoveArrayTrace(1);
  data.RemoveArrayTrace(0); // the only trace stays
  EXPECT_EQ(data.GetArraySize(), 1);
  EXPECT_EQ(data.GetArrayIndexRange(), 1);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1, 2}));
}
