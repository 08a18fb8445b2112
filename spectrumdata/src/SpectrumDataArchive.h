#pragma once
// The data-set archive: format 401 and the older layouts it still reads (the integer formats 300
// to 306 and 308, and the float-versioned family of 1.04 up to 2.2, plus 3.07, which the library
// itself writes for older readers).
//
// Loading reads into a fresh data set and takes it over only when the whole archive has been read:
// a damaged archive throws CArchiveException and leaves the data set as it was. Every count read
// from the archive is checked against the bytes the archive still holds before anything is
// allocated for it, and every point index against the points.
#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>

#include <cstddef>

struct SpectrumDataArchive {
  static void Store401(CArchive& ar, const CSpectrumData& data, int format);
  static void Store307(CArchive& ar, const CSpectrumData& data);
  static void Load(CArchive& ar, CSpectrumData& data);
  // Moves a loaded data set's contents into the target.
  static void Adopt(CSpectrumData& target, CSpectrumData& loaded);

  // The peak records of the first traces, in the tagged form or as raw blocks.
  static void StorePeaks(CArchive& ar, const CSpectrumData& data, int traces, bool raw);
  // Floats and bytes in bulk, in the archive's little-endian layout.
  static void WriteFloats(CArchive& ar, const float* values, size_t count);
  static void ReadFloats(CArchive& ar, float* values, size_t count);
  static void WriteBytes(CArchive& ar, const void* bytes, size_t count);
  static void ReadBytes(CArchive& ar, void* bytes, size_t count);
};
