#include "ZSpectrumData/CSpectrumData.h"

#include <CArchive.h>

// The data-set layouts (401, the older integer formats and the float family) are not written yet;
// failing loudly keeps a caller from taking an empty archive for a saved data set.
void CSpectrumData::Serialize(CArchive&)
{
  AfxThrowArchiveException(CArchiveException::genericException);
}

int CSpectrumData::GetSerializeVersion() const
{
  return 401;
}
