#include "ZSpectrumData/CSpectrumData.h"

#include "SpectrumDataArchive.h"

void CSpectrumData::Serialize(CArchive& ar)
{
  if (ar.IsStoring())
    SpectrumDataArchive::Store401(ar, *this, GetSerializeVersion());
  else
    SpectrumDataArchive::Load(ar, *this);
}

void CSpectrumData::Serialize(CArchive& ar, int version)
{
  if (ar.IsLoading() || (version != 307 && version != 308))
    Serialize(ar);
  else if (version == 308)
    SpectrumDataArchive::Store401(ar, *this, 308);
  else
    SpectrumDataArchive::Store307(ar, *this);
}

int CSpectrumData::GetSerializeVersion() const
{
  return 401;
}
