#pragma once
// Finding points of a data set quickly. CSpectrumData::GetIndex walks from the first point; where
// the x values rise the same answer comes from a binary search.
class CSpectrumData;

// True when no x value of first..last is below the one before it (and none is NaN).
bool XRises(const CSpectrumData& data);

// CSpectrumData::GetIndex(x): the nearest unmasked point, a tie going to the lower one. rising
// must be what XRises says; without it the data set's own walk answers.
int NearestIndex(const CSpectrumData& data, float x, bool rising);
