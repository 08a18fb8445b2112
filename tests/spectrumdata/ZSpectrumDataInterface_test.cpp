// The binary interface of libZSpectrumData.so: the program allocates the exported objects itself
// and binds to the exported names, so both the object layouts and the export list are pinned.
#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
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

struct CSpectrumDataLayout {
  static std::vector<std::pair<const char*, ptrdiff_t>> Offsets(const CSpectrumData& d)
  {
    return {
        {"vertical markers", OffsetIn(d, d.m_verticalMarkers)},
        {"second markers", OffsetIn(d, d.m_secondMarkers)},
        {"line width", OffsetIn(d, d.m_lineWidth)},
        {"CIE dominant wavelength", OffsetIn(d, d.m_cieDominantWavelength)},
        {"CIE y", OffsetIn(d, d.m_cieY)},
        {"CIE x", OffsetIn(d, d.m_cieX)},
        {"CIE luminance", OffsetIn(d, d.m_cieLuminance)},
        {"CIE intensity", OffsetIn(d, d.m_cieIntensity)},
        {"line style", OffsetIn(d, d.m_lineStyle)},
        {"valid", OffsetIn(d, d.m_valid)},
        {"colour", OffsetIn(d, d.m_colour)},
        {"vector size", OffsetIn(d, d.m_vectorSize)},
        {"array size", OffsetIn(d, d.m_arraySize)},
        {"x position", OffsetIn(d, d.m_xPos)},
        {"y position", OffsetIn(d, d.m_yPos)},
        {"x values", OffsetIn(d, d.m_x)},
        {"y values", OffsetIn(d, d.m_y)},
        {"z values", OffsetIn(d, d.m_z)},
        {"index range", OffsetIn(d, d.m_indexRange)},
        {"first index", OffsetIn(d, d.m_firstIndex)},
        {"last index", OffsetIn(d, d.m_lastIndex)},
        {"first array index", OffsetIn(d, d.m_firstArrayIndex)},
        {"last array index", OffsetIn(d, d.m_lastArrayIndex)},
        {"array index range", OffsetIn(d, d.m_arrayIndexRange)},
        {"x min", OffsetIn(d, d.m_xMin)},
        {"y offset", OffsetIn(d, d.m_yOffset)},
        {"y scale", OffsetIn(d, d.m_yScale)},
        {"y range", OffsetIn(d, d.m_yRange)},
        {"y min", OffsetIn(d, d.m_yMin)},
        {"y max", OffsetIn(d, d.m_yMax)},
        {"X label", OffsetIn(d, d.m_xLabel)},
        {"Y label", OffsetIn(d, d.m_yLabel)},
        {"X units", OffsetIn(d, d.m_xUnits)},
        {"Y units", OffsetIn(d, d.m_yUnits)},
        {"Z label", OffsetIn(d, d.m_zLabel)},
        {"Z units", OffsetIn(d, d.m_zUnits)},
        {"name", OffsetIn(d, d.m_name)},
        {"spectrum type", OffsetIn(d, d.m_spectrumType)},
        {"resolution", OffsetIn(d, d.m_resolution)},
        {"noise probability", OffsetIn(d, d.m_noiseProbability)},
        {"index of max Y", OffsetIn(d, d.m_indexOfMaxY)},
        {"trace of max Y", OffsetIn(d, d.m_traceOfMaxY)},
        {"index of min Y", OffsetIn(d, d.m_indexOfMinY)},
        {"trace of min Y", OffsetIn(d, d.m_traceOfMinY)},
        {"view limits", OffsetIn(d, d.m_viewLimits)},
        {"absolute intensity", OffsetIn(d, d.m_absoluteIntensity)},
        {"X label offset", OffsetIn(d, d.m_xLabelOffset)},
        {"X label scaling", OffsetIn(d, d.m_xLabelScaling)},
        {"Y label offset", OffsetIn(d, d.m_yLabelOffset)},
        {"Y label scaling", OffsetIn(d, d.m_yLabelScaling)},
        {"peaks", OffsetIn(d, d.m_peaks)},
        {"peak-finding parameters", OffsetIn(d, d.m_peakFindParams)},
        {"region", OffsetIn(d, d.m_region)},
        {"mask", OffsetIn(d, d.m_mask)},
        {"mask enabled", OffsetIn(d, d.m_maskEnabled)},
        {"current array index", OffsetIn(d, d.m_arrayIndex)},
        {"string list", OffsetIn(d, d.m_stringList)},
        {"info text", OffsetIn(d, d.m_infoText)},
    };
  }
};

TEST(ZSpectrumDataInterface, CSpectrumDataLayoutIsPinned)
{
  // The member order of the data model; a pointer-sized slot for the virtual table comes first.
  const std::vector<std::pair<const char*, ptrdiff_t>> expected = {
      {"vertical markers", 8},
      {"second markers", 40},
      {"line width", 72},
      {"CIE dominant wavelength", 76},
      {"CIE y", 80},
      {"CIE x", 84},
      {"CIE luminance", 88},
      {"CIE intensity", 92},
      {"line style", 96},
      {"valid", 100},
      {"colour", 104},
      {"vector size", 108},
      {"array size", 112},
      {"x position", 116},
      {"y position", 120},
      {"x values", 128},
      {"y values", 136},
      {"z values", 144},
      {"index range", 152},
      {"first index", 156},
      {"last index", 160},
      {"first array index", 164},
      {"last array index", 168},
      {"array index range", 172},
      {"x min", 176},
      {"y offset", 180},
      {"y scale", 184},
      {"y range", 188},
      {"y min", 192},
      {"y max", 196},
      {"X label", 200},
      {"Y label", 232},
      {"X units", 264},
      {"Y units", 296},
      {"Z label", 328},
      {"Z units", 360},
      {"name", 392},
      {"spectrum type", 424},
      {"resolution", 456},
      {"noise probability", 460},
      {"index of max Y", 464},
      {"trace of max Y", 468},
      {"index of min Y", 472},
      {"trace of min Y", 476},
      {"view limits", 480},
      {"absolute intensity", 504},
      {"X label offset", 508},
      {"X label scaling", 512},
      {"Y label offset", 516},
      {"Y label scaling", 520},
      {"peaks", 528},
      {"peak-finding parameters", 536},
      {"region", 568},
      {"mask", 576},
      {"mask enabled", 584},
      {"current array index", 588},
      {"string list", 592},
      {"info text", 624},
  };
  CSpectrumData data;
  EXPECT_EQ(CSpectrumDataLayout::Offsets(data), expected);
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
