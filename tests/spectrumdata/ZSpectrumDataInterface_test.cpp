// The binary interface of libZSpectrumData.so: the program allocates the exported objects itself
// and binds to the exported names, so both the object layouts and the export list are pinned.
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

template <typename T, typename M> ptrdiff_t OffsetIn(const T& object, const M& member)
{
  return reinterpret_cast<const char*>(&member) - reinterpret_cast<const char*>(&object);
}

std::string RunCommand(const std::string& command)
{
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
      out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

std::set<std::string> Lines(std::istream& in, bool skipComments)
{
  std::set<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || (skipComments && line[0] == '#'))
      continue;
    lines.insert(line);
  }
  return lines;
}

} // namespace

// The member order of the data model, after a pointer-sized slot for the virtual table.
void CSpectrumDataLayout::Check(const CSpectrumData& d)
{
#define EXPECT_AT(member, offset) EXPECT_EQ(OffsetIn(d, d.member), offset) << #member
  EXPECT_AT(m_verticalMarkers, 8);
  EXPECT_AT(m_secondMarkers, 40);
  EXPECT_AT(m_lineWidth, 72);
  EXPECT_AT(m_cieDominantWavelength, 76);
  EXPECT_AT(m_cieY, 80);
  EXPECT_AT(m_cieX, 84);
  EXPECT_AT(m_cieLuminance, 88);
  EXPECT_AT(m_cieIntensity, 92);
  EXPECT_AT(m_lineStyle, 96);
  EXPECT_AT(m_valid, 100);
  EXPECT_AT(m_colour, 104);
  EXPECT_AT(m_vectorSize, 108);
  EXPECT_AT(m_arraySize, 112);
  EXPECT_AT(m_xPos, 116);
  EXPECT_AT(m_yPos, 120);
  EXPECT_AT(m_x, 128);
  EXPECT_AT(m_y, 136);
  EXPECT_AT(m_z, 144);
  EXPECT_AT(m_indexRange, 152);
  EXPECT_AT(m_firstIndex, 156);
  EXPECT_AT(m_lastIndex, 160);
  EXPECT_AT(m_firstArrayIndex, 164);
  EXPECT_AT(m_lastArrayIndex, 168);
  EXPECT_AT(m_arrayIndexRange, 172);
  EXPECT_AT(m_xMin, 176);
  EXPECT_AT(m_yOffset, 180);
  EXPECT_AT(m_yScale, 184);
  EXPECT_AT(m_yRange, 188);
  EXPECT_AT(m_yMin, 192);
  EXPECT_AT(m_yMax, 196);
  EXPECT_AT(m_xLabel, 200);
  EXPECT_AT(m_yLabel, 232);
  EXPECT_AT(m_xUnits, 264);
  EXPECT_AT(m_yUnits, 296);
  EXPECT_AT(m_zLabel, 328);
  EXPECT_AT(m_zUnits, 360);
  EXPECT_AT(m_name, 392);
  EXPECT_AT(m_spectrumType, 424);
  EXPECT_AT(m_resolution, 456);
  EXPECT_AT(m_noiseProbability, 460);
  EXPECT_AT(m_indexOfMaxY, 464);
  EXPECT_AT(m_traceOfMaxY, 468);
  EXPECT_AT(m_indexOfMinY, 472);
  EXPECT_AT(m_traceOfMinY, 476);
  EXPECT_AT(m_viewLimits, 480);
  EXPECT_AT(m_absoluteIntensity, 504);
  EXPECT_AT(m_xLabelOffset, 508);
  EXPECT_AT(m_xLabelScaling, 512);
  EXPECT_AT(m_yLabelOffset, 516);
  EXPECT_AT(m_yLabelScaling, 520);
  EXPECT_AT(m_peaks, 528);
  EXPECT_AT(m_peakFindParams, 536);
  EXPECT_AT(m_region, 568);
  EXPECT_AT(m_mask, 576);
  EXPECT_AT(m_maskEnabled, 584);
  EXPECT_AT(m_arrayIndex, 588);
  EXPECT_AT(m_stringList, 592);
  EXPECT_AT(m_infoText, 624);
#undef EXPECT_AT
}

TEST(ZSpectrumDataInterface, CSpectrumDataLayoutIsPinned)
{
  CSpectrumData data;
  CSpectrumDataLayout::Check(data);
  EXPECT_EQ(sizeof(CSpectrumData), 656u);
  EXPECT_EQ(alignof(CSpectrumData), 8u);
  EXPECT_EQ(sizeof(CSpectrumMarkerList), 32u);
  EXPECT_EQ(sizeof(CString), 32u);
}

TEST(ZSpectrumDataInterface, RecordLayoutsArePinned)
{
  SSpectrumMarker marker;
  EXPECT_EQ(sizeof(SSpectrumMarker), 56u);
  EXPECT_EQ(OffsetIn(marker, marker.m_shown), 0);
  EXPECT_EQ(OffsetIn(marker, marker.m_position), 4);
  EXPECT_EQ(OffsetIn(marker, marker.m_width), 8);
  EXPECT_EQ(OffsetIn(marker, marker.m_colour), 12);
  EXPECT_EQ(OffsetIn(marker, marker.m_label), 16);
  EXPECT_EQ(OffsetIn(marker, marker.m_secondFlag), 48);
  EXPECT_EQ(OffsetIn(marker, marker.m_tag), 52);

  SSpectrumViewLimits limits;
  EXPECT_EQ(sizeof(SSpectrumViewLimits), 24u);
  EXPECT_EQ(OffsetIn(limits, limits.m_yMax), 12);
  EXPECT_EQ(OffsetIn(limits, limits.m_user2), 20);

  SPeakFindParams params;
  EXPECT_EQ(sizeof(SPeakFindParams), 28u);
  EXPECT_EQ(OffsetIn(params, params.m_xFrom), 4);
  EXPECT_EQ(OffsetIn(params, params.m_useBaseLevel), 24);

  SSpectrumPeak peak;
  EXPECT_EQ(sizeof(SSpectrumPeak), 296u);
  EXPECT_EQ(OffsetIn(peak, peak.m_intensity), 16);
  EXPECT_EQ(OffsetIn(peak, peak.m_label), 40);

  CSpectrumDataRegion region(nullptr);
  EXPECT_EQ(sizeof(CSpectrumDataRegion), 24u);
}

TEST(ZSpectrumDataInterface, LibraryExportsExactlyTheListedSymbols)
{
  std::ifstream file(ZSPECTRUMDATA_EXPORTS);
  ASSERT_TRUE(file) << ZSPECTRUMDATA_EXPORTS;
  const std::set<std::string> listed = Lines(file, true);

  std::istringstream nm(RunCommand(std::string("nm -D --defined-only -C '") + ZSPECTRUMDATA_LIBRARY + "'"));
  std::set<std::string> exported;
  std::string line;
  while (std::getline(nm, line)) {
    // "address type name"; the name may hold spaces.
    const size_t type = line.find(' ');
    const size_t name = type == std::string::npos ? type : line.find(' ', type + 1);
    if (name != std::string::npos)
      exported.insert(line.substr(name + 1));
  }
  ASSERT_FALSE(exported.empty()) << "nm printed nothing for " << ZSPECTRUMDATA_LIBRARY;

  for (const std::string& symbol : exported)
    EXPECT_TRUE(listed.count(symbol)) << "exported but not listed: " << symbol;
  for (const std::string& symbol : listed)
    EXPECT_TRUE(exported.count(symbol)) << "listed but not exported: " << symbol;
}

// The members the program binds to by name; each must stay exported.
const char* const kProgramImports[] = {
    "CSpectrumData::CSpectrumData()",
    "CSpectrumData::CSpectrumData(wchar_t const*, int, int)",
    "CSpectrumData::CSpectrumData(CSpectrumData*)",
    "CSpectrumData::CSpectrumData(CSpectrumData const&)",
    "CSpectrumData::~CSpectrumData()",
    "CSpectrumData::operator=(CSpectrumData const&)",
    "CSpectrumData::Serialize(CArchive&)",
    "CSpectrumData::AddPoint(float, float, int)",
    "CSpectrumData::Resize(int, int)",
    "CSpectrumData::RemoveAllData()",
    "CSpectrumData::RecalcLimits()",
    "CSpectrumData::GetX(int) const",
    "CSpectrumData::SetX(int, float)",
    "CSpectrumData::GetY(int) const",
    "CSpectrumData::GetY(float, bool) const",
    "CSpectrumData::SetY(int, float)",
    "CSpectrumData::GetLogY(int) const",
    "CSpectrumData::GetZ(int) const",
    "CSpectrumData::GetIndex(float) const",
    "CSpectrumData::GetFirstIndex() const",
    "CSpectrumData::GetLastIndex() const",
    "CSpectrumData::GetIndexRange() const",
    "CSpectrumData::SetFirstIndex(float)",
    "CSpectrumData::SetLastIndex(float)",
    "CSpectrumData::GetFirstArrayIndex() const",
    "CSpectrumData::GetLastArrayIndex() const",
    "CSpectrumData::GetArrayIndex() const",
    "CSpectrumData::SetArrayIndex(int)",
    "CSpectrumData::GetVectorSize() const",
    "CSpectrumData::GetArraySize() const",
    "CSpectrumData::IsValid() const",
    "CSpectrumData::GetXMin(bool)",
    "CSpectrumData::GetXMax(bool)",
    "CSpectrumData::GetXRange(bool) const",
    "CSpectrumData::GetYMin(bool)",
    "CSpectrumData::GetYMax(bool)",
    "CSpectrumData::GetYRange(bool)",
    "CSpectrumData::GetLogYMin(bool)",
    "CSpectrumData::GetLogYRange(bool)",
    "CSpectrumData::GetName() const",
    "CSpectrumData::SetName(wchar_t const*)",
    "CSpectrumData::GetSpectrumType() const",
    "CSpectrumData::GetInfoText() const",
    "CSpectrumData::GetXLabel() const",
    "CSpectrumData::SetXLabel(wchar_t const*)",
    "CSpectrumData::GetYLabel() const",
    "CSpectrumData::SetYLabel(wchar_t const*)",
    "CSpectrumData::GetZLabel() const",
    "CSpectrumData::GetXUnits() const",
    "CSpectrumData::SetXUnits(wchar_t const*)",
    "CSpectrumData::GetYUnits() const",
    "CSpectrumData::SetYUnits(wchar_t const*)",
    "CSpectrumData::GetZUnits() const",
    "CSpectrumData::GetTraceColour() const",
    "CSpectrumData::SetTraceColour(unsigned int)",
    "CSpectrumData::GetTraceLineWidth() const",
    "CSpectrumData::SetTraceLineWidth(int)",
    "CSpectrumData::GetTraceLineStyle() const",
    "CSpectrumData::GetXPos() const",
    "CSpectrumData::GetYPos() const",
    "CSpectrumData::GetYOffset() const",
    "CSpectrumData::SetYOffset(float)",
    "CSpectrumData::GetYScale() const",
    "CSpectrumData::SetYScale(float)",
    "CSpectrumData::GetXLabelValue(int) const",
    "CSpectrumData::GetYLabelValue(int) const",
    "CSpectrumData::GetXLabelValueScaling() const",
    "CSpectrumData::GetYLabelValueScaling() const",
    "CSpectrumData::Mask(int, bool)",
    "CSpectrumData::IsMasked(int) const",
    "CSpectrumData::EnableMask(bool)",
    "CSpectrumData::MaskEnabled() const",
    "CSpectrumData::GetVerticalMarkerList()",
    "CSpectrumData::GetDataAsText() const",
    "CSpectrumData::ExportToCSVFile(wchar_t const*) const",
    "CSpectrumData::Smooth(int)",
    "SSpectrumMarker::SSpectrumMarker()",
    "SSpectrumMarker::operator=(SSpectrumMarker const&)",
};

TEST(ZSpectrumDataInterface, TheListHoldsEveryMemberAndEveryImportOfTheProgram)
{
  std::ifstream file(ZSPECTRUMDATA_EXPORTS);
  ASSERT_TRUE(file) << ZSPECTRUMDATA_EXPORTS;
  std::set<std::string> members = Lines(file, true);
  std::erase_if(members, [](const std::string& line) {
    return line.starts_with("typeinfo") || line.starts_with("vtable");
  });
  EXPECT_EQ(members.size(), 219u);
  EXPECT_EQ(std::size(kProgramImports), 78u);
  for (const char* import : kProgramImports)
    EXPECT_TRUE(members.count(import)) << "the program imports " << import;
}

TEST(ZSpectrumDataInterface, LibraryHasAVersionedSonameAndNeedsNoProjectLibrary)
{
  const std::string dynamic = RunCommand(std::string("readelf -d '") + ZSPECTRUMDATA_LIBRARY + "'");
  EXPECT_NE(dynamic.find("Library soname: [libZSpectrumData.so.1]"), std::string::npos) << dynamic;
  std::istringstream lines(dynamic);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.find("(NEEDED)") == std::string::npos)
      continue;
    for (const char* foreign : {"wx_", "serialport", "curl", "platform", "servolink", "toolkit"})
      EXPECT_EQ(line.find(foreign), std::string::npos) << line;
  }
}
