#include "AxisSteps.h"
#include "CZSpectrumPlot.h"

#include <CArchive.h>
#include <ZSpectrumData/CSpectrumData.h>

#include <cmath>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

namespace {
constexpr int kSettingsVersion = 4;
constexpr int kTracesVersion = 1;
const wchar_t* const kHoldName = L"Hold";

using FieldMember = std::variant<bool CZSpectrumPlot::*, float CZSpectrumPlot::*, COLORREF CZSpectrumPlot::*,
                                 CString CZSpectrumPlot::*, int CZSpectrumPlot::*>;
using FieldValue = std::variant<bool, float, COLORREF, CString, int>;

// One field of the settings record; it is in every version from its first one on.
struct SSettingsField {
  FieldMember member;
  int firstVersion = 1;
};

void WriteField(CArchive& ar, bool v)
{
  ar << BYTE(v ? 1 : 0);
}
void WriteField(CArchive& ar, float v)
{
  ar << v;
}
void WriteField(CArchive& ar, COLORREF v)
{
  ar << UINT(v);
}
void WriteField(CArchive& ar, const CString& v)
{
  ar << v;
}
// The only int of the record, full range, travels as its low byte.
void WriteField(CArchive& ar, int v)
{
  ar << BYTE(v & 0xFF);
}

template <typename T> FieldValue ReadField(CArchive& ar)
{
  if constexpr (std::is_same_v<T, bool>) {
    // Any byte but 0 is true: a bool must never hold another bit pattern.
    BYTE b = 0;
    ar >> b;
    return b != 0;
  } else if constexpr (std::is_same_v<T, int>) {
    BYTE b = 0;
    ar >> b;
    return int(b);
  } else if constexpr (std::is_same_v<T, COLORREF>) {
    UINT v = 0;
    ar >> v;
    return COLORREF(v);
  } else {
    T v{};
    ar >> v;
    return v;
  }
}

template <typename M> struct MemberTypeOf;
template <typename T> struct MemberTypeOf<T CZSpectrumPlot::*> {
  using type = T;
};
} // namespace

void CZSpectrumPlot::SerializeSettings(CArchive& ar)
{
  using P = CZSpectrumPlot;
  const SSettingsField fields[] = {
      {&P::m_backColour},
      {&P::m_autoScaleAll},
      {&P::m_xTitleInline},
      {&P::m_yTitleBesideLabels},
      {&P::m_allowHold},
      {&P::m_allowMasking, 2},
      {&P::m_allowSettings},
      {&P::m_xTitlePresent},
      {&P::m_yTitlePresent},
      {&P::m_logY},
      {&P::m_keepXTickStep},
      {&P::m_keepYTickStep},
      {&P::m_matchOrigin},
      {&P::m_reservedSwitch1},
      {&P::m_reservedSwitch2},
      {&P::m_useWindowXLabel},
      {&P::m_useWindowYLabel},
      {&P::m_limitsFromAllTraces, 3},
      {&P::m_showXGrid},
      {&P::m_reservedSwitch3},
      {&P::m_showYGrid},
      {&P::m_reservedSwitch4},
      {&P::m_reservedSwitch5},
      {&P::m_reservedSwitch6},
      {&P::m_showXTitle},
      {&P::m_showXTicks},
      {&P::m_xTitleSwitch},
      {&P::m_showXTickLabels},
      {&P::m_showYTitle},
      {&P::m_showYTicks},
      {&P::m_yTitleSwitch},
      {&P::m_showYTickLabels},
      {&P::m_xSpanOn},
      {&P::m_xMaxFixed},
      {&P::m_xMaxFloorOn},
      {&P::m_xMinFixed},
      {&P::m_roundXToStep},
      {&P::m_yMinCeilingOn},
      {&P::m_yMaxFixed},
      {&P::m_yMinFixed},
      {&P::m_roundYToStep},
      {&P::m_xLabel},
      {&P::m_xMax},
      {&P::m_xSpan},
      {&P::m_xMin},
      {&P::m_xMaxFloor},
      {&P::m_yLabel},
      {&P::m_yMax},
      {&P::m_yMinCeiling},
      {&P::m_yMin},
      {&P::m_scaleOverlapped, 4},
      {&P::m_fullRange, 4},
      {&P::m_centreWavelength, 4},
      {&P::m_wavelengthRange, 4},
  };

  if (ar.IsStoring()) {
    ar << kSettingsVersion;
    for (const SSettingsField& field : fields)
      std::visit([&](auto member) { WriteField(ar, this->*member); }, field.member);
    return;
  }

  int version = 0;
  ar >> version;
  if (version >= 1 && version <= kSettingsVersion) {
    // Everything is read before anything is kept, so that a damaged record changes nothing.
    std::vector<FieldValue> values;
    for (const SSettingsField& field : fields)
      if (field.firstVersion <= version)
        values.push_back(std::visit(
            [&](auto member) { return ReadField<typename MemberTypeOf<decltype(member)>::type>(ar); },
            field.member));
    size_t next = 0;
    for (const SSettingsField& field : fields)
      if (field.firstVersion <= version)
        std::visit(
            [&](auto member) {
              this->*member = std::get<typename MemberTypeOf<decltype(member)>::type>(values[next++]);
            },
            field.member);
  }

  // A limit that is no number is not taken: the automatic one stands instead.
  for (auto [value, on] :
       {std::pair{&m_xMin, &m_xMinFixed}, std::pair{&m_xMax, &m_xMaxFixed}, std::pair{&m_yMin, &m_yMinFixed},
        std::pair{&m_yMax, &m_yMaxFixed}, std::pair{&m_yMinCeiling, &m_yMinCeilingOn},
        std::pair{&m_xMaxFloor, &m_xMaxFloorOn}})
    if (!std::isfinite(*value))
      *on = false;
  // Nor are two fixed limits that leave their axis no range, or one wider or narrower than float
  // can scale: the axis is automatic again.
  if (m_xMinFixed && m_xMaxFixed && !IsDrawableRange(m_xMin, m_xMax))
    m_xMinFixed = m_xMaxFixed = false;
  if (m_yMinFixed && m_yMaxFixed && !IsDrawableRange(m_yMin, m_yMax))
    m_yMinFixed = m_yMaxFixed = false;
  // Nor a span that is no width: the newest data would fill no range.
  if (!(std::isfinite(m_xSpan) && m_xSpan > 0)) {
    m_xSpanOn = false;
    m_xSpan = 0;
  }
  if (!m_xMinFixed)
    m_xMin = 0;
  if (!m_xMaxFixed)
    m_xMax = 0;
  if (!m_yMinFixed)
    m_yMin = 0;
  if (!m_yMaxFixed)
    m_yMax = 0;
  if (!m_yMinCeilingOn)
    m_yMinCeiling = 0;
  if (!m_xMaxFloorOn)
    m_xMaxFloor = 0;
}

void CZSpectrumPlot::SerializeTraces(CArchive& ar)
{
  if (ar.IsStoring()) {
    std::vector<CSpectrumData*> owned;
    for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
      CSpectrumData* trace = m_traces.GetNext(pos);
      if (IsOwnedCopy(trace))
        owned.push_back(trace);
    }
    ar << kTracesVersion << int(owned.size());
    for (CSpectrumData* trace : owned)
      trace->Serialize(ar);
    return;
  }

  int version = 0;
  ar >> version;
  if (version != kTracesVersion) {
    RemoveAllTraces(false);
    return;
  }
  int count = 0;
  ar >> count;
  // Every record takes at least one byte: a count the stream cannot hold is damage, found before
  // anything is allocated for it.
  if (count < 0 || ULONGLONG(count) > ar.GetRemaining())
    AfxThrowArchiveException(CArchiveException::badIndex);
  std::vector<std::unique_ptr<CSpectrumData>> loaded;
  for (int i = 0; i < count; ++i) {
    auto data = std::make_unique<CSpectrumData>();
    data->Serialize(ar);
    loaded.push_back(std::move(data));
  }

  RemoveAllTraces(false);
  // Nothing but these adds changes the list until they are done, so its names may be indexed.
  struct SIndexedNames {
    explicit SIndexedNames(CZSpectrumPlot& plot) : plot(plot) { plot.IndexTraceNames(); }
    ~SIndexedNames() { plot.m_nameIndex.reset(); }
    CZSpectrumPlot& plot;
  } indexed(*this);
  for (const std::unique_ptr<CSpectrumData>& data : loaded) {
    AddTrace(data.get(), true, true);
    if (data->GetName() == kHoldName)
      m_holdPresent = true;
  }
}
