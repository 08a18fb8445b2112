// Markers, the region and the small records with their archive forms.
#include "CStringPrinting.h"
#include "SpectrumPeakArchive.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>
#include <CFile.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

template <typename Store> std::vector<BYTE> Stored(Store store)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  store(ar);
  ar.Flush();
  return file.Data();
}

template <typename Load> void LoadFrom(const std::vector<BYTE>& bytes, Load load)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  load(ar);
}

void PutInt(std::vector<BYTE>& bytes, int value)
{
  BYTE raw[4];
  std::memcpy(raw, &value, 4);
  bytes.insert(bytes.end(), raw, raw + 4);
}

} // namespace

TEST(SpectrumRecords, VerticalMarkersAreFoundAndRemovedByExactLabel)
{
  CSpectrumData data;
  data.AddVerticalMarker(L"x", 1.0f, 0.5f, RGB(1, 0, 0), true);
  data.AddVerticalMarker(L"X", 2.0f, 0.5f, RGB(2, 0, 0), false);
  data.AddVerticalMarker(L"x", 3.0f, 0.5f, RGB(3, 0, 0), false);
  data.AddVerticalMarker(nullptr, 4.0f, 0.5f, 0, true);

  SSpectrumMarker first = data.GetVerticalMarker(L"x");
  EXPECT_EQ(first.m_position, 1.0f);
  EXPECT_EQ(first.m_shown, 1);
  EXPECT_EQ(first.m_tag, 0);
  EXPECT_EQ(data.GetVerticalMarker(nullptr).m_position, 4.0f);

  // The plot window edits the list in place.
  CSpectrumMarkerList& list = data.GetVerticalMarkerList();
  list.GetHead().m_position = 1.25f;
  EXPECT_EQ(data.GetVerticalMarker(L"x").m_position, 1.25f);

  SSpectrumMarker removed = data.RemoveVerticalMarker(L"x");
  EXPECT_EQ(removed.m_position, 3.0f);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(data.GetVerticalMarker(L"X").m_colour, RGB(2, 0, 0));

  SSpectrumMarker missing = data.RemoveVerticalMarker(L"missing");
  EXPECT_EQ(missing.m_label, CString());
  EXPECT_EQ(missing.m_shown, 0);
  EXPECT_EQ(missing.m_position, 0.0f);

  SSpectrumMarker copy;
  copy = list.GetTail();
  copy.m_secondFlag = 1;
  copy.m_tag = 9;
  SSpectrumMarker again;
  again = copy;
  EXPECT_EQ(again.m_tag, 9);
  EXPECT_EQ(again.m_secondFlag, 1);

  data.ClearVerticalMarkers();
  EXPECT_TRUE(list.IsEmpty());
}

TEST(SpectrumRecords, RegionAreaIsTheTrapezoidSumOverItsWindow)
{
  CSpectrumData data(L"R", 3, 1);
  for (int i = 0; i < 3; ++i) {
    data.SetX(i, float(i));
    data.SetY(i, 1.0f);
  }
  EXPECT_EQ(data.GetTotalArea(), 2.0f);

  CSpectrumDataRegion region(&data);
  EXPECT_EQ(region.GetFirstIndex(), 0);
  EXPECT_EQ(region.GetLastIndex(), 2);
  EXPECT_EQ(region.SetLastIndex(1), 1);
  EXPECT_EQ(region.GetArea(), 0.0f); // two points
  EXPECT_EQ(region.SetLastIndex(7), 0);
  EXPECT_EQ(region.GetLastIndex(), 2);
  data.SetFirstIndex(1);
  EXPECT_EQ(region.SetFirstIndex(0), 0);
  EXPECT_EQ(region.GetFirstIndex(), 1);
  EXPECT_EQ(region.SetFirstIndex(50), 1); // no upper bound
  EXPECT_EQ(region.GetArea(), 0.0f);

  EXPECT_EQ(CSpectrumDataRegion(nullptr).GetArea(), 0.0f);
  CSpectrumData empty;
  EXPECT_EQ(empty.GetTotalArea(), 0.0f);
}

TEST(SpectrumRecords, MarkerArchiveFormRoundTripsAndSkipsUnknownRecords)
{
  SSpectrumMarker marker;
  marker.m_shown = 1;
  marker.m_position = 1.5f;
  marker.m_width = 0.25f;
  marker.m_colour = RGB(0x11, 0x22, 0x33);
  marker.m_label = L"Ab";
  marker.m_tag = 5;
  const std::vector<BYTE> bytes = Stored([&](CArchive& ar) { marker.Serialize(ar); });
  const std::vector<BYTE> expected = {1, 0, 0,    0,    1,    0x11, 0x22, 0x33, 0,   0, 0,   0xC0, 0x3F,
                                      0, 0, 0x80, 0x3E, 0xFF, 0xFE, 0xFF, 2,    'A', 0, 'b', 0};
  EXPECT_EQ(bytes, expected);

  SSpectrumMarker loaded;
  LoadFrom(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
  EXPECT_EQ(loaded.m_shown, 1);
  EXPECT_EQ(loaded.m_position, 1.5f);
  EXPECT_EQ(loaded.m_width, 0.25f);
  EXPECT_EQ(loaded.m_colour, RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(loaded.m_label, CString(L"Ab"));
  EXPECT_EQ(loaded.m_tag, 0);

  // A record that does not start with 1 is left unread after its first int.
  std::vector<BYTE> other;
  PutInt(other, 2);
  PutInt(other, 77);
  LoadFrom(other, [&](CArchive& ar) {
    loaded.Serialize(ar);
    int next = 0;
    ar >> next;
    EXPECT_EQ(next, 77);
  });
  EXPECT_EQ(loaded.m_position, 1.5f);

  // A short archive throws the archive exception, and it is caught on this side of the library.
  std::vector<BYTE> truncated(bytes.begin(), bytes.begin() + 10);
  try {
    LoadFrom(truncated, [&](CArchive& ar) { loaded.Serialize(ar); });
    ADD_FAILURE() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
  }
}

TEST(SpectrumRecords, ViewLimitsAndPeakParametersArchiveForms)
{
  SSpectrumViewLimits limits;
  limits.m_xMin = 1;
  limits.m_yMax = 4;
  limits.m_user1 = 5;
  limits.m_user2 = -6;
  std::vector<BYTE> bytes = Stored([&](CArchive& ar) { limits.Serialize(ar); });
  ASSERT_EQ(bytes.size(), 28u);
  EXPECT_EQ(bytes[0], 1);
  SSpectrumViewLimits back;
  LoadFrom(bytes, [&](CArchive& ar) { back.Serialize(ar); });
  EXPECT_EQ(back.m_xMin, 1.0f);
  EXPECT_EQ(back.m_yMax, 4.0f);
  EXPECT_EQ(back.m_user2, -6);

  SPeakFindParams params;
  params.m_peaksPerTrace = 3;
  params.m_thresholdFraction = 0.5f;
  params.m_useBaseLevel = 1;
  bytes = Stored([&](CArchive& ar) { params.Serialize(ar); });
  ASSERT_EQ(bytes.size(), 32u);
  SPeakFindParams paramsBack;
  LoadFrom(bytes, [&](CArchive& ar) { paramsBack.Serialize(ar); });
  EXPECT_EQ(paramsBack.m_peaksPerTrace, 3);
  EXPECT_EQ(paramsBack.m_thresholdFraction, 0.5f);
  EXPECT_EQ(paramsBack.m_useBaseLevel, 1);

  std::vector<BYTE> unknown;
  PutInt(unknown, 0);
  LoadFrom(unknown, [&](CArchive& ar) { paramsBack.Serialize(ar); });
  EXPECT_EQ(paramsBack.m_peaksPerTrace, 3);
}

TEST(SpectrumRecords, PeakArchiveFormReadsCurrentAndRawRecords)
{
  SSpectrumPeak peak;
  peak.m_wavelength = 532.0f;
  peak.m_intensity = 7.0f;
  std::strcpy(peak.m_label, "green");
  const std::vector<BYTE> bytes = Stored([&](CArchive& ar) { StorePeak(ar, peak); });
  ASSERT_EQ(bytes.size(), 4u + 40u + 255u);
  SSpectrumPeak back;
  LoadFrom(bytes, [&](CArchive& ar) { LoadPeak(ar, back); });
  EXPECT_EQ(back.m_wavelength, 532.0f);
  EXPECT_EQ(back.m_intensity, 7.0f);
  EXPECT_STREQ(back.m_label, "green");

  // An older raw record: the first word is the first float's bytes, 292 more bytes follow, and a
  // label that fills its 256 bytes is cut to a C string.
  std::vector<BYTE> raw;
  PutInt(raw, 7);
  for (int i = 0; i < 9; ++i) {
    const float f = float(i + 2);
    BYTE b[4];
    std::memcpy(b, &f, 4);
    raw.insert(raw.end(), b, b + 4);
  }
  raw.insert(raw.end(), 256, BYTE('z'));
  PutInt(raw, 99);
  SSpectrumPeak old;
  LoadFrom(raw, [&](CArchive& ar) {
    LoadPeak(ar, old);
    int next = 0;
    ar >> next;
    EXPECT_EQ(next, 99);
  });
  int firstWord = 0;
  std::memcpy(&firstWord, &old.m_wavelength, 4);
  EXPECT_EQ(firstWord, 7);
  EXPECT_EQ(old.m_leftHalfWidth, 2.0f);
  EXPECT_EQ(old.m_intensity, 5.0f);
  EXPECT_EQ(old.m_value10, 10.0f);
  EXPECT_EQ(std::strlen(old.m_label), 255u);

  SSpectrumPeak target;
  std::memset(target.m_label, 'q', sizeof target.m_label);
  target = back;
  EXPECT_STREQ(target.m_label, "green");
  EXPECT_EQ(target.m_label[6], 'q'); // bytes after the terminator stay
  EXPECT_EQ(target.m_wavelength, 532.0f);
}
