#pragma once
// Finding points of a data set quickly. CSpectrumData::GetIndex walks from the first point; where
// the x values rise the same answer comes from a binary search.
class CSpectrumData;

// True when no x value of first..last is below the one before it (and none is NaN).
bool XRises(const CSpectrumData& data);

// CSpectrumData::GetIndex(x): the nearest unmasked point, a tie going to the lower one. rising
// must be what XRises says; without it the data set's own walk answers.
int NearestIndex(const CSpectrumData& data, float x, bool rising);

// How many found peaks the peak table holds for the array entry. The search fills the table from
// its first record and leaves the rest zero; a peak at x = 0 still has its intensity, so only a
// record that is zero in both ends the count (as does the end of the table, which reads zero).
int FoundPeakCount(const CSpectrumData& data, int entry);
