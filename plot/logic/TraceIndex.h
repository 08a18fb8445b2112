#pragma once
// Finding points of a data set quickly. CSpectrumData::GetIndex walks from the first point; where
// the x values rise the same answer comes from a binary search.
class CSpectrumData;

// True when no x value of first..last is below the one before it (and none is NaN). xs as for
// NearestIndex.
bool XRises(const CSpectrumData& data, const float* xs = nullptr);

// The unmasked point nearest to x. rising must be what XRises says: with it, the answer of
// CSpectrumData::GetIndex(x), a tie going to the lower one. Without it GetIndex would stop at the
// first x not below the value, wherever the nearest lies: every point is looked at instead, a NaN x
// is never nearest and of equally near points the first counts. xs, when given, holds the x of
// first..last (read instead of the data set's own). With no point to choose, GetIndex answers.
int NearestIndex(const CSpectrumData& data, float x, bool rising, const float* xs = nullptr);

// Where x rises: the first index of first..last whose x is above the value, or with orEqual not
// below it; last + 1 when there is none. xs as for NearestIndex.
int IndexPast(const CSpectrumData& data, float x, bool orEqual, const float* xs = nullptr);

// How many found peaks the peak table holds for the array entry. The search fills the table from
// its first record and leaves the rest zero; a peak at x = 0 still has its intensity, so only a
// record that is zero in both ends the count (as does the end of the table, which reads zero).
int FoundPeakCount(const CSpectrumData& data, int entry);
