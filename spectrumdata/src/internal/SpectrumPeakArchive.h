#pragma once
// The archive form of a peak record: int 1, the ten floats, the first 255 label bytes. Older
// archives hold the raw 296-byte record, recognised by a first word other than 1.
#include <ZSpectrumData/SSpectrumPeak.h>

class CArchive;

void StorePeak(CArchive& ar, const SSpectrumPeak& peak);
void LoadPeak(CArchive& ar, SSpectrumPeak& peak);
