// Reads an archive of arbitrary bytes the way the data-set loader does: strings, integers and
// floats until the archive throws. Each string read must survive being stored and loaded again.
#include "CArchive.h"

#include <cstdint>
#include <cstdlib>

namespace {
void CheckRoundTrip(const CString& text)
{
  CMemFile file;
  CArchive out(&file, CArchive::store);
  out << text;
  out.Close();
  file.SeekToBegin();
  CArchive in(&file, CArchive::load);
  CString back;
  in >> back;
  if (back != text || in.GetRemaining() != 0)
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CMemFile file(data, size);
  CArchive ar(&file, CArchive::load);
  try {
    for (;;) {
      // The archive picks what comes next, so that the fuzzer steers the mix of fields.
      BYTE kind = 0;
      ar >> kind;
      switch (kind % 5) {
      case 0: {
        CString text;
        ar >> text;
        CheckRoundTrip(text);
        break;
      }
      case 1: {
        int v;
        ar >> v;
        break;
      }
      case 2: {
        float v;
        ar >> v;
        break;
      }
      case 3: {
        double v;
        WORD w;
        ar >> v >> w;
        break;
      }
      default: {
        BOOL b;
        COLORREF c;
        ar >> b >> c;
        break;
      }
      }
      if (file.GetPosition() > size)
        std::abort();
    }
  } catch (const CArchiveException& e) {
    if (e.m_cause != CArchiveException::endOfFile && e.m_cause != CArchiveException::genericException)
      std::abort();
  }
  return 0;
}
