// The data-set archive: hand-built archives of every layout, the current format byte for byte, and
// damaged archives that must leave the data set as it was.
#include "CStringPrinting.h"
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>
#include <CFile.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// An archive written field by field, as the layouts lay them out.
struct Bytes {
  std::vector<BYTE> data;
  Bytes& Raw(const void* p, size_t n)
  {
    data.insert(data.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
    return *this;
  }
  Bytes& I(int v) { return Raw(&v, 4); }
  Bytes& F(float v) { return Raw(&v, 4); }
  Bytes& B(BYTE v) { return Raw(&v, 1); }
  Bytes& S(const std::u16string& text)
  {
    B(0xFF).B(0xFE).B(0xFF).B(BYTE(text.size()));
    return Raw(text.data(), text.size() * 2);
  }
  Bytes& Marker(const std::u16string& label, float position)
  {
    return I(1).B(1).I(0x00FF00).F(position).F(0.5f).S(label);
  }
};

// Fields 2 to 7 as far as the format holds them.
void Colorimetry(Bytes& b, int format)
{
  b.I(1).F(0.31f).F(0.32f);
  if (format >= 302)
    b.F(55.0f);
  b.F(570.0f).F(2.5f);
}

// Three points x = 1, 2, 3; trace 0 holds 5, 7, 6 and trace 1 (from format 301) 4, 9, 8, so the
// cached limits the archive holds are the ones a load computes again. Each stored trace has
// peaksPerTrace peak records, the first at x 2 (3 on trace 1). With shortMarkers, the first marker
// list holds that many 4-byte records that are not version 1 (which no writer writes) instead.
Bytes IntegerArchive(int format, int peaksPerTrace = 1, int shortMarkers = 0)
{
  const bool traces = format >= 301;
  Bytes b;
  b.I(format);
  Colorimetry(b, format);
  b.S(u"Time").S(u"s").S(u"Position").S(u"deg");
  if (!traces) {
    b.I(2).F(1).F(2).F(3).F(5).F(7).F(6);
  } else {
    b.S(u"Servo").S(u"#").I(2).F(10).F(20).I(3).F(1).F(2).F(3).F(5).F(7).F(6).F(4).F(9).F(8);
  }
  if (format >= 305)
    b.B(0).B(1).B(0).B(0).B(1); // mask not enabled, present, the last point masked
  b.S(u"Scan").I(0).I(1).I(0).I(2).I(2).I(3).F(0.25f);
  b.I(1).I(peaksPerTrace).F(1).F(3).F(0.5f).F(0).F(0).I(0); // peak parameters
  const int peakTraces = format >= 308 ? 2 : 1;
  for (int t = 0; t < peakTraces; ++t)
    for (int k = 0; k < peaksPerTrace; ++k) {
      b.I(1).F(2.0f + float(t));
      for (int f = 1; f < 10; ++f)
        b.F(float(f));
      std::string label(255, '\0');
      label.replace(0, 3, t ? "two" : "one");
      b.Raw(label.data(), label.size());
    }
  b.I(1).I(1).I(2);                       // region over points 1..2
  b.F(0.1f).S(u"Trace").I(0x123456).I(1); // resolution, type, colour, valid
  b.I(1).F(0).F(1).F(3).F(10).I(4).I(5);  // view limits
  b.F(0).F(1);
  if (format >= 303 && shortMarkers > 0) {
    b.I(shortMarkers);
    b.data.resize(b.data.size() + size_t(shortMarkers) * 4, 0);
  } else if (format >= 303) {
    b.I(1).Marker(u"m", 1.5f);
  }
  b.F(1).F(0).F(0).F(1); // x min, x position, y label offset and scaling
  if (format >= 303)
    b.I(1).Marker(u"second", 2.5f);
  const float yMax = traces ? 9 : 7;
  const float yMin = traces ? 4 : 5;
  b.F(yMax).F(yMin).F(0).F(0).F(yMax - yMin).F(1);
  if (format >= 304)
    b.I(2).I(0).I(1);
  if (format >= 305)
    b.I(1).I(format >= 308 ? 0 : 1); // traces of max and min Y: the search starts on the current
                                     // trace but at the first trace of the window
  if (format >= 308)
    b.I(1);
  if (format >= 401)
    b.S(u"notes");
  return b;
}

// The float family: one trace of three points.
Bytes FloatArchive(float version)
{
  Bytes b;
  b.F(version).I(2).I(3).F(1).F(2).F(3).F(5).F(7).F(6);
  b.I(0).I(2).F(0).F(1);
  b.S(u"Time").S(u"Position").S(u"s").S(u"deg").S(u"Scan").S(u"Trace");
  b.F(0).F(0).F(0.1f).F(0.9f).I(1);
  b.I(1).F(1).F(3).F(0.5f).F(0).F(0).I(0);
  // A raw peak record with a label that fills all 256 bytes.
  b.F(2.0f);
  for (int f = 1; f < 10; ++f)
    b.F(float(f));
  const std::string label(256, 'p');
  b.Raw(label.data(), label.size());
  b.I(1).I(0x123456);
  if (version >= 1.05f)
    b.I(2);
  if (version >= 1.06f)
    b.F(2.5f).F(0.31f).F(0.32f).F(570.0f);
  b.F(0).F(1).F(3).F(10).I(4).I(5);
  return b;
}

// Format 301 with traces traces of no points and the peaks peak records it holds for the first
// trace: the others' (traces - 1) * peaks records are zeros that no bytes back.
Bytes PeakTableWithoutPoints(int traces, int peaks)
{
  Bytes b;
  b.I(301);
  Colorimetry(b, 301);
  b.S(u"").S(u"").S(u"").S(u"").S(u"").S(u"").I(traces);
  for (int t = 0; t < traces; ++t)
    b.F(0);
  b.I(0).S(u"Peaks").I(0).I(0).I(0).I(0).I(0).I(1).F(0);
  b.I(1).I(peaks).F(0).F(0).F(0).F(0).F(0).I(0);
  const std::string label(255, '\0');
  for (int k = 0; k < peaks; ++k) {
    b.I(1).F(2);
    for (int f = 1; f < 10; ++f)
      b.F(float(f));
    b.Raw(label.data(), label.size());
  }
  b.I(0).F(0).S(u"").I(0).I(1);          // no region, resolution, type, colour, valid
  b.I(1).F(0).F(1).F(3).F(10).I(4).I(5); // view limits
  b.F(0).F(1).F(0).F(0).F(0).F(1).F(0).F(0).F(0).F(0).F(0).F(1);
  return b;
}

std::vector<BYTE> Store(CSpectrumData& data, int version = 401)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  data.Serialize(ar, version);
  ar.Flush();
  return file.Data();
}

void Load(CSpectrumData& data, const std::vector<BYTE>& bytes)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  data.Serialize(ar);
}

// Where two archives first differ, or -1 when they are the same (a shorter one differs at its end).
long FirstDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b)
{
  const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return at.first == a.end() && at.second == b.end() ? -1 : long(at.first - a.begin());
}

int LoadFailure(CSpectrumData& data, const std::vector<BYTE>& bytes)
{
  try {
    Load(data, bytes);
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return CArchiveException::none;
}

} // namespace

TEST(CSpectrumDataArchive, EveryIntegerFormatLoads)
{
  for (int format : {300, 301, 302, 303, 304, 305, 306, 308, 401}) {
    SCOPED_TRACE(format);
    CSpectrumData data;
    ASSERT_EQ(LoadFailure(data, IntegerArchive(format).data), 0);
    EXPECT_EQ(data.GetName(), CString(L"Scan"));
    EXPECT_EQ(data.GetTraceColour(), COLORREF(0x123456));
    EXPECT_EQ(data.GetIndexRange(), 3);
    EXPECT_EQ(XValues(data), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{5, 7, 6}));
    EXPECT_EQ(data.GetPeakWavelength(0, 0), 2.0f);
    const int traces = format >= 301 ? 2 : 1;
    EXPECT_EQ(data.GetArraySize(), traces);
    // Formats without a stored trace window get one over every trace.
    EXPECT_EQ(data.GetLastArrayIndex(), traces - 1);
    EXPECT_EQ(data.GetYMax(), traces == 2 ? 9.0f : 7.0f);
    EXPECT_EQ(data.GetVerticalMarkerList().GetCount(), format >= 303 ? 1 : 0);
    EXPECT_EQ(data.IsMasked(2), format >= 305);
    EXPECT_EQ(data.GetPeakWavelength(1, 0), format >= 308 ? 3.0f : 0.0f);
    EXPECT_EQ(data.GetArrayIndex(), format >= 308 ? 1 : 0);
    EXPECT_EQ(data.GetInfoText(), CString(format >= 401 ? L"notes" : L""));
  }
}

TEST(CSpectrumDataArchive, FloatVersionsLoadAsFarAsTheyGo)
{
  for (float version : {1.04f, 1.05f, 1.06f, 2.1f, 3.07f}) {
    SCOPED_TRACE(version);
    CSpectrumData data;
    Load(data, FloatArchive(version).data);
    EXPECT_EQ(data.GetName(), CString(L"Scan"));
    EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{5, 7, 6}));
    EXPECT_EQ(data.GetFrequencySpectrumNoiseProbability(), 0.0f);
    EXPECT_EQ(data.GetPeakWavelength(0, 0), 2.0f);
    // The raw label filled all 256 bytes; it is cut to 255 and terminated.
    EXPECT_EQ(std::strlen(CSpectrumDataLayout::Peak(data, 0, 0).m_label), 255u);
    EXPECT_EQ(data.GetTraceLineStyle(), version >= 1.05f ? 2 : 0);
    EXPECT_EQ(data.GetViewLimits().m_yMax, 10.0f);
  }
  // A point count with no points to go with it leaves an empty set, not a size without arrays.
  Bytes empty;
  empty.F(1.04f).I(40).I(0).I(0).I(0).F(0).F(1);
  for (int i = 0; i < 6; ++i)
    empty.S(u"");
  empty.F(0).F(0).F(0).F(0).I(0);           // positions, resolution, noise, index of max Y
  empty.I(0).F(0).F(0).F(0).F(0).F(0).I(0); // peak parameters, raw
  empty.I(1).I(0);                          // absolute-intensity flag, colour
  empty.F(0).F(0).F(0).F(0).I(0).I(0);      // view limits, raw
  CSpectrumData data;
  Load(data, empty.data);
  EXPECT_EQ(data.GetVectorSize(), 0);
  EXPECT_FALSE(data.IsValid());
}

TEST(CSpectrumDataArchive, FloatLayoutsTakeTheirRangeFromTheWindow)
{
  // A damaged range far beyond the three points.
  Bytes damaged = FloatArchive(1.06f);
  const int range = 0x7FFFFFFF;
  std::memcpy(damaged.data.data() + 8, &range, 4);
  CSpectrumData data;
  Load(data, damaged.data);
  ASSERT_EQ(data.GetIndexRange(), 3);
  CSpectrumData spectrum(L"Spectrum", 64, 1);
  CSpectrumData::FrequencySpectrum(&data, &spectrum, 0, 0);
  EXPECT_EQ(spectrum.GetIndexRange(), 6);

  // The library's own 3.07 stores the point count as the range, whatever the window.
  CSpectrumData narrowed(L"Narrowed", 6, 1);
  FillGrid(narrowed);
  narrowed.SetFirstIndex(1);
  narrowed.SetLastIndex(3);
  CSpectrumData back;
  Load(back, Store(narrowed, 307));
  EXPECT_EQ(back.GetFirstIndex(), 1);
  EXPECT_EQ(back.GetLastIndex(), 3);
  EXPECT_EQ(back.GetIndexRange(), 3);
}

TEST(CSpectrumDataArchive, OlderPeakTablesLoadWithinWhatTheArchiveCanDescribe)
{
  // Format 301 stores the first trace's peaks; the second trace's four are zeros, more than its
  // three points.
  CSpectrumData data;
  ASSERT_EQ(LoadFailure(data, IntegerArchive(301, 4).data), CArchiveException::none);
  EXPECT_EQ(data.GetPeakWavelength(0, 3), 2.0f);
  EXPECT_EQ(data.GetPeakWavelength(1, 3), 0.0f);

  // 20,000 traces without points and 100 stored peaks would make 2,000,000 zero records
  // (about 600 MB) from an archive of about 110 kB.
  EXPECT_EQ(LoadFailure(data, PeakTableWithoutPoints(20000, 100).data), CArchiveException::badIndex);

  // The sets of one stream share the bound: 200 traces of 100 peaks imply 5.9 MB of zeros each, so
  // that a stream of 93 kB holds two such sets and not a third, while one set loads on its own.
  const std::vector<BYTE> one = PeakTableWithoutPoints(200, 100).data;
  std::vector<BYTE> three;
  for (int k = 0; k < 3; ++k)
    three.insert(three.end(), one.begin(), one.end());
  CMemFile file(three.data(), three.size());
  CArchive ar(&file, CArchive::load);
  CSpectrumData first, second, third;
  first.Serialize(ar);
  second.Serialize(ar);
  EXPECT_EQ(second.GetArraySize(), 200);
  try {
    third.Serialize(ar);
    ADD_FAILURE() << "the third set loaded";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
  }
  EXPECT_EQ(LoadFailure(third, one), CArchiveException::none);
}

// A marker record can be 4 bytes while a marker in memory takes about 100: a stream of them is
// held to a small multiple of its size, shared with the peak tables' zeros.
TEST(CSpectrumDataArchive, ShortMarkerRecordsCostNoMoreThanTheStreamCanCover)
{
  CSpectrumData data;
  ASSERT_EQ(LoadFailure(data, IntegerArchive(401, 1, 100000).data), CArchiveException::none);
  EXPECT_EQ(data.GetVerticalMarkerList().GetCount(), 100000);
  EXPECT_EQ(data.GetVerticalMarkerList().GetHead().m_label, CString(L""));

  // 2,500,000 of them in 10 MB would take about 240 MB.
  CSpectrumData untouched;
  untouched.AddVerticalMarker(L"kept", 0, 0, 0, false);
  EXPECT_EQ(LoadFailure(untouched, IntegerArchive(401, 1, 2500000).data), CArchiveException::badIndex);
  EXPECT_EQ(untouched.GetVerticalMarkerList().GetCount(), 1);
}

TEST(CSpectrumDataArchive, Format401RoundTripsByteForByte)
{
  const std::vector<BYTE> fixture = IntegerArchive(401).data;
  CSpectrumData data;
  Load(data, fixture);
  EXPECT_EQ(FirstDifference(Store(data), fixture), -1);

  // A set made through the interface comes back equal in every archived member.
  CSpectrumData made(L"Made", 5, 3);
  FillGrid(made);
  made.Mask(2, true);
  made.InitPeakArray(2);
  made.AddVerticalMarker(L"m", 1, 1, RGB(1, 2, 3), true);
  made.SetInfoText(L"info");
  made.RecalcLimits();
  const std::vector<BYTE> bytes = Store(made);
  CSpectrumData back;
  Load(back, bytes);
  EXPECT_EQ(FirstDifference(Store(back), bytes), -1);

  // A masked point outside the window is stored too: the window may open again.
  made.Mask(2, false);
  made.Mask(4, true);
  made.SetLastIndex(3);
  CSpectrumData narrowed;
  Load(narrowed, Store(made));
  narrowed.SetLastIndex(4);
  EXPECT_TRUE(narrowed.IsMasked(4));

  CSpectrumData withMarker;
  withMarker.AddVerticalMarker(L"already", 0, 0, 0, false);
  Load(withMarker, bytes);
  EXPECT_EQ(withMarker.GetVerticalMarkerList().GetCount(), 2);
  EXPECT_EQ(withMarker.GetVerticalMarkerList().GetHead().m_label, CString(L"already"));
}

TEST(CSpectrumDataArchive, LargeSetsLoadWithTheLimitsOfTheirWindow)
{
  // Large enough to be read by several threads at once; the extremes sit on the edges of the
  // pieces the reader takes, each with a tie further on that must not win.
  const int points = 700000;
  CSpectrumData data(L"Large", points, 4);
  for (int i = 0; i < points; ++i)
    data.SetX(i, float(i));
  std::vector<float> values(points);
  for (int t = 0; t < 4; ++t) {
    for (int i = 0; i < points; ++i)
      values[size_t(i)] = float((i * 7919LL + t * 104729) % 100003) / 1000.0f;
    data.SetYData(values.data(), t);
  }
  data.SetY(2, 131071, 500);
  data.SetY(3, 131072, 500);
  data.SetY(1, 262144, -500);
  data.SetY(3, 5, -500);
  data.SetFirstIndex(3);
  data.SetLastIndex(600000);
  data.RecalcLimits();

  CSpectrumData back;
  Load(back, Store(data));
  EXPECT_EQ(back.GetYMax(), 500.0f);
  EXPECT_EQ(back.GetIndexOfMaxY(), 131071);
  EXPECT_EQ(back.GetYMin(), -500.0f);
  EXPECT_EQ(back.GetIndexOfMinY(), 262144);
  EXPECT_EQ(back.GetIndexOfMinY(), data.GetIndexOfMinY());
  for (int t = 0; t < 4; ++t)
    EXPECT_TRUE(TraceValues(back, t) == TraceValues(data, t)) << t;
  EXPECT_TRUE(XValues(back) == XValues(data));
}

TEST(CSpectrumDataArchive, OlderLayoutsWrittenForOtherReadersLoadBack)
{
  CSpectrumData data;
  Load(data, IntegerArchive(401).data);
  const std::vector<BYTE> as308 = Store(data, 308);
  EXPECT_EQ(FirstDifference(as308, IntegerArchive(308).data), -1);

  // The float layout carries one trace; it used to start with a version no reader accepted.
  CSpectrumData back;
  Load(back, Store(data, 307));
  EXPECT_EQ(TraceValues(back, 0), (std::vector<float>{5, 7, 6}));
  EXPECT_EQ(back.GetArraySize(), 1);
  EXPECT_EQ(back.GetPeakWavelength(0, 0), 2.0f);
  EXPECT_EQ(back.GetYUnits(), CString(L"deg"));
}

TEST(CSpectrumDataArchive, SetsWithoutPointsLoadWithoutArrays)
{
  CSpectrumData empty(L"Empty", 0, 0);
  CSpectrumData back(L"Old", 4, 1);
  Load(back, Store(empty));
  EXPECT_EQ(back.GetVectorSize(), 0);
  EXPECT_EQ(back.GetIndexRange(), 0);
  EXPECT_EQ(back.GetName(), CString(L"Empty"));

  // Points whose window was emptied (RemoveZeros of zeros only): the empty window comes back.
  CSpectrumData zeros(L"Zeros", 3, 2);
  ASSERT_EQ(zeros.RemoveZeros(), 3);
  CSpectrumData emptied;
  Load(emptied, Store(zeros));
  EXPECT_EQ(emptied.GetIndexRange(), 0);
  EXPECT_EQ(emptied.GetLastIndex(), -1);

  // Format 300 with no points: its computed window of one point would reach arrays there are not.
  Bytes b;
  b.I(300);
  Colorimetry(b, 300);
  b.S(u"").S(u"").S(u"").S(u"").I(-1);
  b.S(u"None").I(0).I(0).I(0).I(0).I(0).I(1).F(0).I(1).I(0).F(0).F(0).F(0).F(0).F(0).I(0);
  b.I(0).F(0).S(u"").I(0).I(1).I(1).F(0).F(0).F(0).F(0).I(0).I(0).F(0).F(1);
  b.F(0).F(0).F(0).F(1).F(0).F(0).F(0).F(0).F(0).F(1);
  CSpectrumData none;
  Load(none, b.data);
  EXPECT_EQ(none.GetName(), CString(L"None"));
  EXPECT_EQ(none.GetIndexRange(), 0);
  EXPECT_FALSE(none.IsValid());
  EXPECT_EQ(none.GetY(0), 0.0f);
}

TEST(CSpectrumDataArchive, DamagedArchivesThrowAndLeaveTheDataSetAsItWas)
{
  CSpectrumData data(L"Kept", 4, 2);
  FillGrid(data);
  data.AddVerticalMarker(L"m", 1, 1, 0, true);
  const std::vector<BYTE> before = Store(data);

  EXPECT_EQ(LoadFailure(data, Bytes().I(307).data), CArchiveException::writeOnly);
  const std::vector<BYTE> good = IntegerArchive(401).data;
  EXPECT_EQ(LoadFailure(data, std::vector<BYTE>(good.begin(), good.end() - 3)), CArchiveException::endOfFile);

  // Trace and point counts far beyond the archive's length, or negative: refused before anything
  // is allocated for them.
  Bytes header;
  header.I(401);
  Colorimetry(header, 401);
  header.S(u"Time").S(u"s").S(u"Position").S(u"deg").S(u"Servo").S(u"#");
  for (int count : {0x7FFFFFFF, -3}) {
    EXPECT_NE(LoadFailure(data, Bytes(header).I(count).data), CArchiveException::none) << count;
    EXPECT_NE(LoadFailure(data, Bytes(header).I(1).F(0).I(count).F(1).data), CArchiveException::none)
        << count;
  }

  // After the name come the first index and, seven fields on, the peaks per trace.
  const char16_t name[] = u"Scan";
  const BYTE* nameBytes = reinterpret_cast<const BYTE*>(name);
  const size_t afterName =
      size_t(std::search(good.begin(), good.end(), nameBytes, nameBytes + 8) - good.begin()) + 8;
  auto patched = [&](size_t at, int value, const std::vector<BYTE>& archive = IntegerArchive(401).data) {
    std::vector<BYTE> bytes = archive;
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
  };
  EXPECT_EQ(LoadFailure(data, patched(afterName, 3)), CArchiveException::badIndex);
  EXPECT_EQ(LoadFailure(data, patched(afterName + 12, -2)), CArchiveException::badIndex);
  EXPECT_EQ(LoadFailure(data, patched(afterName + 12, 3)), CArchiveException::badIndex) << "last = n";
  EXPECT_EQ(LoadFailure(data, patched(afterName + 32, 0x1000000)), CArchiveException::endOfFile);
  EXPECT_EQ(FirstDifference(Store(data), before), -1);
}
